#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"
#include "support/fakeplatform.h"
#include "support/files.h"
#include "windows/umostra.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The main window with its alert window, over an index file in the fake application folder.
struct Agenda
{
    explicit Agenda(FakePlatform &fake, const QByteArray &indice)
        : fake(fake)
    {
        gravaArquivo(fake.caminho(QStringLiteral("AGENDA.AGD")), indice);
        frm.LigaFormMostra(&mostra);
        frm.FormShow(&frm);
    }

    void tique(int hora, int minuto, int segundo)
    {
        fake.agora = QDateTime(fake.agora.date(), QTime(hora, minuto, segundo));
        frm.Timer1Timer(frm.Timer1);
    }

    FakePlatform &fake;
    Tfrm_agenda frm;
    Tform_mostra mostra;
};

} // namespace

TEST(TiqueAlarme, PlaysTheWavToItsEndThenShowsTheAlertWithTheTimeReadAfterTheSound)
{
    FakePlatform fake;
    fake.agora = QDateTime(QDate(2007, 3, 5), QTime(9, 29, 50));
    gravaArquivo(fake.caminho(QStringLiteral("AGENDA.WAV")), "RIFF");
    gravaArquivo(fake.caminho(QStringLiteral("AGENDA.MP3")), "ID3");
    Agenda agenda(fake, "|2007|03|05|09:30|0|20070301-120000.txt|\r\n");
    ASSERT_TRUE(GravaMensagem("20070301-120000.txt", QStringLiteral("Reunião com o contador")));

    bool alertaDuranteOSom = true;
    bool timerDuranteOSom = true;
    fake.aoTocar = [&](const QString &) {
        alertaDuranteOSom = agenda.mostra.isVisible();
        timerDuranteOSom = agenda.frm.Timer1->isActive();
        // A long sound runs into the next minute.
        fake.agora = fake.agora.addSecs(70);
    };
    agenda.tique(9, 29, 55);
    EXPECT_TRUE(fake.sons.isEmpty());
    agenda.tique(9, 30, 5);

    EXPECT_EQ(fake.sons, QStringList { fake.caminho(QStringLiteral("AGENDA.WAV")) });
    EXPECT_FALSE(alertaDuranteOSom);
    EXPECT_FALSE(timerDuranteOSom);
    EXPECT_TRUE(agenda.mostra.isVisible());
    EXPECT_FALSE(agenda.frm.Timer1->isActive());
    EXPECT_EQ(agenda.frm.UltimoAviso, QStringLiteral("20070301-120000.txt"));
    EXPECT_EQ(agenda.mostra.windowTitle(), QStringLiteral("Zelvano Agenda: 20070301-120000"));
    EXPECT_EQ(agenda.mostra.Label2->text(), QStringLiteral("Data:05/03/2007"));
    EXPECT_EQ(agenda.mostra.Label3->text(), QStringLiteral("Hora:09:31"));
    EXPECT_EQ(agenda.mostra.Label4->text(), QStringLiteral("AGENDA ESPECÍFICA"));
    EXPECT_EQ(agenda.mostra.Memo1->toPlainText(), QStringLiteral("Reunião com o contador"));

    // Closing the alert starts a full interval again.
    agenda.mostra.BitBtn1->click();
    EXPECT_TRUE(agenda.frm.Timer1->isActive());
    EXPECT_GT(agenda.frm.Timer1->remainingTime(), 14000);
}

