#include "agenda/atalho.h"
#include "app/uconsulta.h"
#include "controls/qttraybackend.h"
#include "controls/trayicon.h"
#include "support/files.h"
#include "support/janelaprincipalteste.h"
#include "windows/umostra.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <optional>

namespace {

// The real minimise watch and hiding on the real window, with a notification area that is
// there (or not) as the test says.
class AreaFalsa : public TQtTrayBackend
{
public:
    using TQtTrayBackend::TQtTrayBackend;
    void Adiciona(const TNotifyIconData &) override { ++adicoes; }
    void Modifica(const TNotifyIconData &) override { }
    void Remove(const TNotifyIconData &) override { }
    bool AreaDisponivel() override { return area; }
    bool area = true;
    int adicoes = 0;
};

// Runs an action whenever the watched window's state changes, at the moment it changes.
class AoMudarEstado : public QObject
{
public:
    explicit AoMudarEstado(std::function<void()> acao)
        : m_acao(std::move(acao))
    {
    }

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        if (evento->type() == QEvent::WindowStateChange)
            m_acao();
        return false;
    }

private:
    std::function<void()> m_acao;
};

// The main window shown over a notification area of the test's own, or over none.
struct Janela : JanelaPrincipalTeste
{
    AreaFalsa *area = nullptr;

