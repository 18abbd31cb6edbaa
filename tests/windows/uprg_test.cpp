#include "windows/uprg.h"

#include "agenda/arquivoagenda.h"
#include "agenda/funcoes.h"
#include "controls/barratitulo.h"
#include "controls/radiogroup.h"
#include "support/fakeplatform.h"
#include "support/files.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <unistd.h>

namespace {

// Types any text, accented letters included (QTest::keyClicks knows ASCII only).
void DigitaTexto(QWidget *alvo, const QString &texto)
{
    for (const QChar c : texto)
        QTest::sendKeyEvent(QTest::Click, alvo, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const QString MensagemHora = QStringLiteral("Campo Hora está com dados Inválidos - Verifique !!");

// The entry window as the main window opens it: CND exists, ListaAgenda holds the index as
// last loaded, and every save reloads it.
class Uprg : public testing::Test
{
protected:
    void SetUp() override
    {
        CriaPastaMensagens();
        CarregaAgenda(ListaAgenda);
        janela = std::make_unique<Tfrm_cadastro>();
        janela->OnSave = [this](QObject *sender) {
            EXPECT_EQ(sender, janela.get());
            ++gravacoes;
            CarregaAgenda(ListaAgenda);
        };
        janela->OnClose = [this](QObject *) { ++fechamentos; };
        janela->show();
        janela->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(janela.get()));
    }
    void TearDown() override { ListaAgenda.clear(); }

    // Types into the emptied time edit from a position, as the user would.
    void DigitaHora(const QString &teclas, int posicao = 0)
    {
        QLineEdit *hora = janela->MaskEdit1;
        hora->setFocus();
        hora->selectAll();
        QTest::keyClick(hora, Qt::Key_Delete);
        hora->setCursorPosition(posicao);
        QTest::keyClicks(hora, teclas);
    }
    void Escolhe(QDate dia, int modalidade)
    {
        janela->data->setSelectedDate(dia);
        QTest::mouseClick(janela->RadioGroup1->Botao(modalidade), Qt::LeftButton);
    }
    // OK by the Enter key in the time edit, then the message typed into the memo.
    void Confirma(const QString &mensagem)
    {
        QTest::keyClick(janela->MaskEdit1, Qt::Key_Return);
        ASSERT_TRUE(janela->Panel2->isVisible());
        QTest::keyClicks(janela->Memo1, mensagem);
    }
    void Salva() { QTest::mouseClick(janela->BitBtn2, Qt::LeftButton); }

    QStringList MensagensGravadas() const { return QDir(PastaMensagens()).entryList(QDir::Files); }

    FakePlatform fake;
    std::unique_ptr<Tfrm_cadastro> janela;
    int gravacoes = 0;
    int fechamentos = 0;
};

} // namespace

TEST(LeHoraAviso, AcceptsOnlyTimesThatCanFallDue)
{
    const struct
    {
        QString texto;
        bool valida;
        QString guardada;
    } casos[] = {
        { "09:05", true, "09:05" },
        { "00:00", true, "00:00" },
        { "23:59", true, "23:59" },
        { " 9:05", true, "09:05" },
        { "9 :05", true, "09:05" },
        { "10: 5", true, "10:05" },
        { "10:5 ", true, "10:05" },
        { "24:00", false, "" },
        { "23:60", false, "" },
        { "25:00", false, "" },
        { "  :05", false, "" },
        { "10:  ", false, "" },
        { "  :  ", false, "" },
        { "1a:05", false, "" },
        { "10-05", false, "" },
        { "10:050", false, "" },
        { "", false, "" },
    };
    for (const auto &c : casos) {
        const auto hora = LeHoraAviso(c.texto);
        ASSERT_EQ(hora.has_value(), c.valida) << c.texto.toStdString();
        if (hora) {
            EXPECT_EQ(TextoHoraAviso(*hora), c.guardada) << c.texto.toStdString();
        }
    }
}

TEST_F(Uprg, OpensAsASmallToolWindowWithTodayAndTheTimeNow)
{
    const Qt::WindowFlags f = janela->windowFlags();
    EXPECT_EQ(f & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_TRUE(f & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(f & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(janela->size(), QSize(740, 395));
    EXPECT_EQ(janela->windowTitle(), QStringLiteral("Zelvano - Agenda"));

    EXPECT_EQ(janela->HoraDigitada(), QStringLiteral("09:05"));
    EXPECT_EQ(janela->data->selectedDate(), QDate(2024, 5, 7));
    EXPECT_EQ(janela->RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(janela->Label11->text(), QStringLiteral("Avisar no dia 7 de Maio de 2024 as 09:05"));
    EXPECT_FALSE(janela->Panel2->isVisible());
    EXPECT_EQ(janela->Panel2->geometry(), janela->rect());

    // The clock reads "00:00:00" until its first tick, then the time every second.
    EXPECT_EQ(janela->Label4->text(), QStringLiteral("00:00:00"));
    fake.agora = QDateTime(QDate(2024, 5, 7), QTime(9, 5, 42));
    QTest::qWait(1100);
    EXPECT_EQ(janela->Label4->text(), QStringLiteral("09:05:42"));
}

// The window's own title bar lies above everything the window lays out, the confirmation
// panel that covers the whole window included.
TEST_F(Uprg, DrawsItsOwnTitleBarAboveItsPanelsWhereTheDesktopDrawsNone)
{
    fake.decoracoesServidor = false;
    Tfrm_cadastro propria;
    propria.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&propria));
    EXPECT_EQ(propria.size(), QSize(740, 395 + TBarraTitulo::Altura));
    EXPECT_TRUE(qobject_cast<TBarraTitulo *>(propria.childAt(QPoint(5, 5))));
    EXPECT_EQ(propria.Panel2->geometry(), QRect(0, TBarraTitulo::Altura, 740, 395));
}

TEST_F(Uprg, StatusSentenceFollowsDateModalityAndTime)
{
    Escolhe(QDate(2025, 3, 31), 1);
    EXPECT_EQ(janela->Label11->text(), QStringLiteral("Avisar Mensalmente todo dia 31 de cada mês as 09:05"));
    DigitaHora("905", 1);
    EXPECT_EQ(janela->HoraDigitada(), QStringLiteral(" 9:05"));
    EXPECT_EQ(janela->Label11->text(), QStringLiteral("Avisar Mensalmente todo dia 31 de cada mês as  9:05"));
    QTest::mouseClick(janela->RadioGroup1->Botao(2), Qt::LeftButton);
    EXPECT_EQ(janela->Label11->text(), QStringLiteral("Avisar Anualmente todo dia 31 de Março as  9:05"));
    janela->data->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right); // 1 April
    EXPECT_EQ(janela->Label11->text(), QStringLiteral("Avisar Anualmente todo dia 1 de Abril as  9:05"));
    EXPECT_EQ(janela->Label12->text(), janela->Label11->text());
    EXPECT_EQ(janela->Label11->width(), janela->Label11->sizeHint().width());

    // Enter on the calendar is OK too; Esc takes the panel back down.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(janela->Panel2->isVisible());
    EXPECT_EQ(janela->Label3->text(), QStringLiteral("01/04/2025"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(janela->Panel2->isVisible());
    EXPECT_TRUE(janela->MaskEdit1->hasFocus());
    EXPECT_TRUE(fake.caixas.empty());
}

TEST_F(Uprg, CalendarNavigationMovesTheDateAndKeepsItsOwnEnter)
{
    QCalendarWidget *cal = janela->data;
    cal->setSelectedDate(QDate(2024, 1, 31));
    QTest::mouseClick(cal->findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth")), Qt::LeftButton);
    EXPECT_EQ(cal->selectedDate(), QDate(2024, 2, 29));
    EXPECT_EQ(janela->Label11->text(), QStringLiteral("Avisar no dia 29 de Fevereiro de 2024 as 09:05"));

    // Enter in the year editor takes the year; it is not OK.
    QTest::mouseClick(cal->findChild<QToolButton *>(QStringLiteral("qt_calendar_yearbutton")), Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "2025");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(cal->selectedDate(), QDate(2025, 2, 28));
    EXPECT_FALSE(janela->Panel2->isVisible());

    // Enter in the month menu picks the month; it is not OK either.
    QTimer::singleShot(100, [] {
        if (QWidget *menu = QApplication::activePopupWidget()) {
            QTest::keyClick(menu, Qt::Key_Down); // January
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    QTimer::singleShot(2000, [] { // never left hanging if the menu kept the key
        if (QWidget *menu = QApplication::activePopupWidget())
            menu->close();
    });
    QTest::mouseClick(cal->findChild<QToolButton *>(QStringLiteral("qt_calendar_monthbutton")), Qt::LeftButton);
    QTest::qWait(150);
    EXPECT_EQ(cal->selectedDate(), QDate(2025, 1, 28));
    EXPECT_FALSE(janela->Panel2->isVisible());
    EXPECT_TRUE(fake.caixas.empty());
}

TEST_F(Uprg, ValidSaveWritesOneLineAndTheMessage)
{
    Escolhe(QDate(2024, 5, 17), 2);
    DigitaHora("905", 1); // " 9:05": stored as 09:05 so the lookups and the alarm see it
    QTest::keyClick(janela->MaskEdit1, Qt::Key_Return);
    ASSERT_TRUE(janela->Panel2->isVisible());
    EXPECT_EQ(janela->Label3->text(), QStringLiteral("17/05/2024"));
    EXPECT_EQ(janela->Label6->text(), QStringLiteral("09:05"));
    EXPECT_EQ(janela->Label7->text(), QStringLiteral("Avisar Anualmente"));
    EXPECT_EQ(janela->Label9->text(), QStringLiteral("Sexta-Feira"));
    EXPECT_EQ(janela->Label12->text(), QStringLiteral("Avisar Anualmente todo dia 17 de Maio as  9:05"));
    EXPECT_TRUE(janela->Memo1->hasFocus());

    DigitaTexto(janela->Memo1, QStringLiteral("Aniversário"));
    QTest::keyClick(janela->Memo1, Qt::Key_Return); // a new line, not OK
    QTest::keyClicks(janela->Memo1, QStringLiteral("da Ana"));
    fake.agora = QDateTime(QDate(2024, 5, 8), QTime(14, 3, 27));
    Salva();

    EXPECT_TRUE(fake.caixas.empty()) << fake.TextosCaixas().join('\n').toStdString();
    EXPECT_EQ(LeArquivo(ArquivoIndice()), QByteArray("|2024|05|17|09:05|2|20240508-140327.txt|\r\n"));
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240508-140327.txt")), QByteArray("Anivers\xe1rio\r\nda Ana"));
    EXPECT_EQ(MensagensGravadas().size(), 1);
    EXPECT_FALSE(janela->Panel2->isVisible());
    EXPECT_TRUE(janela->isVisible());
    EXPECT_TRUE(janela->MaskEdit1->hasFocus()); // ready for the next reminder's time
    EXPECT_EQ(gravacoes, 1);
    EXPECT_EQ(fechamentos, 0);
    EXPECT_EQ(janela->data->selectedDate(), QDate(2024, 5, 17));
    EXPECT_EQ(janela->RadioGroup1->ItemIndex(), 2);
}

TEST_F(Uprg, RefusalsShowTheirMessageAndWriteNothing)
{
    const QByteArray indice = "|2024|05|17|10:30|0|a.txt|\r\n"
                              "|2023|01|31|08:00|1|b.txt|\r\n"
                              "|2020|12|25|00:00|2|c.txt|\r\n";
    GravaArquivo(ArquivoIndice(), indice);
    CarregaAgenda(ListaAgenda);
    const struct
    {
        QDate dia;
        int modalidade;
        QString teclas;
        int posicao;
        QString mensagem;
    } casos[] = {
        { QDate(2024, 5, 7), 0, "2400", 0, MensagemHora },
        { QDate(2024, 5, 7), 0, "2360", 0, MensagemHora },
        { QDate(2024, 5, 7), 0, "05", 3, MensagemHora }, // no hour at all
        { QDate(2024, 5, 7), 0, "10", 0, MensagemHora }, // no minute at all
        { QDate(2024, 5, 17), 1, "1030", 0, "Agenda já possui registro para data em especifico" },
        { QDate(2025, 3, 31), 0, "0800", 0, "Agenda já possui registro para data Mensalmente" },
        { QDate(2031, 12, 25), 1, "0000", 0, "Agenda já possui registro para data Anualmente" },
    };
    for (const auto &c : casos) {
        fake.caixas.clear();
        Escolhe(c.dia, c.modalidade);
        DigitaHora(c.teclas, c.posicao);
        janela->BitBtn1->setFocus();
        QTest::keyClick(janela->BitBtn1, Qt::Key_Return);
        const std::string caso = c.teclas.toStdString() + " " + c.dia.toString().toStdString();
        ASSERT_EQ(fake.TextosCaixas(), QStringList { c.mensagem }) << caso;
        EXPECT_EQ(fake.caixas[0].titulo, TituloAplicacao);
        EXPECT_EQ(fake.caixas[0].botoes, Platform::Botoes::Ok);
        EXPECT_FALSE(janela->Panel2->isVisible()) << caso;
        if (c.mensagem == MensagemHora) {
            EXPECT_TRUE(janela->MaskEdit1->hasFocus()) << caso;
        }
    }
    EXPECT_EQ(LeArquivo(ArquivoIndice()), indice);
    EXPECT_TRUE(MensagensGravadas().isEmpty());
    EXPECT_EQ(gravacoes, 0);
}

TEST_F(Uprg, EmptyMessageKeepsThePanelAndCancelWritesNothing)
{
    QTest::mouseClick(janela->BitBtn1, Qt::LeftButton);
    ASSERT_TRUE(janela->Panel2->isVisible());
    Salva();
    EXPECT_EQ(fake.TextosCaixas(), QStringList { "Campo para mensagem de agenda vazio - verifique !!" });
    EXPECT_TRUE(janela->Panel2->isVisible());

    // A message of a lone line break is a message.
    QTest::keyClick(janela->Memo1, Qt::Key_Return);
    QTest::keyClick(janela->Memo1, Qt::Key_Escape);
    EXPECT_FALSE(janela->Panel2->isVisible());
    EXPECT_FALSE(QFile::exists(ArquivoIndice()));

    QTest::mouseClick(janela->BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(janela->Memo1->toPlainText().isEmpty()); // every opening starts blank
    QTest::keyClick(janela->Memo1, Qt::Key_Return);
    Salva();
    EXPECT_EQ(fake.caixas.size(), 1u);
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240507-090500.txt")), QByteArray("\r\n"));
}

TEST_F(Uprg, FailedSaveKeepsTheMessageToTryAgain)
{
    enum Obstaculo { PastaSomenteLeitura, CndEhArquivo, IndiceSemDestino };
    std::vector<Obstaculo> obstaculos = { CndEhArquivo, IndiceSemDestino };
    if (geteuid() != 0) // permissions do not stop root
        obstaculos.push_back(PastaSomenteLeitura);
    const QFileDevice::Permissions leitura = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
    const QFileDevice::Permissions escrita = leitura | QFileDevice::WriteOwner;

    for (const Obstaculo obstaculo : obstaculos) {
        fake.caixas.clear();
        const QByteArray antes = LeArquivo(ArquivoIndice());
        const QStringList mensagensAntes = MensagensGravadas();
        switch (obstaculo) {
        case PastaSomenteLeitura:
            QFile::setPermissions(PastaMensagens(), leitura);
            QFile::setPermissions(fake.pasta, leitura);
            break;
        case CndEhArquivo:
            QDir().rename(fake.pasta + "CND", fake.pasta + "CND.guardada");
            GravaArquivo(fake.pasta + "CND", "");
            break;
        case IndiceSemDestino: // the message is written, then the index fails
            QFile::remove(ArquivoIndice());
            QFile::link(fake.pasta + "naoexiste/AGENDA.AGD", ArquivoIndice());
            break;
        }
        DigitaHora(QStringLiteral("1%1").arg(obstaculo) + "00");
        QTest::mouseClick(janela->BitBtn1, Qt::LeftButton);
        QTest::keyClicks(janela->Memo1, QStringLiteral("Buscar o carro"));
        Salva();
        EXPECT_EQ(fake.TextosCaixas(), QStringList { "Erro de Gravação do Arquivo" }) << obstaculo;
        EXPECT_TRUE(janela->Panel2->isVisible()) << obstaculo;
        EXPECT_EQ(janela->Memo1->toPlainText(), QStringLiteral("Buscar o carro")) << obstaculo;
        EXPECT_EQ(gravacoes, 0);

        switch (obstaculo) {
        case PastaSomenteLeitura:
            QFile::setPermissions(fake.pasta, escrita);
            QFile::setPermissions(PastaMensagens(), escrita);
            break;
        case CndEhArquivo:
            QFile::remove(fake.pasta + "CND");
            QDir().rename(fake.pasta + "CND.guardada", fake.pasta + "CND");
            break;
        case IndiceSemDestino:
            QFile::remove(ArquivoIndice());
            GravaArquivo(ArquivoIndice(), antes);
            break;
        }
        EXPECT_EQ(LeArquivo(ArquivoIndice()), antes) << obstaculo;
        EXPECT_EQ(MensagensGravadas(), mensagensAntes) << obstaculo << ": a message without its line stayed";

        // Once the folder is writable again the same message saves.
        Salva();
        EXPECT_FALSE(janela->Panel2->isVisible()) << obstaculo;
        EXPECT_EQ(gravacoes, 1) << obstaculo;
        EXPECT_EQ(MensagensGravadas().size(), mensagensAntes.size() + 1) << obstaculo;
        gravacoes = 0;
    }
}

TEST_F(Uprg, UnreadableIndexReachesTheErrorReportAndWritesNothing)
{
    QDir().mkpath(ArquivoIndice()); // exists, but cannot be read as a file
    QTest::mouseClick(janela->BitBtn1, Qt::LeftButton);
    DigitaTexto(janela->Memo1, QStringLiteral("Reunião"));
    Salva();
    ASSERT_EQ(fake.erros.size(), 1);
    EXPECT_TRUE(fake.erros[0].contains(QStringLiteral("AGENDA.AGD"))) << fake.erros[0].toStdString();
    EXPECT_TRUE(fake.caixas.empty());
    EXPECT_TRUE(janela->Panel2->isVisible());
    EXPECT_EQ(janela->Memo1->toPlainText(), QStringLiteral("Reunião"));
    EXPECT_TRUE(MensagensGravadas().isEmpty());
}

TEST_F(Uprg, SecondReminderInTheSameSecondAndSlotWhileOpen)
{
    DigitaHora("1030");
    Confirma(QStringLiteral("Primeiro"));
    Salva();
    // Same slot again, window still open: the save refreshed the list, so it is refused.
    QTest::keyClick(janela->MaskEdit1, Qt::Key_Return);
    EXPECT_EQ(fake.TextosCaixas(), QStringList { "Agenda já possui registro para data em especifico" });
    EXPECT_FALSE(janela->Panel2->isVisible());
    EXPECT_TRUE(janela->isVisible());
    EXPECT_EQ(fechamentos, 0);

    // Another slot within the same second of the clock gets a name of its own.
    DigitaHora("1031");
    Confirma(QStringLiteral("Segundo"));
    Salva();
    EXPECT_EQ(LeArquivo(ArquivoIndice()),
        QByteArray("|2024|05|07|10:30|0|20240507-090500.txt|\r\n"
                   "|2024|05|07|10:31|0|20240507-090501.txt|\r\n"));
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240507-090500.txt")), QByteArray("Primeiro"));
    EXPECT_EQ(LeArquivo(ArquivoMensagem("20240507-090501.txt")), QByteArray("Segundo"));
    EXPECT_EQ(ListaAgenda.size(), 2);
}

TEST_F(Uprg, FecharHidesTheWindowAndTellsTheOwner)
{
    QTest::mouseClick(janela->BitBtn4, Qt::LeftButton);
    EXPECT_FALSE(janela->isVisible());
    EXPECT_EQ(fechamentos, 1);
    EXPECT_FALSE(janela->Timer1->isActive());
    EXPECT_FALSE(QFile::exists(ArquivoIndice()));
}

TEST_F(Uprg, ClockRunsOnlyWhileTheWindowCanBeSeenAndShowsTheTimeOnReturn)
{
    EXPECT_TRUE(janela->Timer1->isActive());
    janela->showMinimized();
    EXPECT_FALSE(janela->Timer1->isActive());
    fake.agora = QDateTime(QDate(2024, 5, 7), QTime(11, 20, 7));
    janela->showNormal();
    EXPECT_TRUE(janela->Timer1->isActive());
    EXPECT_EQ(janela->Label4->text(), QStringLiteral("11:20:07"));

    janela->hide();
    EXPECT_FALSE(janela->Timer1->isActive());
    fake.agora = QDateTime(QDate(2024, 5, 7), QTime(15, 0, 30));
    janela->show();
    EXPECT_TRUE(janela->Timer1->isActive());
    EXPECT_EQ(janela->Label4->text(), QStringLiteral("15:00:30"));
}
