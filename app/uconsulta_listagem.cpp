#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"
#include "platform/platform.h"

#include <QCalendarWidget>
#include <QLabel>

// Placeholder until the day listing lands: keeps ListaAgenda loaded and the labels right.
void Tfrm_agenda::preparaListagem()
{
}

void Tfrm_agenda::FormShow(QObject *)
{
    DiaAtual = platform().now().date();
    MonthCalendar1->setSelectedDate(DiaAtual);
    Atualiza();
}

void Tfrm_agenda::Atualiza()
{
    Label2->setText(QStringLiteral("Status"));
    Label4->setText(QStringLiteral("Status"));
    Atualiza_dia();
}

void Tfrm_agenda::Atualiza_dia()
{
    Label3->setText(
        QStringLiteral("Agenda para: ") + MonthCalendar1->selectedDate().toString(QStringLiteral("dd/MM/yyyy")));
    Label3->adjustSize();
    CarregaAgenda(ListaAgenda);
}

void Tfrm_agenda::MonthCalendar1Click(QObject *)
{
    Atualiza();
}
void Tfrm_agenda::RadioGroup1Click(QObject *)
{
    Atualiza();
}
void Tfrm_agenda::Stringgrid2Click(QObject *)
{
}
void Tfrm_agenda::ExcluiAgenda1Click(QObject *)
{
}
