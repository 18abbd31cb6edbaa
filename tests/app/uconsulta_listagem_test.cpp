#include "agenda/funcoes.h"
#include "agenda/listagem.h"
#include "app/uconsulta.h"
#include "controls/radiogroup.h"
#include "controls/tarvogrid.h"
#include "support/files.h"
#include "support/janelaprincipalteste.h"
#include "windows/umostra.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QByteArray Especifico = "|2007|03|05|09:30|0|20070301-101500.txt|";
const QByteArray Mensal = "|2006|01|05|08:00|1|20060101-080000.txt|";
const QByteArray Anual = "|2001|03|05|06:00|2|20010301-060000.txt|";
const QByteArray OutroDia = "|2007|03|06|10:00|0|20070302-100000.txt|";

QByteArray Indice(const ListaLinhas &linhas)
{
    QByteArray bytes;
    for (const QByteArray &l : linhas)
        bytes += l + "\r\n";
    return bytes;
}

QByteArray NomeArquivo(const QByteArray &linha)
{
    return ExtraiCampo(6, linha);
}

// The day and time the listing tests start on.
const QDateTime Hoje(QDate(2007, 3, 5), QTime(9, 0));

// The main window shown on 5 March 2007 over the given index, each reminder with its message.
struct Cenario : JanelaPrincipalTeste
{
    explicit Cenario(const ListaLinhas &linhas, bool comMensagens = true)
    {
        if (comMensagens)
            for (const QByteArray &l : linhas)
                GravaArquivo(fake.pasta + "CND/" + QString::fromLatin1(NomeArquivo(l)),
                    "Mensagem de " + NomeArquivo(l) + "\r\nsegunda linha\r\n");
        Abre({ .agora = Hoje, .indice = linhas.isEmpty() ? std::nullopt : std::optional(Indice(linhas)) });
    }

    TtarvoGrid &Grade() { return *janela->Stringgrid2; }
    QStringList Linha(int r)
    {
        QStringList celulas;
        for (int c = 0; c < ColunasListagem; ++c)
            celulas << Grade().Cells(c, r);
        return celulas;
    }
    QStringList Horas()
    {
        QStringList h;
        for (int r = 1; r < Grade().RowCount(); ++r)
            h << Grade().Cells(ColunaHora, r) + QLatin1Char(' ') + Grade().Cells(ColunaDescricaoModalidade, r);
        return h;
    }
    void ClicaLinha(int r)
    {
        QTest::mouseClick(Grade().viewport(), Qt::LeftButton, {}, Grade().RetanguloCelula(0, r).center());
    }
    // The status line under the message: "Status", or the sentence of the chosen reminder.
    QString Status() { return janela->Label4->text(); }
    QByteArray BytesIndice() { return LeArquivo(fake.pasta + "AGENDA.AGD"); }
};

} // namespace

TEST(UconsultaListagem, ShowingTheWindowListsTodayUnderEveryFilterAndDate)
{
    Cenario c({ Especifico, OutroDia, Mensal, Anual });
    EXPECT_EQ(c.janela->Label3->text(), "Agenda para: 05/03/2007");
    EXPECT_EQ(
        c.Linha(0), (QStringList { "Hora", "Modalidade", "codigo do Tipo", "Arquivo texto", "Ano", "mes", "dia" }));
    EXPECT_EQ(c.Horas(),
        (QStringList { "09:30 Data Específica", "08:00 Mensal - Todo dia 05", "06:00 Anual - Todo dia 05 de Março" }));
    EXPECT_EQ(c.Linha(1), (QStringList { "09:30", "Data Específica", "0", "20070301-101500.txt", "2007", "03", "05" }));
    EXPECT_EQ(c.Grade().Row(), 1);
    EXPECT_EQ(c.Status(), "Status");
    EXPECT_EQ(c.janela->Label2->text(), "Status");
    EXPECT_TRUE(c.janela->RichEdit1->toPlainText().isEmpty());

    QTest::mouseClick(c.janela->RadioGroup1->Botao(1), Qt::LeftButton);
    EXPECT_EQ(c.Horas(), QStringList { "09:30 Data Específica" });
    QTest::mouseClick(c.janela->RadioGroup1->Botao(2), Qt::LeftButton);
    EXPECT_EQ(c.Horas(), QStringList { "08:00 Mensal - Todo dia 05" });

    // A new date refreshes, whether chosen directly or by moving to another month.
    QTest::mouseClick(c.janela->RadioGroup1->Botao(1), Qt::LeftButton);
    c.janela->MonthCalendar1->setSelectedDate(QDate(2007, 3, 6));
    EXPECT_EQ(c.janela->Label3->text(), "Agenda para: 06/03/2007");
    EXPECT_EQ(c.Horas(), QStringList { "10:00 Data Específica" });
    c.janela->MonthCalendar1->showNextMonth();
    EXPECT_EQ(c.janela->Label3->text(), "Agenda para: 06/04/2007");
    EXPECT_EQ(c.Horas(), QStringList { " " });
    c.janela->MonthCalendar1->setSelectedDate(QDate(2007, 1, 31));
    c.janela->MonthCalendar1->showNextMonth();
    EXPECT_EQ(c.janela->MonthCalendar1->selectedDate(), QDate(2007, 2, 28));
    EXPECT_TRUE(c.fake.caixas.empty());
}