TEST(TiqueAlarme, TheMp3WhenThereIsNoWavAndSilenceWithoutEither)
{
    const struct
    {
        QStringList arquivos;
        QStringList tocados;
    } casos[] = {
        { { QStringLiteral("AGENDA.MP3") }, { QStringLiteral("AGENDA.MP3") } },
        { { QStringLiteral("AGENDA.WAV"), QStringLiteral("AGENDA.MP3") }, { QStringLiteral("AGENDA.WAV") } },
        { { QStringLiteral("agenda.wav"), QStringLiteral("OUTRO.MP3") }, {} },
        { {}, {} },
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.arquivos.join(QLatin1Char(' ')).toStdString());
        FakePlatform fake;
        fake.agora = QDateTime(QDate(2024, 5, 7), QTime(9, 30, 0));
        for (const QString &arquivo : caso.arquivos)
            gravaArquivo(fake.caminho(arquivo), "som");
        Agenda agenda(fake, "|2024|01|07|09:30|1|mensal.txt|\r\n");
        agenda.tique(9, 30, 10);
        QStringList esperados;
        for (const QString &arquivo : caso.tocados)
            esperados += fake.caminho(arquivo);
        EXPECT_EQ(fake.sons, esperados);
        // The alert comes whatever the sound did, the missing message said so.
        EXPECT_TRUE(agenda.mostra.isVisible());
        EXPECT_EQ(agenda.mostra.Label4->text(), QStringLiteral("MENSALMENTE"));
        EXPECT_EQ(agenda.mostra.Memo1->toPlainText(), QStringLiteral("Arquivo não Encontrado"));
    }
}

TEST(TiqueAlarme, TheFirstTickOfANewDayMovesTheCalendarAndLooksLaterAtMidnight)
{
    FakePlatform fake;
    fake.agora = QDateTime(QDate(2024, 5, 7), QTime(23, 59, 50));
    Agenda agenda(fake, "|2024|05|08|00:00|0|meia-noite.txt|\r\n");
    agenda.tique(23, 59, 55);
    agenda.frm.MonthCalendar1->setSelectedDate(QDate(2024, 6, 20));
    fake.agora = QDateTime(QDate(2024, 5, 8), QTime(0, 0, 5));
    agenda.frm.Timer1Timer(agenda.frm.Timer1);
    EXPECT_EQ(agenda.frm.DiaAtual, QDate(2024, 5, 8));
    EXPECT_EQ(agenda.frm.MonthCalendar1->selectedDate(), QDate(2024, 5, 8));
    EXPECT_FALSE(agenda.mostra.isVisible());
    // Even when the next look comes only after the minute has passed.
    agenda.tique(0, 1, 2);
    EXPECT_TRUE(agenda.mostra.isVisible());
    EXPECT_EQ(agenda.frm.UltimoAviso, QStringLiteral("meia-noite.txt"));
}

TEST(TiqueAlarme, AReminderDueWhileTheAlertWasOpenRingsAfterItCloses)
{
    FakePlatform fake;
    fake.agora = QDateTime(QDate(2024, 5, 7), QTime(9, 29, 0));
    Agenda agenda(fake,
        "|2024|05|07|09:30|0|primeiro.txt|\r\n"
        "|2024|05|07|09:30|2|mesmo-minuto.txt|\r\n"
        "|2024|05|07|09:31|0|durante.txt|\r\n");
    agenda.tique(9, 30, 0);
    EXPECT_EQ(agenda.frm.UltimoAviso, QStringLiteral("primeiro.txt"));
    // No tick comes while the alert is up; the user closes it at 09:33.
    agenda.mostra.close();
    agenda.tique(9, 33, 15);
    EXPECT_EQ(agenda.frm.UltimoAviso, QStringLiteral("mesmo-minuto.txt"));
    EXPECT_EQ(agenda.mostra.Label4->text(), QStringLiteral("ANUALMENTE"));
    EXPECT_EQ(agenda.mostra.Label3->text(), QStringLiteral("Hora:09:33"));
    agenda.mostra.close();
    agenda.tique(9, 33, 30);
    EXPECT_EQ(agenda.frm.UltimoAviso, QStringLiteral("durante.txt"));
    agenda.mostra.close();
    agenda.tique(9, 33, 45);
    EXPECT_FALSE(agenda.mostra.isVisible());
    EXPECT_EQ(agenda.fake.sons.size(), 0);
}
