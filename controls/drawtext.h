#pragma once

#include <QRect>
#include <QString>

class QFont;
class QPainter;

// The one text-drawing routine of the controls: lays out and draws text in a rectangle the
// way the classic desktop call does, with the same format flags.
namespace DT {
enum TFormato : unsigned {
    Left = 0x0000,
    Center = 0x0001,
    Right = 0x0002,
    VCenter = 0x0004, // single-line only
    Bottom = 0x0008, // single-line only
    WordBreak = 0x0010,
    SingleLine = 0x0020,
    ExpandTabs = 0x0040, // tab stops every 8 average character widths
    NoClip = 0x0100,
    CalcRect = 0x0400, // measure only: the rectangle gets the text's width and height
    NoPrefix = 0x0800, // '&' is drawn as itself
    EndEllipsis = 0x8000, // single line: cut with "..." to fit
};
}

// Draws with the painter's font and pen. '&' underlines the next character and is not drawn,
// "&&" draws one '&'; explicit line breaks always start a new line. With DT::CalcRect
// nothing is drawn and rect's right and bottom are moved to fit the text. Returns the
// height of the text.
int DrawText(QPainter &painter, const QString &texto, QRect &rect, unsigned formato);

// Measuring without a device: as DrawText with DT::CalcRect, in the given font.
int MedeTexto(const QFont &fonte, const QString &texto, QRect &rect, unsigned formato);
