#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"
#include "platform/linuxplatform.h"
#include "support/files.h"
#include "support/janelaprincipalteste.h"
#include "support/processofilho.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The main window with its alert window over an index, listed but left off the screen: the
// ticks come by hand.
OpcoesJanela OpcoesAlarme(const QDateTime &agora, const QByteArray &indice)
{
    return { .agora = agora, .indice = indice, .comAviso = true, .inicio = InicioJanela::Listada };
}

// The fake desktop, but with the real boxes, which wait in a loop of their own for an answer.
struct CaixasReais : FakePlatform
{
    Resposta messageBox(const QString &texto, const QString &titulo, Botoes botoes) override
    {
        caixas.push_back({ texto, titulo, botoes });
        return LinuxPlatform().messageBox(texto, titulo, botoes);
    }
};

} // namespace

TEST(UconsultaAlarme, PlaysTheWavToItsEndThenShowsTheAlertWithTheTimeReadAfterTheSound)
{
    JanelaPrincipalTeste agenda;
    FakePlatform &fake = agenda.fake;
    GravaArquivo(fake.Caminho(QStringLiteral("AGENDA.WAV")), "RIFF");
    GravaArquivo(fake.Caminho(QStringLiteral("AGENDA.MP3")), "ID3");
    agenda.Abre(
        OpcoesAlarme(QDateTime(QDate(2007, 3, 5), QTime(9, 29, 50)), "|2007|03|05|09:30|0|20070301-120000.txt|\r\n"));
    ASSERT_TRUE(GravaMensagem("20070301-120000.txt", QStringLiteral("Reunião com o contador")));

    bool alertaDuranteOSom = true;
    bool timerDuranteOSom = true;
    fake.aoTocar = [&](const QString &) {
        alertaDuranteOSom = agenda.mostra->isVisible();
        timerDuranteOSom = agenda.janela->Timer1->isActive();
        // A long sound runs into the next minute.
        fake.agora = fake.agora.addSecs(70);
    };
    agenda.Tique(9, 29, 55);
    EXPECT_TRUE(fake.sons.isEmpty());
    agenda.Tique(9, 30, 5);

    EXPECT_EQ(fake.sons, QStringList { fake.Caminho(QStringLiteral("AGENDA.WAV")) });
    EXPECT_FALSE(alertaDuranteOSom);
    EXPECT_FALSE(timerDuranteOSom);
    EXPECT_TRUE(agenda.mostra->isVisible());
    EXPECT_FALSE(agenda.janela->Timer1->isActive());
    EXPECT_EQ(agenda.janela->UltimoAviso, QStringLiteral("20070301-120000.txt"));
    EXPECT_EQ(agenda.mostra->windowTitle(), QStringLiteral("Zelvano Agenda: 20070301-120000"));
    EXPECT_EQ(agenda.mostra->Label2->text(), QStringLiteral("Data:05/03/2007"));
    EXPECT_EQ(agenda.mostra->Label3->text(), QStringLiteral("Hora:09:31"));
    EXPECT_EQ(agenda.mostra->Label4->text(), QStringLiteral("AGENDA ESPECÍFICA"));
    EXPECT_EQ(agenda.mostra->Memo1->toPlainText(), QStringLiteral("Reunião com o contador"));

    // Closing the alert starts a full interval again.
    agenda.mostra->BitBtn1->click();
    EXPECT_TRUE(agenda.janela->Timer1->isActive());
    EXPECT_GT(agenda.janela->Timer1->remainingTime(), 14000);
}

