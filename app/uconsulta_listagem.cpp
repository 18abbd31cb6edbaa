#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"
#include "agenda/listagem.h"
#include "controls/acessivel.h"
#include "controls/radiogroup.h"
#include "controls/tarvogrid.h"
#include "platform/platform.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QSignalBlocker>
#include <QTextEdit>

#include <stdexcept>

namespace {

// The headings of the listing grid's columns, in column order.
const QStringList Cabecalho = { QStringLiteral("Hora"), QStringLiteral("Modalidade"), QStringLiteral("codigo do Tipo"),
    QStringLiteral("Arquivo texto"), QStringLiteral("Ano"), QStringLiteral("mes"), QStringLiteral("dia") };

// Every listed row has its description, even a hand-edited line without a time; the header
// row and the blank row of an empty listing do not.
bool LinhaComAviso(const TtarvoGrid &grade, int linha)
{
    return linha >= 1 && linha < grade.RowCount() && !grade.Cells(ColunaDescricaoModalidade, linha).isEmpty();
}

void Mostra(QLabel *rotulo, const QString &texto)
{
    rotulo->setText(texto);
    rotulo->adjustSize();
}

} // namespace

void Tfrm_agenda::PreparaListagem()
{
    // Three-letter day names do not fit seven columns in 191 pixels; one letter each does,
    // as the Portuguese desktop calendar shows them (D S T Q Q S S).
    MonthCalendar1->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    // Any change of the chosen date refreshes: a click, the keys, or a move to another month,
    // which takes the same day there (the month's last day when it is shorter).
    connect(MonthCalendar1, &QCalendarWidget::selectionChanged, this, [this] { MonthCalendar1Click(MonthCalendar1); });
    connect(MonthCalendar1, &QCalendarWidget::currentPageChanged, this, [this](int ano, int mes) {
        const QDate atual = MonthCalendar1->selectedDate();
        // A click on a day of the next or previous month, or Page Down, has already chosen a
        // day there; choosing it again would refresh twice.
        if (atual.year() == ano && atual.month() == mes)
            return;
        const QDate inicio(ano, mes, 1);
        MonthCalendar1->setSelectedDate(QDate(ano, mes, std::min(atual.day(), inicio.daysInMonth())));
    });
    // A click on the day already chosen changes no selection, yet it refreshes as any click on
    // the calendar does. The day chosen when the button went down tells the two apart, so a
    // click on another day still refreshes once.
    if (auto *dias = MonthCalendar1->findChild<QAbstractItemView *>()) {
        m_diasDoCalendario = dias->viewport();
        m_diasDoCalendario->installEventFilter(this);
    }
    connect(MonthCalendar1, &QCalendarWidget::clicked, this, [this](QDate dia) {
        if (dia == m_diaNoClique)
            MonthCalendar1Click(MonthCalendar1);
    });
    RadioGroup1->OnClick = [this](QObject *sender) { RadioGroup1Click(sender); };
    Stringgrid2->OnClick = [this](QObject *sender) { Stringgrid2Click(sender); };
    // A move in the grid reads the time and kind; the sentence and the message, three Tabs
    // away, come with them.
    DescreveLinhas(Stringgrid2, [this](int r) {
        const TtarvoGrid &grade = *Stringgrid2;
        if (!LinhaComAviso(grade, r))
            return QString();
        QString descricao = FraseDoAviso(grade.Cells(ColunaCodigoModalidade, r), grade.Cells(ColunaDia, r),
            grade.Cells(ColunaMes, r), grade.Cells(ColunaAno, r), grade.Cells(ColunaHora, r));
        if (const auto mensagem = LeMensagem(grade.Cells(ColunaArquivo, r).toLatin1()))
            descricao += QStringLiteral(". ") + mensagem->join(QLatin1Char(' '));
        return descricao;
    });
    connect(ExcluiAgenda1, &QAction::triggered, this, [this] { ExcluiAgenda1Click(ExcluiAgenda1); });
}

