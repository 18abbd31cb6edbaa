#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;
class QPixmap;

// The colours and drawing routines of the flat look: what the painter draws controls and menus
// with, each routine on a painter already open on the surface.

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

// Which way the bands of a GradientFill run across the rectangle: horizontal bands stack from
// left to right, vertical ones from top to bottom.
enum class TDirecaoPreenchimento { Horizontal, Vertical };

// Pixel helpers: rectangles are outlined on their own pixels (right() and bottom() included).
void Pixel(QPainter &p, int x, int y, const QColor &cor);
void LinhaH(QPainter &p, int x1, int x2, int y, const QColor &cor);
void LinhaV(QPainter &p, int x, int y1, int y2, const QColor &cor);
void Contorno(QPainter &p, const QRect &r, const QColor &cor);
// An unfilled rectangle with rounded corners, corner ellipse 4 x 4 or 6 x 6.
void ContornoArredondado(QPainter &p, const QRect &r, int elipse, const QColor &cor);
// The classic dotted focus rectangle: every other pixel of the outline inverted.
void RetanguloFoco(QPainter &p, const QRect &r);

// Each channel moved from a toward b by percent, truncated toward zero.
QColor BlendColor(const QColor &a, const QColor &b, int percent);
// 256 bands from start to end colour; band i spans height * i / 255 to height * (i + 1) / 255
// (widths for horizontal fills). Nothing is painted outside rect.
void GradientFill(
    QPainter &p, const QRect &rect, TDirecaoPreenchimento direcao, const QColor &inicio, const QColor &fim);
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
TGlyphLayout CalculaGlifoELegenda(
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

// Device pixels per pixel of the control the painter paints: the screen's ratio, or that of
// the picture the control is rendered into.
qreal EscalaDoPintor(const QPainter &p);
// The radio's circle drawn as vectors, for screens where the 14 x 14 image would be stretched
// by whole pixels: the strip's look with its square's top-left corner at `canto`.
void DesenhaRadio(QPainter &p, const QPointF &canto, bool quente, bool marcado);

// A disabled menu image: every pixel becomes the grey min(20 + (r + g + b) / 3, 246).
QImage ImagemCinza(const QImage &imagem);