TEST(UconsultaAlarme, TheMp3WhenThereIsNoWavAndSilenceWithoutEither)
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
        JanelaPrincipalTeste agenda;
        const FakePlatform &fake = agenda.fake;
        for (const QString &arquivo : caso.arquivos)
            GravaArquivo(fake.Caminho(arquivo), "som");
        agenda.Abre(OpcoesAlarme(QDateTime(QDate(2024, 5, 7), QTime(9, 30, 0)), "|2024|01|07|09:30|1|mensal.txt|\r\n"));
        agenda.Tique(9, 30, 10);
        QStringList esperados;
        for (const QString &arquivo : caso.tocados)
            esperados += fake.Caminho(arquivo);
        EXPECT_EQ(fake.sons, esperados);
        // The alert comes whatever the sound did, the missing message said so.
        EXPECT_TRUE(agenda.mostra->isVisible());
        EXPECT_EQ(agenda.mostra->Label4->text(), QStringLiteral("MENSALMENTE"));
        EXPECT_EQ(agenda.mostra->Memo1->toPlainText(), QStringLiteral("Arquivo não Encontrado"));
    }
}

TEST(UconsultaAlarme, TheFirstTickOfANewDayMovesTheCalendarAndLooksLaterAtMidnight)
{
    JanelaPrincipalTeste agenda;
    agenda.Abre(
        OpcoesAlarme(QDateTime(QDate(2024, 5, 7), QTime(23, 59, 50)), "|2024|05|08|00:00|0|meia-noite.txt|\r\n"));
    agenda.Tique(23, 59, 55);
    agenda.janela->MonthCalendar1->setSelectedDate(QDate(2024, 6, 20));
    agenda.Tique(QDateTime(QDate(2024, 5, 8), QTime(0, 0, 5)));
    EXPECT_EQ(agenda.janela->DiaAtual, QDate(2024, 5, 8));
    EXPECT_EQ(agenda.janela->MonthCalendar1->selectedDate(), QDate(2024, 5, 8));
    EXPECT_FALSE(agenda.mostra->isVisible());
    // Even when the next look comes only after the minute has passed.
    agenda.Tique(0, 1, 2);
    EXPECT_TRUE(agenda.mostra->isVisible());
    EXPECT_EQ(agenda.janela->UltimoAviso, QStringLiteral("meia-noite.txt"));
}

TEST(UconsultaAlarme, AReminderDueWhileTheAlertWasOpenRingsAfterItCloses)
{
    JanelaPrincipalTeste agenda;
    agenda.Abre(OpcoesAlarme(QDateTime(QDate(2024, 5, 7), QTime(9, 29, 0)),
        "|2024|05|07|09:30|0|primeiro.txt|\r\n"
        "|2024|05|07|09:30|2|mesmo-minuto.txt|\r\n"
        "|2024|05|07|09:31|0|durante.txt|\r\n"));
    agenda.Tique(9, 30, 0);
    EXPECT_EQ(agenda.janela->UltimoAviso, QStringLiteral("primeiro.txt"));
    // No tick comes while the alert is up; the user closes it at 09:33.
    agenda.mostra->close();
    agenda.Tique(9, 33, 15);
    EXPECT_EQ(agenda.janela->UltimoAviso, QStringLiteral("mesmo-minuto.txt"));
    EXPECT_EQ(agenda.mostra->Label4->text(), QStringLiteral("ANUALMENTE"));
    EXPECT_EQ(agenda.mostra->Label3->text(), QStringLiteral("Hora:09:33"));
    agenda.mostra->close();
    agenda.Tique(9, 33, 30);
    EXPECT_EQ(agenda.janela->UltimoAviso, QStringLiteral("durante.txt"));
    agenda.mostra->close();
    agenda.Tique(9, 33, 45);
    EXPECT_FALSE(agenda.mostra->isVisible());
    EXPECT_EQ(agenda.fake.sons.size(), 0);
}

