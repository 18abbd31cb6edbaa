#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QPainter;
class QTimer;

// Ordinal values are the ones forms store.
enum TBorderStyle : quint8 { bsFlat = 0, bsNormal = 1, bsSingle = 2 };
enum TButtonLayout : quint8 { blGlyphBottom = 0, blGlyphLeft = 1, blGlyphRight = 2, blGlyphTop = 3 };
enum TGradDirection : quint8 { gdDownRight = 0, gdUpLeft = 1 };
enum TGradientStyle : quint8 { gsNone = 0, gsHorizontal = 1, gsPyramid = 2, gsVertical = 3 };

using TPaletaGradiente = std::array<QColor, 256>;

// The 256 gradient colours of a base colour: gdDownRight runs white, base colour (127), black;
// gdUpLeft runs black to white.
TPaletaGradiente MontaPaleta(const QColor &cor, TGradDirection direcao);

// The 256 bands of a vertical or horizontal gradient on a button of the given size, in the
// order they are filled (band i takes palette entry i, or 255 - i when reversed). Empty for
// the other styles.
QList<QRect> FaixasGradiente(TGradientStyle estilo, QSize tamanho);

// Where the glyph and the caption go inside the inner rectangle.
struct EntradaConteudo
{
    QRect interno; // inside the border and bevel
    QSize glifo; // the whole strip
    int numGlyphs = 0;
    QSize texto; // caption as measured, (0, 0) when there is none
    bool temTexto = false;
    TButtonLayout layout = blGlyphLeft;
    int margin = 1;
    int spacing = 1;
    int topMargin = 0;
    bool down = false;
    bool changeDirection = false;
    bool enabled = true;
};
struct PosicaoConteudo
{
    QRect glifo; // target on the button
    QRect origemGlifo; // image of the strip shown
    QRect texto; // caption box, the caption centred in it
};
PosicaoConteudo PosicionaConteudo(const EntradaConteudo &e);

// True when the caption's first '&' is followed by a character equal to the key (letters
// compared without case).
bool IsAccelChar(QChar tecla, const QString &caption);

// The number of images a strip holds when it is assigned while a window is being designed:
// width div height when the width is a multiple of the height, else 1 (at most 4).
int NumGlyphsDaFaixa(QSize tamanho);

// A push button painted with a bevel in colours derived from its base colour, an optional
// border and gradient, and an optional glyph. It never takes the focus and has no hover look.
// It can act as a toggle in a group of buttons of the same parent and repeat its click while
// held.
class TGradientButton : public QWidget
{
    Q_OBJECT
public:
    explicit TGradientButton(QWidget *parent = nullptr);
    ~TGradientButton() override;

    bool AllowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool valor) { m_allowAllUp = valor; }
    bool AllowTimer() const { return m_allowTimer; }
    void setAllowTimer(bool valor) { m_allowTimer = valor; }
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int valor);
    QColor BorderColor() const { return m_borderColor; }
    void setBorderColor(const QColor &valor);
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(TBorderStyle valor);
    QString Caption() const { return m_caption; }
    void setCaption(const QString &valor);
    bool ChangeDirection() const { return m_changeDirection; }
    void setChangeDirection(bool valor) { m_changeDirection = valor; }
    QColor Color() const { return m_color; }
    void setColor(const QColor &valor);
    int ContrastHighlight() const { return m_contrastHighlight; }
    void setContrastHighlight(int valor);
    int ContrastShadow() const { return m_contrastShadow; }
    void setContrastShadow(int valor);
    bool Down() const { return m_down; }
    void setDown(bool valor);
    QImage Glyph() const { return m_glyph; }
    void setGlyph(const QImage &valor); // keeps NumGlyphs; see NumGlyphsDaFaixa
    TGradDirection GradientDirection() const { return m_gradientDirection; }
    void setGradientDirection(TGradDirection valor);
    TGradientStyle GradientStyle() const { return m_gradientStyle; }
    void setGradientStyle(TGradientStyle valor);
    bool Grouped() const { return m_grouped; }
    void setGrouped(bool valor) { m_grouped = valor; }
    int GroupIndex() const { return m_groupIndex; }
    void setGroupIndex(int valor) { m_groupIndex = valor; }
    TButtonLayout Layout() const { return m_layout; }
    void setLayout(TButtonLayout valor);
    int Margin() const { return m_margin; }
    void setMargin(int valor);
    int NumGlyphs() const { return m_numGlyphs; }
    void setNumGlyphs(int valor); // 0 to 4; others ignored
    int Spacing() const { return m_spacing; }
    void setSpacing(int valor);
    quint16 TimerDelay() const { return m_timerDelay; }
    void setTimerDelay(quint16 valor) { m_timerDelay = valor; }
    quint16 TimerInterval() const { return m_timerInterval; }
    void setTimerInterval(quint16 valor) { m_timerInterval = valor; }
    int TopMargin() const { return m_topMargin; }
    void setTopMargin(int valor);

    // Bevel colours, derived from Color and the two contrasts.
    QColor HighlightColor() const { return m_highlightColor; }
    QColor ShadowColor() const { return m_shadowColor; }
    const TPaletaGradiente &Palette() const { return m_palette; }

    std::function<void(QObject *sender)> OnClick;
    std::function<void(QObject *sender)> OnStateChange;
    std::function<void(QObject *sender)> OnDblClick;
    std::function<void(QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseDown;
    std::function<void(QObject *sender, Qt::MouseButton, Qt::KeyboardModifiers, int x, int y)> OnMouseUp;
    std::function<void(QObject *sender, Qt::KeyboardModifiers, int x, int y)> OnMouseMove;

    // What a press of the button does, as its accelerator key does it: a grouped button
    // changes state, then OnClick is raised when the button is enabled.
    void Click();

    void UpdateContrastColors();
    void BuildPalette();
    // Releases the other down buttons of the same group on this button's parent.
    void ReleaseGroup();

protected:
    void paintEvent(QPaintEvent *evento) override;
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;
    void mouseMoveEvent(QMouseEvent *evento) override;
    void mouseDoubleClickEvent(QMouseEvent *evento) override;
    void changeEvent(QEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void Repinta();
    void Pinta(QPainter &p);
    void DrawGradient(QPainter &p);
    void DrawFrame(QPainter &p, bool moveInterior);
    void RepeatTick();
    bool TeclaDeAtalho(QChar tecla);
    QColor CorGradiente(int j) const;

    bool m_allowAllUp = false;
    bool m_allowTimer = false;
    int m_bevelWidth = 1;
    QColor m_borderColor = Qt::black;
    TBorderStyle m_borderStyle = bsNormal;
    QString m_caption;
    bool m_changeDirection = false;
    QColor m_color;
    int m_contrastHighlight = 5;
    int m_contrastShadow = 6;
    bool m_down = false;
    QImage m_glyph;
    TGradDirection m_gradientDirection = gdDownRight;
    TGradientStyle m_gradientStyle = gsNone;
    bool m_grouped = false;
    int m_groupIndex = 0;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = 1;
    int m_numGlyphs = 0;
    int m_spacing = 1;
    quint16 m_timerDelay = 400;
    quint16 m_timerInterval = 100;
    int m_topMargin = 0;

    QColor m_highlightColor;
    QColor m_shadowColor;
    TPaletaGradiente m_palette;
    bool m_pressedFromDown = false;
    bool m_capturado = false; // the left button went down here and is still held
    QTimer *m_repeatTimer = nullptr;

    // What is on screen: a full paint renders into it; going up or down without a gradient
    // only redraws the frame and shifts the interior by one pixel inside it.
    QPixmap m_tela;
    bool m_telaValida = false;
};
