#pragma once

#include "controls/alinhamento.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QPainter;

// Where the shadow copy lies, relative to the text.
enum TShadowPosition : quint8 { spLeftTop = 0, spLeftBottom = 1, spRightBottom = 2, spRightTop = 3 };

// The shadow rectangle: r moved s pixels toward the position's corner (y grows downward).
QRect DeslocaSombra(const QRect &r, TShadowPosition posicao, int s);

// Draws the shadow copy of texto in corSombra and then the text in corTexto over it, each
// through DrawText with the given flags; with DT::CalcRect both are only measured in fonte.
// r becomes the smallest rectangle holding both. Returns the shadow's height plus s (0 when
// nothing was laid out).
int DrawShadowText(QPainter *painter, const QFont &fonte, const QString &texto, QRect &r, unsigned formato, int s,
    const QColor &corSombra, const QColor &corTexto, TShadowPosition posicao);

// The character after the first '&' that is not part of a doubled "&&"; null when none.
QChar TeclaAceleradora(const QString &texto);

// A label drawn twice: a copy in a shadow colour a few pixels off in a diagonal direction,
// then the text itself. Disabled, it looks engraved. Optional transparency, vertical layout,
// an accelerator that focuses FocusControl, and mouse enter and leave events.
class TCustomShadowLabel : public QWidget
{
    Q_OBJECT
public:
    explicit TCustomShadowLabel(QWidget *parent = nullptr);
    ~TCustomShadowLabel() override;

    QWidget *FocusControl() const { return m_focusControl; }
    void setFocusControl(QWidget *valor);
    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment valor);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool valor);
    TTextLayout Layout() const { return m_layout; }
    void setLayout(TTextLayout valor);
    QColor ShadowColor() const { return m_shadowColor; }
    void setShadowColor(const QColor &valor);
    quint8 ShadowSize() const { return m_shadowSize; }
    void setShadowSize(quint8 valor);
    TShadowPosition ShadowPos() const { return m_shadowPos; }
    void setShadowPos(TShadowPosition valor);
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool valor);
    bool ShowAccelChar() const { return m_showAccelChar; }
    void setShowAccelChar(bool valor);
    bool ShowFocus() const { return m_showFocus; }
    void setShowFocus(bool valor);
    bool Transparent() const { return !m_opaco; }
    void setTransparent(bool valor);

    QString Caption() const { return m_caption; }
    void setCaption(const QString &valor);
    // The fill colour; until set, the parent's background colour.
    QColor Color() const;
    void setColor(const QColor &valor);

    std::function<void(QObject *sender)> OnMouseEnter;
    std::function<void(QObject *sender)> OnMouseLeave;
    std::function<void(QObject *sender)> OnClick;
    std::function<void(QObject *sender)> OnDblClick;
    std::function<void(QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseDown;
    std::function<void(QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseUp;
    std::function<void(QObject *sender, Qt::KeyboardModifiers, int x, int y)> OnMouseMove;

    // Runs the auto-size rule (nothing when AutoSize is off).
    void AdjustBounds();

protected:
    // What is drawn, and its colour: descendants may change them.
    virtual QString GetLabelText() const { return m_caption; }
    virtual QColor GetDefaultFontColor() const { return palette().color(QPalette::Active, QPalette::WindowText); }
    virtual void MouseEnter();
    virtual void MouseLeave();

    // The text routine: painter null measures only.
    int DoDrawText(QPainter *painter, QRect &r, unsigned formato) const;
    unsigned FlagsTexto() const;

    void paintEvent(QPaintEvent *evento) override;
    void enterEvent(QEnterEvent *evento) override;
    void leaveEvent(QEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;
    void mouseMoveEvent(QMouseEvent *evento) override;
    void mouseDoubleClickEvent(QMouseEvent *evento) override;
    void showEvent(QShowEvent *evento) override;
    void changeEvent(QEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void Reconfere();
    void FocoMudou(QWidget *novo);

    QPointer<QWidget> m_focusControl;
    QMetaObject::Connection m_avisoDestruicao;
    TAlignment m_alignment = taLeftJustify;
    bool m_autoSize = true;
    TTextLayout m_layout = tlTop;
    QColor m_shadowColor;
    quint8 m_shadowSize = 1;
    TShadowPosition m_shadowPos = spLeftTop;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    bool m_showFocus = false;
    bool m_focused = false;
    bool m_mouseInControl = false;
    bool m_dragging = false;
    bool m_opaco = true;
    bool m_pressionado = false; // a left press began here (for OnClick)

    QString m_caption;
    QColor m_color;
};

// The shadow label as windows place it.
class TShadowLabel : public TCustomShadowLabel
{
    Q_OBJECT
public:
    explicit TShadowLabel(QWidget *parent = nullptr)
        : TCustomShadowLabel(parent)
    {
    }
};
