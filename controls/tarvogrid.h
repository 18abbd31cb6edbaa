#pragma once

#include "controls/alinhamento.h"
#include "controls/stringgrid.h"

#include <cstdint>
#include <functional>

enum TVerticalAlignment : std::uint8_t { vaTop = 0, vaCenter = 1, vaBottom = 2 };

// Row comes before column in both callbacks.
using TtarvoGridAlignmentEvent = std::function<void(
    QObject *Sender, std::int32_t ARow, std::int32_t ACol, TAlignment &HorAlignment, TVerticalAlignment &VerAlignment)>;
// ABrush and AFont are the live ones the cell is drawn with.
using TtarvoGridColorEvent = std::function<void(
    QObject *Sender, std::int32_t ARow, std::int32_t Acol, TGridDrawState AState, QBrush &ABrush, TFont &AFont)>;

// Where a text of height h goes in a cell's text rectangle: unchanged at the top, centred or
// at the bottom when it is shorter than the cell; a taller text stays at the top.
QRect PosicionaTexto(const QRect &interno, int h, TVerticalAlignment vertical);

// A string grid that aligns its cell text across the grid or per cell, can wrap it over
// several lines, lets the owner colour each cell, and has a few row operations.
class TtarvoGrid : public TStringGrid
{
    Q_OBJECT
public:
    static constexpr TGridOptions OpcoesPadrao = GO::goFixedVertLine | GO::goFixedHorzLine | GO::goVertLine
        | GO::goHorzLine | GO::goRangeSelect | GO::goRowSizing | GO::goColSizing; // 0x00DF

    explicit TtarvoGrid(QWidget *parent = nullptr);

    // Rows 0 .. RowCount - 1 whose column-0 text is not blank. A blank row between filled
    // ones is not counted, so this is a count and not the index of the last filled row.
    std::int32_t GridCount() const;

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment valor);
    TVerticalAlignment VerticalAlignment() const { return m_verticalAlignment; }
    void setVerticalAlignment(TVerticalAlignment valor);
    bool MultiLinea() const { return m_multiLinea; }
    void setMultiLinea(bool valor);

    TtarvoGridAlignmentEvent OnGetCellAlignment;
    TtarvoGridColorEvent OnGetCellColor;

    // Blank row at ARow (0 .. RowCount); rows from ARow move down. FixedRows stays, so at 0
    // the blank row becomes the fixed one.
    void Insere_linhagrid(std::int32_t ARow);
    // Removes row ARow (0 .. RowCount); the rows below move up.
    void Delete_linhagrid(std::int32_t ARow);
    // Blanks every cell, the header included; the counts stay.
    void ClearAll();

protected:
    void DrawCell(int ACol, int ARow, QRect ARect, TGridDrawState AState) override;

private:
    TAlignment m_alignment = taLeftJustify;
    TVerticalAlignment m_verticalAlignment = vaCenter;
    bool m_multiLinea = false;
};
