#pragma once

#include "controls/stringgrid.h"

#include <QColor>
#include <QFont>

#include <memory>

// The cream the agenda's grid is filled with.
inline const QColor Creme(254, 248, 233);

// A bare grid (TStringGrid or one derived from it) whose viewport is the whole widget, so
// grabbed pixels are viewport pixels: no frame, no scroll bars, no fixed column, 17-pixel rows.
template <class Grade>
std::unique_ptr<Grade> GradeNua(int colunas, int linhas, int largura = 80, const QFont &fonte = {})
{
    auto g = std::make_unique<Grade>();
    g->setFrameShape(QFrame::NoFrame);
    g->setScrollBars(TStringGrid::ssNone);
    g->setColCount(colunas);
    g->setFixedCols(0);
    g->setRowCount(linhas);
    for (int c = 0; c < colunas; ++c)
        g->setColWidths(c, largura);
    g->setDefaultRowHeight(17);
    g->setColor(Creme);
    g->setFont(fonte);
    g->resize(colunas * (largura + 1) + 10, linhas * 18 + 10);
    g->show();
    return g;
}
