#pragma once

#include <QPoint>

class QGroupBox;
class QPainter;
class QPushButton;
class QRadioButton;
class QStyleOptionMenuItem;
class QWidget;

// Widget properties standing for the classic component fields the painter obeys: a widget
// (or menu) whose "Tag" equals the painter's SkipTag is left alone with everything inside it,
// and a widget whose "ParentBiDiMode" is false is hooked but keeps its own look.
inline constexpr char PropriedadeTag[] = "Tag";
inline constexpr char PropriedadeParentBiDiMode[] = "ParentBiDiMode";
// Optional properties of a push button with glyph: glyph placement (0 left, 1 right, 2 top,
// 3 bottom; default 0) and the room between glyph and caption (default 4).
inline constexpr char PropriedadeLayout[] = "Layout";
inline constexpr char PropriedadeSpacing[] = "Spacing";

// The kinds of control the painter draws, in the order they are told apart.
enum class TTipoControle { Nenhum, Edit, BitBtn, Botao, Radio, Grupo, UpDown, Gauge, Combo };
TTipoControle TipoControle(const QWidget *control);

// What the hook in front of a control has seen of the user: the left button held on it, the
// pointer over it, the space bar held, and where the pointer was last seen (spin arrows light
// up one at a time).
struct EstadoDoControle
{
    bool pressionado = false;
    bool quente = false;
    bool espaco = false;
    QPoint posicaoMouse;
};

// The flat look of each kind of control, drawn over what the control painted, on a painter
// open on the control.
void PaintEditFrame(QPainter &p, QWidget *control);
void PaintPushButton(QPainter &p, QPushButton *botao, const EstadoDoControle &estado);
void PaintBitButton(QPainter &p, QPushButton *botao, const EstadoDoControle &estado);
void PaintRadioButton(QPainter &p, QRadioButton *radio, const EstadoDoControle &estado);
void PaintGroupBox(QPainter &p, QGroupBox *grupo, const EstadoDoControle &estado);
void PaintUpDown(QPainter &p, QWidget *control, const EstadoDoControle &estado);
void PaintGauge(QPainter &p, QWidget *control);
void PaintComboButton(QPainter &p, QWidget *control, const EstadoDoControle &estado);
// One menu item; itemDaBarra for items of a window's menu bar.
void DrawMenuItem(QPainter &p, const QStyleOptionMenuItem &item, bool itemDaBarra, const QWidget *menu);