TEST(UconsultaListagem, CalendarSpeaksPortuguese)
{
    Cenario c({});
    const QLocale local = c.janela->MonthCalendar1->locale();
    EXPECT_EQ(local.standaloneMonthName(3).toLower(), "março");
    EXPECT_EQ(local.dayName(1, QLocale::ShortFormat).left(3).toLower(), "seg");
}

TEST(UconsultaListagem, EmptyOrMissingIndexShowsHeaderAndOneBlankRow)
{
    for (bool criaVazio : { false, true }) {
        JanelaPrincipalTeste principal;
        const FakePlatform &fake = principal.fake;
        Tfrm_agenda &janela
            = principal.Abre({ .agora = Hoje, .indice = criaVazio ? std::optional(QByteArray()) : std::nullopt });
        EXPECT_EQ(janela.Stringgrid2->RowCount(), 2);
        EXPECT_EQ(janela.Stringgrid2->Cells(ColunaHora, 0), "Hora");
        EXPECT_EQ(janela.Stringgrid2->GridCount(), 1);
        janela.Stringgrid2Click(janela.Stringgrid2);
        janela.ExcluiAgenda1Click(janela.ExcluiAgenda1);
        EXPECT_TRUE(fake.caixas.empty());
        EXPECT_EQ(janela.Label4->text(), "Status");
        EXPECT_EQ(QFileInfo::exists(fake.pasta + "AGENDA.AGD"), criaVazio);
    }
}

