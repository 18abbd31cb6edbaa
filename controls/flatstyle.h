#pragma once

#include <QColor>
#include <QEvent>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QGroupBox;
class QPainter;
class QPixmap;
class QPushButton;
class QRadioButton;
class QStyle;
class QStyleOptionMenuItem;
class QWidget;
class THookWindowProc;

// Widget properties standing for the classic component fields the painter obeys: a widget
// (or menu) whose "Tag" equals the painter's SkipTag is left alone with everything inside it,
// and a widget whose "ParentBiDiMode" is false is hooked but keeps its own look.
inline constexpr char PropriedadeTag[] = "Tag";
inline constexpr char PropriedadeParentBiDiMode[] = "ParentBiDiMode";
// Optional properties of a push button with glyph: glyph placement (0 left, 1 right, 2 top,
// 3 bottom; default 0) and the room between glyph and caption (default 4).
inline constexpr char PropriedadeLayout[] = "Layout";
inline constexpr char PropriedadeSpacing[] = "Spacing";

namespace FlatCores {
inline const QColor MolduraEdit { 117, 157, 195 };
inline const QColor ContornoBotao { 0, 60, 116 };
inline const QColor FaceClara { 244, 244, 238 };
inline const QColor FaceEscura { 205, 204, 223 }; // also the pressed fill
inline const QColor TextoDesabilitado { 161, 161, 146 };
inline const QColor MolduraGrupo { 172, 168, 153 };
inline const QColor TituloGrupo { 40, 77, 166 };
inline const QColor BordaRadio { 33, 84, 129 };
inline const QColor ColunaMenu { 135, 173, 228 }; // icon column far end; menu bar selection
inline const QColor BarraQuente { 255, 212, 151 };
inline const QColor ItemSelecionado { 255, 238, 194 };
inline const QColor MolduraItem { 0, 0, 128 };
inline const QColor MarcaSelecionada { 254, 128, 62 };
inline const QColor MarcaNormal { 255, 192, 111 };
inline const QColor Separador { 106, 140, 203 };
} // namespace FlatCores

// The four colours of a double frame: outer top-left, inner top-left, outer bottom-right,
// inner bottom-right.
struct TFrameSet
{
    QColor externaTopo, internaTopo, externaBase, internaBase;
};
inline const TFrameSet ConjuntoFoco { { 188, 212, 246 }, { 188, 212, 246 }, { 105, 130, 238 }, { 157, 187, 235 } };
inline const TFrameSet ConjuntoQuente { { 254, 221, 149 }, { 253, 216, 137 }, { 229, 151, 0 }, { 249, 183, 59 } };

enum class TGradientDirection { Horizontal, Vertical };

// Each channel moved from a toward b by percent, truncated toward zero.
QColor BlendColor(const QColor &a, const QColor &b, int percent);
// 256 bands from start to end colour; band i spans height * i / 255 to height * (i + 1) / 255
// (widths for horizontal fills). Nothing is painted outside rect.
void GradientFill(QPainter &p, const QRect &rect, TGradientDirection direcao, const QColor &inicio, const QColor &fim);
// Paints the three pixels inside each corner of rect in the half-way colour, so a rounded
// outline melts into what is behind it.
void SoftenCorners(QPainter &p, const QRect &rect, const QColor &borda, const QColor &fundo);
// Two nested one-pixel bevels: top and left edges in the top-left colours, bottom and right
// in the bottom-right ones.
void DoubleFrame(QPainter &p, const QRect &rect, const TFrameSet &conjunto);

// Where a glyph and its caption go inside a rectangle (both relative to its top-left corner,
// then offset by it). texto is the caption's measured size: width + 1 and line height, or
// empty without a caption. layout: 0 glyph left, 1 right, 2 top, 3 bottom.
struct TGlyphLayout
{
    QRect glifo;
    QRect texto;
};
TGlyphLayout CalculaGlyphAndCaption(
    const QRect &rect, QSize glifo, QSize texto, bool centrado, bool movido, int layout, int espaco);
// Lays out as above with the painter's font and draws the glyph (alpha kept) and the caption
// (single line, centred, end ellipsis) in the painter's pen.
void LayoutGlyphAndCaption(QPainter &p, const QRect &rect, const QPixmap &glifo, bool centrado, bool movido, int layout,
    int espaco, const QString &legenda);

// The 60 x 15 strip of radio images: cells of 14 x 14 at x = 1, 16, 31, 46 from row 1 -
// unchecked, checked, unchecked under the mouse, checked under the mouse. The top-left pixel
// is the transparent colour.
const QImage &FLAT_BMP_RADIOBUTTON();
// Left edge of the strip cell for a radio in this state.
int CelulaRadio(bool quente, bool marcado);
// The 14 x 14 image drawn for a radio: the cell with its rim blended into the background and
// the transparent colour replaced by it.
QImage ImagemRadio(bool quente, bool marcado, const QColor &fundo);

