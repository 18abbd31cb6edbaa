#pragma once

class QCalendarWidget;
class TStringGrid;

// Installs what screen readers see of this folder's controls: the string grid as a table of
// cells with its header row, the gradient button as a push button with a press action, the
// shadow label as static text. Each of those controls calls it when made; the first call
// installs, the others do nothing.
void RegistraAcessiveis();

// The child index under which a screen reader knows the grid's cell, or -1 when the cell is
// not offered (a hidden or data column, a fixed row other than the header).
int IndiceCelulaAcessivel(const TStringGrid &grade, int ACol, int ARow);

// The cell of the current row a reader is told has the focus: the current cell, or the row's
// first offered cell when the grid selects whole rows or the current column is not offered.
int ColunaDoFocoAcessivel(const TStringGrid &grade);

// Names, in Portuguese, the calendar's month arrows and its year field, which show no words.
void NomeiaCalendario(QCalendarWidget *calendario);