TEST(UconsultaListagem, SelectingARowShowsItsMessageAndSentence)
{
    Cenario c({ Especifico, Mensal, Anual });
    QFile::remove(c.fake.pasta + "CND/" + QString::fromLatin1(NomeArquivo(Mensal)));

    c.ClicaLinha(1);
    EXPECT_EQ(c.janela->RichEdit1->toPlainText(), "Mensagem de 20070301-101500.txt\nsegunda linha");
    EXPECT_EQ(c.Status(), "Avisar especificamente no dia 05 de Março de 2007 as 09:30");

    // By keyboard too; a message file that is gone leaves the text empty but the sentence.
    QTest::keyClick(&c.Grade(), Qt::Key_Down);
    EXPECT_EQ(c.Grade().Row(), 2);
    EXPECT_TRUE(c.janela->RichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(c.Status(), "Avisar Mensalmente todo dia 05 de cada mês as 08:00");

    QTest::keyClick(&c.Grade(), Qt::Key_Down);
    EXPECT_EQ(c.Status(), "Avisar Anualmente todo dia 05 de Março as 06:00");
    EXPECT_TRUE(c.fake.caixas.empty());
}

TEST(UconsultaListagem, BadMonthOfAnAnnualLineReachesTheMonthNameMessage)
{
    const QByteArray ruim = "|2001|xx|05|06:00|2|20010301-060000.txt|";
    Cenario c({ ruim });
    EXPECT_TRUE(c.fake.caixas.empty()) << "not listed for the day";
    QTest::mouseClick(c.janela->RadioGroup1->Botao(3), Qt::LeftButton);
    EXPECT_EQ(c.Horas(), QStringList { "06:00 Anual - Todo dia 05 de " });
    EXPECT_EQ(c.fake.TextosCaixas(), QStringList { "Variavel de Mes Inválida !!" });
    c.ClicaLinha(1);
    EXPECT_EQ(c.fake.TextosCaixas(), (QStringList { "Variavel de Mes Inválida !!", "Variavel de Mes Inválida !!" }));
    EXPECT_EQ(c.Status(), "Avisar Anualmente todo dia 05 de  as 06:00");
}

TEST(UconsultaListagem, DeleteAsksWithTheTimeAndRemovesOnlyWhenConfirmed)
{
    Cenario c({ Especifico, Mensal, Anual });
    const QByteArray antes = c.BytesIndice();
    const QString mensagemMensal = c.fake.pasta + "CND/" + QString::fromLatin1(NomeArquivo(Mensal));

    // Refused: file, message and listing untouched, no refresh.
    c.ClicaLinha(2);
    c.fake.respostas = { Platform::Resposta::Cancelar };
    QTest::keyClick(&c.Grade(), Qt::Key_Delete);
    ASSERT_EQ(c.fake.caixas.size(), 1u);
    EXPECT_EQ(c.fake.caixas[0].texto, "Tem certeza que deseja excluir agenda para as: 08:00 ??");
    EXPECT_EQ(c.fake.caixas[0].titulo, "Drel Sistemas");
    EXPECT_EQ(c.fake.caixas[0].botoes, Platform::Botoes::OkCancelar);
    EXPECT_EQ(c.BytesIndice(), antes);
    EXPECT_TRUE(QFileInfo::exists(mensagemMensal));
    EXPECT_EQ(c.Status(), "Avisar Mensalmente todo dia 05 de cada mês as 08:00");

    // Confirmed: the message and the line go, the rest is written back byte for byte.
    c.janela->ExcluiAgenda1Click(c.janela->ExcluiAgenda1);
    EXPECT_EQ(c.BytesIndice(), Indice({ Especifico, Anual }));
    EXPECT_FALSE(QFileInfo::exists(mensagemMensal));
    EXPECT_EQ(c.Horas(), (QStringList { "09:30 Data Específica", "06:00 Anual - Todo dia 05 de Março" }));
    EXPECT_EQ(c.Status(), "Status");

    // With the message file already gone the line can still be deleted.
    QFile::remove(c.fake.pasta + "CND/" + QString::fromLatin1(NomeArquivo(Anual)));
    c.ClicaLinha(2);
    EXPECT_NE(c.Status(), "Status");
    c.janela->ExcluiAgenda1Click(c.janela->ExcluiAgenda1);
    EXPECT_EQ(c.fake.caixas.size(), 3u);
    EXPECT_EQ(c.BytesIndice(), Indice({ Especifico }));
    EXPECT_EQ(c.Horas(), QStringList { "09:30 Data Específica" });
    EXPECT_EQ(c.Status(), "Status");
}

TEST(UconsultaListagem, RightPressChoosesTheRowTheMenuDeletes)
{
    // Two reminders at one time: only the row under the pointer tells them apart.
    const QByteArray mesmaHora = "|2007|03|05|09:30|0|20070301-111500.txt|";
    Cenario c({ Especifico, mesmaHora });
    QMenu &menu = *c.janela->PopupMenu1;
    // The press, then the menu request the desktop sends with it.
    auto pressiona = [&](QPoint ponto) {
        QWidget *area = c.Grade().viewport();
        QTest::mousePress(area, Qt::RightButton, {}, ponto);
        QContextMenuEvent pedido(QContextMenuEvent::Mouse, ponto, area->mapToGlobal(ponto));
        QApplication::sendEvent(area, &pedido);
        QTest::mouseRelease(area, Qt::RightButton, {}, ponto);
    };

    // The header and the space below the last row change nothing.
    pressiona(c.Grade().RetanguloCelula(1, 0).center());
    menu.close();
    pressiona(c.Grade().RetanguloCelula(1, 2).center() + QPoint(0, 40));
    menu.close();
    EXPECT_EQ(c.Grade().Row(), 1);
    EXPECT_EQ(c.Status(), "Status");

    pressiona(c.Grade().RetanguloCelula(1, 2).center());
    EXPECT_EQ(c.Grade().Row(), 2);
    EXPECT_EQ(c.janela->RichEdit1->toPlainText(), "Mensagem de 20070301-111500.txt\nsegunda linha");
    ASSERT_TRUE(menu.isVisible());
    c.fake.respostas = { Platform::Resposta::Ok };
    QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(c.janela->ExcluiAgenda1).center());
    EXPECT_EQ(c.fake.TextosCaixas(), QStringList { "Tem certeza que deseja excluir agenda para as: 09:30 ??" });
    EXPECT_EQ(c.BytesIndice(), Indice({ Especifico }));
    EXPECT_FALSE(QFileInfo::exists(c.fake.pasta + "CND/20070301-111500.txt"));
    EXPECT_TRUE(QFileInfo::exists(c.fake.pasta + "CND/" + QString::fromLatin1(NomeArquivo(Especifico))));
}