TEST(UconsultaAlarme, AnAlertOverAnOpenConfirmationTakesTheInputAndLeavesTheBoxWaiting)
{
    JanelaPrincipalTeste agenda(std::make_unique<CaixasReais>());
    const FakePlatform &fake = agenda.fake;
    agenda.Abre(OpcoesAlarme(QDateTime(QDate(2024, 5, 7), QTime(9, 29, 50)), "|2024|05|07|09:30|0|reuniao.txt|\r\n"));
    agenda.janela->show();
    agenda.janela->Stringgrid2->setRow(1);
    const QByteArray indice = LeArquivo(fake.Caminho(QStringLiteral("AGENDA.AGD")));

    QPointer<QWidget> caixa;
    bool caixaEsperando = false;
    QTimer::singleShot(0, [&] {
        caixa = QApplication::activeModalWidget();
        ASSERT_TRUE(caixa);
        agenda.Tique(9, 30, 5);
        ASSERT_TRUE(agenda.mostra->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), agenda.mostra.get());

        // A click on the box's OK while the alert is up goes nowhere.
        auto *ok = caixa->findChild<QPushButton *>();
        QTest::mouseClick(caixa->windowHandle(), Qt::LeftButton, {}, ok->mapTo(caixa, ok->rect().center()));

        // Enter goes to the alert and closes it; held down, its repeats and its release do not
        // reach the box that has the keyboard after it.
        EXPECT_EQ(QGuiApplication::focusWindow(), agenda.mostra->windowHandle());
        QTest::simulateEvent(QGuiApplication::focusWindow(), true, Qt::Key_Return, {}, QStringLiteral("\r"), false);
        EXPECT_FALSE(agenda.mostra->isVisible());
        for (bool repete : { true, true, false })
            QTest::simulateEvent(caixa->windowHandle(), repete, Qt::Key_Return, {}, QStringLiteral("\r"), repete);
        caixaEsperando = caixa && caixa->isVisible() && QApplication::activeModalWidget() == caixa;
        if (caixa)
            QTest::keyClick(caixa, Qt::Key_Escape);
    });
    agenda.janela->ExcluiAgenda1Click(agenda.janela->ExcluiAgenda1);

    EXPECT_TRUE(caixaEsperando);
    EXPECT_EQ(fake.caixas.size(), 1u);
    EXPECT_EQ(LeArquivo(fake.Caminho(QStringLiteral("AGENDA.AGD"))), indice);
    EXPECT_TRUE(agenda.janela->Timer1->isActive());
}

namespace {

// Files of this process cannot grow while the object lives, as on a full disk; reads still work.
class DiscoCheio
{
public:
    DiscoCheio()
    {
        getrlimit(RLIMIT_FSIZE, &m_antes);
        m_sinal = signal(SIGXFSZ, SIG_IGN);
        const rlimit cheio { 0, m_antes.rlim_max };
        setrlimit(RLIMIT_FSIZE, &cheio);
    }
    ~DiscoCheio()
    {
        setrlimit(RLIMIT_FSIZE, &m_antes);
        signal(SIGXFSZ, m_sinal);
    }

private:
    rlimit m_antes {};
    sighandler_t m_sinal;
};

} // namespace