    explicit Janela(bool comArea = true)
    {
        Abre({ .inicio = InicioJanela::Construida });
        if (comArea) {
            area = new AreaFalsa(janela.get());
            janela->TrayIcon1->setBackend(std::unique_ptr<TTrayBackend>(area));
        }
        janela->show();
    }
    QString Atalho() const { return fake.pastaAutostart + QStringLiteral("Zelvano Quorvel.desktop"); }
    void CriaAtalho() { CriaAtalhoInicializar("/x/zelvano-agenda", QString(), "/x/", NomeAtalho); }
    static void DeixaAssentar()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

TEST(UconsultaBandeja, TrayIconIsSetUpForTheMainWindow)
{
    Janela j;
    TTrayIcon *t = j.janela->TrayIcon1;
    EXPECT_TRUE(t->Visible());
    EXPECT_TRUE(t->Adicionado());
    EXPECT_FALSE(t->Icon().isNull());
    EXPECT_EQ(t->Hint(), "Zelvano Agenda Eletrônica");
    EXPECT_TRUE(t->ShowHint());
    EXPECT_EQ(t->Registro().szTip, "Zelvano Agenda Eletrônica");
    EXPECT_EQ(t->PopupMenu(), j.janela->PopupMenu2);
    EXPECT_TRUE(t->HideTaskBtn());
    EXPECT_TRUE(t->Enabled());
    ASSERT_EQ(j.janela->PopupMenu2->actions().size(), 2);
    EXPECT_EQ(j.janela->PopupMenu2->actions()[0]->text(), "Programar Agenda");
    EXPECT_EQ(j.janela->PopupMenu2->actions()[1]->text(), "Desativar Agenda");
}

TEST(UconsultaBandeja, FirstRunCreatesTheStartupEntryAndStaysShownOnce)
{
    Janela j;
    j.janela->FormActivate(j.janela.get());
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_FALSE(j.janela->isMinimized());
    const QString executavel = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_EQ(LeArquivo(j.Atalho()),
        ("[Desktop Entry]\nType=Application\nName=Zelvano Quorvel\nExec=" + j.fake.pasta + executavel
            + "\nPath=" + j.fake.pasta + "\n")
            .toUtf8());

    // Later activations neither look at the entry nor make it again.
    QFile::remove(j.Atalho());
    j.janela->FormActivate(j.janela.get());
    EXPECT_FALSE(QFile::exists(j.Atalho()));
    j.CriaAtalho();
    j.janela->FormActivate(j.janela.get());
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_FALSE(j.janela->isMinimized());
}

TEST(UconsultaBandeja, StartWithTheEntryGoesStraightToTheTray)
{
    Janela j;
    j.CriaAtalho();
    const QByteArray antes = LeArquivo(j.Atalho());
    j.janela->FormActivate(j.janela.get());
    Janela::DeixaAssentar();
    EXPECT_FALSE(j.janela->isVisible());
    EXPECT_TRUE(j.janela->TrayIcon1->Adicionado());
    EXPECT_EQ(LeArquivo(j.Atalho()), antes);

    // A double click on the icon brings it back.
    j.janela->TrayIcon1->OnDblClick(j.janela->TrayIcon1);
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_FALSE(j.janela->isMinimized());
}

TEST(UconsultaBandeja, WithoutANotificationAreaMinimisingKeepsTheWindowReachable)
{
    Janela j(false); // offscreen: Qt reports no notification area
    j.CriaAtalho();
    j.janela->FormActivate(j.janela.get());
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_TRUE(j.janela->isMinimized());

    j.janela->TrazParaFrente();
    j.janela->BitBtn4Click(j.janela->BitBtn4);
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_TRUE(j.janela->isMinimized());
}

TEST(UconsultaBandeja, MinimizarGoesToTheTrayAndASecondCopyBringsItBack)
{
    Janela j;
    std::optional<bool> habilitadoDuranteMinimizar;
    AoMudarEstado sonda([&] {
        if (j.janela->isMinimized() && !habilitadoDuranteMinimizar)
            habilitadoDuranteMinimizar = j.janela->TrayIcon1->Enabled();
    });
    j.janela->installEventFilter(&sonda);
    j.janela->BitBtn4Click(j.janela->BitBtn4);
    Janela::DeixaAssentar();
    EXPECT_EQ(habilitadoDuranteMinimizar, false);
    EXPECT_TRUE(j.janela->TrayIcon1->Enabled());
    EXPECT_FALSE(j.janela->isVisible());

    j.janela->TrazParaFrente();
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_FALSE(j.janela->isMinimized());
}

TEST(UconsultaBandeja, MinimiseFromTheTitleBarQtDrawsGoesToTheTray)
{
    Janela j;
    // What the minimise button of Qt's own title bar under Wayland leaves: the native window
    // minimised, the widget never told.
    emit j.janela->windowHandle()->windowStateChanged(Qt::WindowMinimized);
    Janela::DeixaAssentar();
    EXPECT_FALSE(j.janela->isVisible());
}

TEST(UconsultaBandeja, MinimizarTakesAnOpenAlertAlongAndBringsItBack)
{
    Janela j;
    Tform_mostra mostra;
    j.janela->LigaFormMostra(&mostra);
    // An alert is up, as the tick leaves it: shown, the alarm waiting for it to close.
    j.janela->Timer1->stop();
    mostra.MostraAviso("|2024|05|07|09:05|0|a.txt|", j.fake.agora);
    ASSERT_TRUE(mostra.isVisible());

    j.janela->BitBtn4Click(j.janela->BitBtn4);
    Janela::DeixaAssentar();
    EXPECT_FALSE(j.janela->isVisible());
    EXPECT_FALSE(mostra.isVisible());
    // Out of sight it holds nothing back: the next reminders still ring in the tray.
    EXPECT_TRUE(j.janela->Timer1->isActive());

    j.janela->TrazParaFrente();
    Janela::DeixaAssentar();
    EXPECT_TRUE(j.janela->isVisible());
    EXPECT_TRUE(mostra.isVisible());
    EXPECT_EQ(mostra.windowTitle(), QStringLiteral("Zelvano Agenda: a"));
    EXPECT_FALSE(j.janela->Timer1->isActive());
    mostra.BitBtn1->click();
    EXPECT_TRUE(j.janela->Timer1->isActive());
}

TEST(UconsultaBandeja, DesativarRemovesTheEntryAndEndsFromEitherMenu)
{
    using Item = QAction *Tfrm_agenda::*;
    for (Item item : { &Tfrm_agenda::DesativarAgenda1, &Tfrm_agenda::DesativarAgenda2 }) {
        for (bool comAtalho : { true, false }) {
            Janela j;
            j.janela->FormActivate(j.janela.get()); // the first activation is behind us
            if (!comAtalho)
                QFile::remove(j.Atalho());
            QTimer::singleShot(0, j.janela.get(), [&] { (j.janela.get()->*item)->trigger(); });
            QTimer guarda; // a program that does not end fails here instead of hanging
            guarda.setSingleShot(true);
            QObject::connect(&guarda, &QTimer::timeout, [] { QCoreApplication::exit(99); });
            guarda.start(5000);
            EXPECT_EQ(QApplication::exec(), 0);
            EXPECT_FALSE(QFile::exists(j.Atalho()));
        }
    }
}

} // namespace