void Tfrm_agenda::FormShow(QObject *)
{
    DiaAtual = platform().now().date();
    {
        // The refresh below is the one that counts; moving the calendar must not run another.
        const QSignalBlocker bloqueio(MonthCalendar1);
        MonthCalendar1->setSelectedDate(DiaAtual);
    }
    Atualiza();
}

void Tfrm_agenda::Atualiza()
{
    Mostra(Label2, QStringLiteral("Status"));
    Mostra(Label4, QStringLiteral("Status"));
    Atualiza_dia();
}

void Tfrm_agenda::Atualiza_dia()
{
    const QDate dia = MonthCalendar1->selectedDate();
    Mostra(Label3, TituloDoDia(dia));
    // A screen reader names the grid by the heading over it.
    Stringgrid2->setAccessibleName(Label3->text());
    ListaAgenda.clear();

    TtarvoGrid &grade = *Stringgrid2;
    for (int r = 1; r < grade.RowCount(); ++r)
        for (int c = 0; c < grade.ColCount(); ++c)
            grade.setCells(c, r, QString());
    grade.setRowCount(2);
    for (int c = 0; c < Cabecalho.size(); ++c)
        grade.setCells(c, 0, Cabecalho.at(c));

    CarregaAgenda(ListaAgenda);
    if (ListaAgenda.isEmpty())
        return; // RichEdit1 keeps what it showed

    // Each row goes at its own index, so a line without a time neither overwrites the row
    // above it nor is overwritten by the next.
    const std::vector<LinhaListada> linhas = LinhasDoDia(ListaAgenda, dia, RadioGroup1->ItemIndex());
    grade.setRowCount(std::max(2, static_cast<int>(linhas.size()) + 1));
    int r = 1;
    for (const LinhaListada &l : linhas) {
        grade.setCells(ColunaHora, r, l.hora);
        grade.setCells(ColunaDescricaoModalidade, r, l.descricao);
        grade.setCells(ColunaCodigoModalidade, r, l.modalidade);
        grade.setCells(ColunaArquivo, r, l.arquivo);
        grade.setCells(ColunaAno, r, l.ano);
        grade.setCells(ColunaMes, r, l.mes);
        grade.setCells(ColunaDia, r, l.dia);
        ++r;
    }
    RichEdit1->clear();
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
    const TtarvoGrid &grade = *Stringgrid2;
    const int r = grade.Row();
    if (!LinhaComAviso(grade, r))
        return;
    RichEdit1->clear();
    if (const auto mensagem = LeMensagem(grade.Cells(ColunaArquivo, r).toLatin1()))
        RichEdit1->setPlainText(mensagem->join(QLatin1Char('\n')));
    Mostra(Label4, QString());
    Mostra(Label4,
        FraseDoAviso(grade.Cells(ColunaCodigoModalidade, r), grade.Cells(ColunaDia, r), grade.Cells(ColunaMes, r),
            grade.Cells(ColunaAno, r), grade.Cells(ColunaHora, r)));
}

void Tfrm_agenda::ExcluiAgenda1Click(QObject *)
{
    const TtarvoGrid &grade = *Stringgrid2;
    const int r = grade.Row();
    if (!LinhaComAviso(grade, r))
        return;
    if (!Confirma(PerguntaExclusao(grade.Cells(ColunaHora, r))))
        return;
    // Removed from the index as it is on disk now (a save from an entry window still open may
    // have added lines since the last refresh), so writing it back drops nothing but this one.
    // A message file that could not be deleted stays as a harmless orphan.
    if (RemoveLembrete(grade.Cells(ColunaArquivo, r).toLatin1()) == Remocao::IndiceNaoGravado)
        throw std::runtime_error((QStringLiteral("Não foi possível gravar ") + ArquivoIndice()).toStdString());
    Atualiza();
}