// A disabled menu image: every pixel becomes the grey min(20 + (r + g + b) / 3, 246).
QImage ImagemCinza(const QImage &imagem);

// Owner-drawn menu measure: drop-down items grow by 74 x 5, menu-bar items keep theirs.
QSize MeasureMenuItem(QSize medida, bool itemDaBarra);

// Gives the standard controls of every window, and their menus, a flat look with soft blue
// and orange accents. Each eligible control gets a THookWindowProc that lets the control
// handle every event as before and then paints over it; menus get a style of the painter's
// that measures and draws their items.
class TFlatStyle : public QObject
{
    Q_OBJECT
public:
    explicit TFlatStyle(QObject *owner = nullptr);
    ~TFlatStyle() override;

    bool Active() const { return m_active; }
    void setActive(bool value);
    int SkipTag() const { return m_skipTag; }
    void setSkipTag(int value);

    // To be called by the owner once the window holding the painter is built.
    void Loaded();

    void ProcessAllForms();
    void HookForm(QWidget *container);
    void HookControl(QWidget *control);
    void HookMenus(QWidget *form);

    // A window made (Insercao) or destroyed (Remocao) while the painter lives.
    enum class Operacao { Insercao, Remocao };
    void Notification(QWidget *form, Operacao operacao);

    QList<QWidget *> PendingControls() const;
    QList<QWidget *> PendingMenus() const;
    QList<THookWindowProc *> Hooks() const;
    // The style the painter gives menus (null until the first menu is hooked).
    QStyle *EstiloMenus() const;

    // The drawing of each kind of control, on a painter open on the control.
    static void PaintEditFrame(QPainter &p, QWidget *control);
    static void PaintPushButton(QPainter &p, QPushButton *botao, const THookWindowProc &gancho);
    static void PaintBitButton(QPainter &p, QPushButton *botao, const THookWindowProc &gancho);
    static void PaintRadioButton(QPainter &p, QRadioButton *radio, const THookWindowProc &gancho);
    static void PaintGroupBox(QPainter &p, QGroupBox *grupo, const THookWindowProc &gancho);
    static void PaintUpDown(QPainter &p, QWidget *control, const THookWindowProc &gancho);
    static void PaintGauge(QPainter &p, QWidget *control);
    static void PaintComboButton(QPainter &p, QWidget *control, const THookWindowProc &gancho);
    // One menu item; itemDaBarra for items of a window's menu bar.
    static void DrawMenuItem(QPainter &p, const QStyleOptionMenuItem &item, bool itemDaBarra, const QWidget *menu);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void FormaAtivaMudou();
    void ProcessaMenusPendentes();
    void RemoveGancho(THookWindowProc *gancho);
    bool Pulado(const QObject *objeto) const;

    friend class THookWindowProc;

    bool m_active = true;
    int m_skipTag = 0;
    QList<QPointer<QWidget>> m_pendingControls;
    QList<QPointer<QWidget>> m_pendingMenus;
    QList<THookWindowProc *> m_hooks;
    QStyle *m_estiloMenus = nullptr;
    // Menus given the painter's style, with the style they had, to give it back.
    QList<QPair<QPointer<QWidget>, QPointer<QStyle>>> m_menus;
    bool m_menusAgendados = false;
};

// Sits in front of one control's event handling: hands each event to the control, then keeps
// the pressed, hot and space flags and paints the flat look over what the control painted.
class THookWindowProc : public QObject
{
    Q_OBJECT
public:
    THookWindowProc(TFlatStyle *owner, QWidget *control);
    // Gives the control its own handling back when the hook goes first.
    ~THookWindowProc() override;

    QWidget *Control() const { return m_control; }
    bool Pressed() const { return m_pressed; }
    bool Hot() const { return m_hot; }
    QEvent::Type LastMessage() const { return m_lastMessage; }
    bool Space() const { return m_space; }
    // Where the pointer was last seen over the control (spin arrows light up one at a time).
    QPoint PosicaoMouse() const { return m_posMouse; }

    // The hook in front of a control, or null.
    static THookWindowProc *HookOf(const QWidget *control);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void HookedWindowProc(QEvent *evento);
    void PaintFlat(QEvent *evento);
    void Pinta();

    TFlatStyle *m_owner;
    QWidget *m_control;
    bool m_pressed = false;
    bool m_hot = false;
    QEvent::Type m_lastMessage = QEvent::None;
    bool m_space = false;
    QPoint m_posMouse;
};