TEST(UconsultaListagem, AMessageFileNameOutsideTheMessageFolderIsNeitherShownNorDeleted)
{
    // A hand-edited line whose message "file" is two folders up, beside the program's folder.
    const QByteArray hostil = "|2007|03|05|23:59|0|../../victim.txt|";
    Cenario c({ Especifico, hostil }, false);
    const QString vitima = c.fake.temporaria.path() + "/victim.txt";
    GravaArquivo(vitima, "de outro programa");
    GravaArquivo(c.fake.pasta + "CND/" + QString::fromLatin1(NomeArquivo(Especifico)), "minha");

    c.ClicaLinha(2);
    EXPECT_EQ(c.Status(), "Avisar especificamente no dia 05 de Março de 2007 as 23:59");
    EXPECT_EQ(c.janela->RichEdit1->toPlainText(), QString());

    // The alert for it says the file is missing.
    Tform_mostra mostra;
    mostra.MostraAviso(hostil, c.fake.agora);
    EXPECT_EQ(mostra.Memo1->toPlainText(), QStringLiteral("Arquivo não Encontrado"));

    // Deleting it removes its line only, and the file outside stays.
    c.janela->ExcluiAgenda1Click(c.janela->ExcluiAgenda1);
    EXPECT_EQ(c.BytesIndice(), Indice({ Especifico }));
    EXPECT_EQ(LeArquivo(vitima), "de outro programa");
    EXPECT_EQ(c.Horas(), QStringList { "09:30 Data Específica" });
}

TEST(UconsultaListagem, DeletingTheOnlyLineLeavesAnEmptyFileAndTheOldText)
{
    Cenario c({ Especifico });
    c.ClicaLinha(1);
    const QString texto = c.janela->RichEdit1->toPlainText();
    ASSERT_FALSE(texto.isEmpty());
    c.janela->ExcluiAgenda1Click(c.janela->ExcluiAgenda1);
    EXPECT_TRUE(QFileInfo::exists(c.fake.pasta + "AGENDA.AGD"));
    EXPECT_EQ(c.BytesIndice(), QByteArray());
    EXPECT_EQ(c.Grade().RowCount(), 2);
    EXPECT_EQ(c.Linha(1), QStringList(7, QString()));
    EXPECT_EQ(c.Status(), "Status");
    EXPECT_EQ(c.janela->RichEdit1->toPlainText(), texto);
}

TEST(UconsultaListagem, LineWithoutTimeGetsItsOwnRowAndCanBeDeleted)
{
    const QByteArray semHora = "|2007|03|05||0|20070301-070000.txt|";
    Cenario c({ semHora, Especifico });
    EXPECT_EQ(c.Linha(0)[0], "Hora");
    EXPECT_EQ(c.Linha(0)[1], "Modalidade");
    EXPECT_EQ(c.Horas(), (QStringList { " Data Específica", "09:30 Data Específica" }));
    EXPECT_EQ(c.Linha(1)[3], "20070301-070000.txt");

    c.ClicaLinha(1);
    EXPECT_EQ(c.Status(), "Avisar especificamente no dia 05 de Março de 2007 as ");
    EXPECT_EQ(c.janela->RichEdit1->toPlainText(), "Mensagem de 20070301-070000.txt\nsegunda linha");
    c.janela->ExcluiAgenda1Click(c.janela->ExcluiAgenda1);
    EXPECT_EQ(c.fake.TextosCaixas(), QStringList { "Tem certeza que deseja excluir agenda para as:  ??" });
    EXPECT_EQ(c.BytesIndice(), Indice({ Especifico }));
    EXPECT_EQ(c.Horas(), QStringList { "09:30 Data Específica" });
}

