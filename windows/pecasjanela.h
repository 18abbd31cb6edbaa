#pragma once

// The pieces every window of the program is built from: fonts in pixel heights, raised
// panels, labels, sunken rules, buttons with two-state glyphs, pictures. Windows are laid out
// at fixed positions, so each builder takes its place and size and nothing is left to a layout.

#include <QColor>
#include <QFont>
#include <QFrame>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QString>

class QAbstractButton;
class QLabel;
class QPushButton;
class QScreen;
class QWidget;

// The family the windows were drawn in; where it is missing the toolkit's substitute stands in.
inline const QString FamiliaJanelas = QStringLiteral("MS Sans Serif");

// A font by its height in pixels, as the windows were measured.
QFont Fonte(int pixels, bool negrito = false, const QString &familia = FamiliaJanelas);

// The colour of a widget's text, and of its background (seen where the background is filled).
void PintaTexto(QWidget *w, const QColor &cor);
void PintaFundo(QWidget *w, const QColor &cor);

// A raised panel of a one-pixel edge (or a lowered one of `espessura` pixels) that fills its
// background, so that it hides what lies under it.
QFrame *CriaPainel(QWidget *pai, const QRect &geometria, QFrame::Shadow sombra = QFrame::Raised, int espessura = 1);

// A label that sizes itself to its caption; an invalid colour leaves the inherited one.
QLabel *CriaRotulo(
    QWidget *pai, QPoint posicao, const QString &texto, const QFont &fonte, const QColor &cor = QColor());
// A label of fixed size, its text aligned at the top of the box.
QLabel *CriaCaixaTexto(QWidget *pai, const QRect &geometria, const QString &texto, const QFont &fonte,
    Qt::Alignment alinhamento, const QColor &cor = QColor());

// A sunken line: horizontal when its height is 2, vertical when its width is 2.
QFrame *CriaRegua(QWidget *pai, const QRect &geometria);

// A picture stretched to its box; the picture may come later.
QLabel *CriaFigura(QWidget *pai, const QRect &geometria, const QPixmap &figura = QPixmap());

// Glyphs hold two pictures side by side: normal, then disabled. The button takes both, at the
// size of one; a glyph of ours whose shape is known stays sharp on high-density screens.
void PoeGlifo(QAbstractButton *botao, const QString &recurso);
// A push button at its place; `glifo` empty for one without a picture.
QPushButton *CriaBotao(
    QWidget *pai, const QRect &geometria, const QString &texto, const QFont &fonte, const QString &glifo = QString());

// Where a window goes on a screen's free area (`area`): the top-left corner of its frame, the
// window itself (`janela`, without frame) centred. A framed window that would hang past the
// right or bottom edge moves back in; one larger than the area starts at its left and top
// edges, so that its title bar stays on the screen. `moldura`: the frame's extra width and
// height.
QPoint PosicaoNaTela(const QRect &area, QSize janela, QSize moldura);
// Moves a window to the middle of the screen's free area (nothing without a screen).
void CentraNaTela(QWidget *janela, QScreen *tela);

// Where the desktop draws no title bars, gives the window one of its own with the buttons its
// flags ask for (the toolkit's would show them all). Called once the window is built.
void DecoraJanela(QWidget *janela);
