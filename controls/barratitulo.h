#pragma once

// A title bar of the window's own, for desktops that draw none and leave it to the toolkit,
// whose bar shows minimise, maximise and close whatever the window asks for. This one shows
// the window's title and exactly the buttons its flags ask for (minimise, close), and drags
// the window; none of the windows maximise, so a double click does nothing.

#include <QRect>
#include <QWidget>

class QAbstractButton;

// Where the bar's parts go in a bar `largura` pixels wide: the buttons at the right end, the
// title (after the icon's room) in what is left. A button not asked for has an empty box.
struct GeometriaBarraTitulo
{
    QRect icone;
    QRect titulo;
    QRect minimizar;
    QRect fechar;
};
GeometriaBarraTitulo GeometriaDaBarraTitulo(int largura, bool minimizar, bool fechar);

class TBarraTitulo : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Altura = 22;

    // Makes `janela` frameless and puts the bar at its top. The window grows by the bar's
    // height and what it holds moves down by as much, so its client area keeps its size and
    // its controls their places within it. Made once the window is built: children made later
    // are not moved.
    explicit TBarraTitulo(QWidget *janela);

    // The buttons, null where the flags ask for none.
    QAbstractButton *BotaoMinimizar() const { return m_minimizar; }
    QAbstractButton *BotaoFechar() const { return m_fechar; }

protected:
    void paintEvent(QPaintEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void AbreEspaco(QWidget *janela);
    void Posiciona();

    QWidget *m_janela;
    QAbstractButton *m_minimizar = nullptr;
    QAbstractButton *m_fechar = nullptr;
};