TEST(UconsultaListagem, DeleteKeepsReminderSavedSinceLastRefresh)
{
    Cenario c({ Especifico, Mensal });
    // Saved by an entry window after the listing was loaded; no refresh has followed.
    const QByteArray novo = "|2007|03|05|18:00|0|20070305-090000.txt|";
    GravaArquivo(c.fake.pasta + "AGENDA.AGD", Indice({ Especifico, Mensal, novo }));
    GravaArquivo(c.fake.pasta + "CND/20070305-090000.txt", "nova\r\n");

    c.ClicaLinha(2);
    c.janela->ExcluiAgenda1Click(c.janela->ExcluiAgenda1);
    EXPECT_EQ(c.BytesIndice(), Indice({ Especifico, novo }));
    EXPECT_EQ(c.Horas(), (QStringList { "09:30 Data Específica", "18:00 Data Específica" }));
    EXPECT_EQ(ListaAgenda, (ListaLinhas { Especifico, novo }));
}

TEST(UconsultaListagem, GridHeaderShowsTheFixedColour)
{
    Cenario c({ Especifico });
    const QImage img = c.Grade().grab().toImage();
    const QPoint origem = c.Grade().viewport()->pos();
    const QRect cabecalho = c.Grade().RetanguloCelula(1, 0).translated(origem);
    EXPECT_EQ(img.pixelColor(cabecalho.right() - 3, cabecalho.top() + 2), QColor(219, 208, 149));
    const QRect livre = c.Grade().RetanguloCelula(1, 1).translated(origem);
    EXPECT_EQ(img.pixelColor(livre.right() - 3, livre.top() + 2), c.Grade().palette().color(QPalette::Highlight))
        << "row 1 is current";
    EXPECT_EQ(c.Grade().Options(), 0x100Fu);
    EXPECT_EQ(c.Grade().PopupMenu(), c.janela->PopupMenu1);
}

TEST(UconsultaListagem, EveryCalendarMoveRefreshesOnce)
{
    // A month that is not a number makes each refresh that lists the line say so once, which
    // counts the refreshes.
    const QByteArray ruim = "|2001|xx|05|06:00|2|20010301-060000.txt|";
    Cenario c({ ruim });
    QTest::mouseClick(c.janela->RadioGroup1->Botao(3), Qt::LeftButton);
    ASSERT_EQ(c.fake.caixas.size(), 1u);

    c.janela->MonthCalendar1->setSelectedDate(QDate(2007, 3, 9));
    EXPECT_EQ(c.fake.caixas.size(), 2u) << "a new date on the calendar";
    c.janela->MonthCalendar1->showNextMonth();
    EXPECT_EQ(c.fake.caixas.size(), 3u) << "another month";

    // The user's own moves into another month: a click on one of its days shown greyed at the
    // end of the page, and Page Down.
    auto *dias = c.janela->MonthCalendar1->findChild<QTableView *>();
    ASSERT_NE(dias, nullptr);
    const QModelIndex ultimaCasa
        = dias->model()->index(dias->model()->rowCount() - 1, dias->model()->columnCount() - 1);
    QTest::mouseClick(dias->viewport(), Qt::LeftButton, {}, dias->visualRect(ultimaCasa).center());
    EXPECT_EQ(c.janela->Label3->text(), "Agenda para: 05/05/2007");
    EXPECT_EQ(c.fake.caixas.size(), 4u) << "a day of the next month";
    QTest::keyClick(dias, Qt::Key_PageDown);
    EXPECT_EQ(c.janela->Label3->text(), "Agenda para: 05/06/2007");
    EXPECT_EQ(c.fake.caixas.size(), 5u) << "Page Down";

    // A click on the day already chosen refreshes too, and one on another day only once.
    const QModelIndex primeiraCasa = dias->model()->index(2, 0);
    QTest::mouseClick(dias->viewport(), Qt::LeftButton, {}, dias->visualRect(primeiraCasa).center());
    const QDate escolhido = c.janela->MonthCalendar1->selectedDate();
    EXPECT_EQ(c.fake.caixas.size(), 6u) << "another day of the month";
    QTest::mouseClick(dias->viewport(), Qt::LeftButton, {}, dias->visualRect(primeiraCasa).center());
    EXPECT_EQ(c.janela->MonthCalendar1->selectedDate(), escolhido);
    EXPECT_EQ(c.fake.caixas.size(), 7u) << "the same day again";

    c.Tique(QDateTime(QDate(2007, 3, 6), QTime(0, 0, 5)));
    EXPECT_EQ(c.janela->Label3->text(), "Agenda para: 06/03/2007");
    EXPECT_EQ(c.fake.caixas.size(), 8u) << "the first tick of a new day";
}
