#pragma once

#include <QColor>
#include <QString>

#include <functional>

class QCalendarWidget;
class QLabel;
class QLineEdit;
class QWidget;
class TStringGrid;

// Installs what screen readers see of this folder's controls: the string grid as a table of
// cells with its header row, the gradient button as a push button with a press action, the
// shadow label as static text, and the labels, edits and calendars the routines below
// prepare. The application calls it once at start, before its first window; later calls do
// nothing. Without it the controls are read as plain widgets.
void RegistraAcessiveis();

// Names, in Portuguese, the calendar's month arrows and its year field, which show no words,
// and makes the days a list under the calendar's own name whose one item is the chosen day,
// read in full (weekday, day, month, year) when the calendar takes the focus and at every
// change of the date, keys and months included. Qt's own table of days made a reader say
// "table with 7 rows 7 columns" and read whole weeks, never the month.
void NomeiaCalendario(QCalendarWidget *calendario);

// The chosen date as a reader says it, in the calendar's language.
QString DataFalada(const QCalendarWidget &calendario);

// What a reader is told of a grid row besides its cells (the description of every cell in
// it); empty for none.
void DescreveLinhas(TStringGrid *grade, std::function<QString(int ARow)> descricao);

// A picture or text that opens an address when activated: read as a link by the name it is
// given, and "pressed" from a reader as Enter would press it.
void ExpoeComoLink(QLabel *rotulo);

// A line edit (a masked one above all) read whole: Qt 6.4's own interface answers an empty
// run of text attributes at every offset, and Orca then reads the text one character short
// (or, on the first focus, not at all).
void ExpoeTextoInteiro(QLineEdit *edicao);

// Draws a dotted rectangle of the colour inside the control while it has the keyboard focus;
// for controls whose look shows no focus of their own.
void MostraFoco(QWidget *controle, const QColor &cor);
