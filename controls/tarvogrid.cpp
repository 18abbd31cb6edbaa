#include "controls/tarvogrid.h"

#include "controls/drawtext.h"

#include <QPainter>

namespace {

// Floor division: a rectangle above the viewport still rounds down.
int DivideParaBaixo(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

bool TextoEmBranco(const QString &texto)
{
    for (QChar ch : texto)
        if (ch.unicode() > 32)
            return false;
    return true;
}

} // namespace

QRect PosicionaTexto(const QRect &interno, int h, TVerticalAlignment vertical)
{
    // Worked with an exclusive bottom edge, as the layout rules are written.
    const int topo = interno.top();
    const int base = interno.top() + interno.height();
    if (h >= base - topo + 1)
        return interno;
    switch (vertical) {
    case vaTop:
        return interno;
    case vaCenter: {
        const int novoTopo = DivideParaBaixo(base + topo - h, 2);
        return QRect(interno.left(), novoTopo, interno.width(), h);
    }
    case vaBottom:
        return QRect(interno.left(), base - h, interno.width(), h);
    }
    return interno;
}

TtarvoGrid::TtarvoGrid(QWidget *parent)
    : TStringGrid(parent)
{
    setOptions(OpcoesPadrao);
}

std::int32_t TtarvoGrid::GridCount() const
{
    std::int32_t total = 0;
    for (int r = 0; r < RowCount(); ++r)
        if (!TextoEmBranco(Cells(0, r)))
            ++total;
    return total;
}

void TtarvoGrid::setAlignment(TAlignment valor)
{
    if (m_alignment == valor)
        return;
    m_alignment = valor;
    viewport()->update();
}

void TtarvoGrid::setVerticalAlignment(TVerticalAlignment valor)
{
    if (m_verticalAlignment == valor)
        return;
    m_verticalAlignment = valor;
    viewport()->update();
}

void TtarvoGrid::setMultiLinea(bool valor)
{
    if (m_multiLinea == valor)
        return;
    m_multiLinea = valor;
    viewport()->update();
}

void TtarvoGrid::Insere_linhagrid(std::int32_t ARow)
{
    if (GridCount() == 0 || ARow > RowCount() || ARow < 0)
        return;
    setRowCount(RowCount() + 1);
    for (int r = RowCount() - 1; r > ARow; --r)
        for (int c = 0; c < ColCount(); ++c)
            setCells(c, r, Cells(c, r - 1));
    for (int c = 0; c < ColCount(); ++c)
        setCells(c, ARow, QString());
}

void TtarvoGrid::Delete_linhagrid(std::int32_t ARow)
{
    if (GridCount() == 0 || ARow > RowCount() || ARow < 0)
        return;
    // The last row takes what is stored one past the end, blank unless text was left there.
    for (int r = ARow; r < RowCount(); ++r)
        for (int c = 0; c < ColCount(); ++c)
            setCells(c, r, Cells(c, r + 1));
    setRowCount(RowCount() - 1);
}

void TtarvoGrid::ClearAll()
{
    if (GridCount() == 0)
        return;
    for (int r = RowCount() - 1; r >= 0; --r)
        for (int c = 0; c < ColCount(); ++c)
            setCells(c, r, QString());
}

void TtarvoGrid::DrawCell(int ACol, int ARow, QRect ARect, TGridDrawState AState)
{
    const QString texto = Cells(ACol, ARow);
    TAlignment horizontal = m_alignment;
    TVerticalAlignment vertical = m_verticalAlignment;
    if (OnGetCellAlignment)
        OnGetCellAlignment(this, ARow, ACol, horizontal, vertical);
    TCanvas &canvas = Canvas();
    if (OnGetCellColor)
        OnGetCellColor(this, ARow, ACol, AState, canvas.Brush, canvas.Font);
    canvas.FillRect(ARect);

    QRect interno = ARect.adjusted(2, 0, -2, 0);
    unsigned formato = DT::VCenter;
    if (horizontal == taRightJustify)
        formato |= DT::Right;
    else if (horizontal == taCenter)
        formato |= DT::Center;
    if (m_multiLinea)
        formato |= DT::WordBreak;

    if (!DefaultDrawing()) {
        TStringGrid::DrawCell(ACol, ARow, interno, AState);
        return;
    }
    canvas.AplicaFonte();
    QRect medida = interno;
    const int h = DrawText(*canvas.Painter, texto, medida, formato | DT::CalcRect);
    interno = PosicionaTexto(interno, h, vertical);
    DrawText(*canvas.Painter, texto, interno, formato);
}