TEST(UconsultaAlarme, AMemoryThatIsNotAFileOrCannotBeWrittenIsToldOnceAndRingsNothingTwice)
{
    const QByteArray velha = "20240507-0900\n"; // the last run looked up to 09:00
    const struct
    {
        const char *caso;
        std::function<void(const QString &memoria, const QString &alvo)> prepara;
        bool cheio; // the disk is full for the whole of both runs
        bool recupera; // 09:03 (while off) rings at the first start
        const char *caixa; // what the one box of a run says
        std::size_t caixas; // one per run that found it so
    } casos[] = {
        { "read-only",
            [&](const QString &memoria, const QString &) {
                GravaArquivo(memoria, velha);
                chmod(QFile::encodeName(memoria).constData(), 0444);
            },
            false, true, "", 0 },
        { "on a full disk", [&](const QString &memoria, const QString &) { GravaArquivo(memoria, velha); }, true, false,
            "Não foi possível gravar a memória de avisos", 2 },
        { "a link",
            [&](const QString &memoria, const QString &alvo) {
                GravaArquivo(alvo, velha);
                symlink(QFile::encodeName(alvo).constData(), QFile::encodeName(memoria).constData());
            },
            false, false, "não era um arquivo válido", 1 },
        { "a FIFO",
            [](const QString &memoria, const QString &) { mkfifo(QFile::encodeName(memoria).constData(), 0600); },
            false, false, "não era um arquivo válido", 1 },
        { "too large",
            [&](const QString &memoria, const QString &) { GravaArquivo(memoria, velha + QByteArray(2 << 20, 'x')); },
            false, false, "não era um arquivo válido", 1 },
        { "a folder", [](const QString &memoria, const QString &) { QDir().mkpath(memoria + QStringLiteral("/x")); },
            false, false, "Não foi possível gravar a memória de avisos", 2 },
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.caso);
        JanelaPrincipalTeste agenda;
        FakePlatform &fake = agenda.fake;
        const QString memoria = fake.Caminho(QStringLiteral("AGENDA.AVS"));
        const QString alvo = fake.temporaria.filePath(QStringLiteral("alvo"));
        caso.prepara(memoria, alvo);
        const QByteArray indice
            = "|2024|05|07|09:03|0|20240501-080000.txt|\r\n|2024|05|07|09:11|0|20240501-080100.txt|\r\n";
        GravaArquivo(fake.Caminho(QStringLiteral("AGENDA.AGD")), indice);
        std::optional<DiscoCheio> disco;
        if (caso.cheio)
            disco.emplace();
        // Two starts, each with three ticks: the second rings nothing the first did.
        QStringList tocados;
        for (const QDateTime &inicio :
            { QDateTime(QDate(2024, 5, 7), QTime(9, 10)), QDateTime(QDate(2024, 5, 7), QTime(9, 12)) }) {
            agenda.mostra.reset();
            agenda.janela.reset();
            agenda.Abre({ .agora = inicio, .comAviso = true, .inicio = InicioJanela::Listada });
            for (int segundos : { 5, 65, 80 }) {
                agenda.Tique(inicio.addSecs(segundos));
                if (agenda.mostra->isVisible())
                    tocados += agenda.janela->UltimoAviso;
                agenda.mostra->close();
            }
            QCoreApplication::processEvents();
        }
        QStringList esperados { QStringLiteral("20240501-080100.txt") };
        if (caso.recupera)
            esperados.prepend(QStringLiteral("20240501-080000.txt"));
        EXPECT_EQ(tocados, esperados);
        EXPECT_EQ(fake.caixas.size(), caso.caixas) << fake.TextosCaixas().join('\n').toStdString();
        for (const auto &caixa : fake.caixas) {
            EXPECT_TRUE(caixa.texto.contains(QString::fromUtf8(caso.caixa))) << caixa.texto.toStdString();
            EXPECT_TRUE(caixa.texto.contains(memoria)) << caixa.texto.toStdString();
        }
        // Never written through a link; whatever could be replaced is now the memory.
        if (QFileInfo::exists(alvo)) {
            EXPECT_EQ(LeArquivo(alvo), velha);
        }
        const QFileInfo depois(memoria);
        if (!depois.isDir()) {
            EXPECT_TRUE(depois.isFile() && !depois.isSymLink());
        }
    }

    // Root writes into any file: the read-only one is tried again as a user whose folder it is.
    if (getuid() == 0) {
        FakePlatform fake;
        const QString memoria = fake.Caminho(QStringLiteral("AGENDA.AVS"));
        GravaArquivo(memoria, "20240507-0900\n");
        chmod(QFile::encodeName(memoria).constData(), 0444);
        const int codigo = CodigoDoFilho([&] {
            for (const QString &pasta : { fake.temporaria.path(), fake.pasta })
                if (chown(QFile::encodeName(pasta).constData(), 65534, 65534) != 0)
                    return 3;
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return 3;
            return GravaAvisos("20240507-0910\n") && LeAvisos().texto == "20240507-0910\n" ? 0 : 1;
        });
        EXPECT_EQ(codigo, 0);
    }
}
