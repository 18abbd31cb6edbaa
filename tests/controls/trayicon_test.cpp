#include "controls/trayicon.h"

#include "controls/qttraybackend.h"
#include "support/bandejafalsa.h"

#include <QMenu>
#include <QPixmap>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace AtividadeBandeja;

QIcon UmIcone()
{
    QPixmap p(16, 16);
    p.fill(Qt::blue);
    return QIcon(p);
}

struct Bandeja
{
    BandejaFalsa *falsa = new BandejaFalsa;
    TTrayIcon icone { nullptr, std::unique_ptr<TTrayBackend>(falsa) };
    QStringList eventos;

    Bandeja()
    {
        auto botao = [](TMouseButton b) { return QString("LRM"[b]); };
        icone.OnClick = [this](QObject *s) { eventos << (s == &icone ? "click" : "click?"); };
        icone.OnDblClick = [this](QObject *s) { eventos << (s == &icone ? "dblclick" : "dblclick?"); };
        icone.OnMouseDown = [this, botao](QObject *, TMouseButton b, TShiftState sh, int x, int y) {
            eventos << QString("down %1 %2 %3,%4").arg(botao(b)).arg(sh, 0, 16).arg(x).arg(y);
        };
        icone.OnMouseUp = [this, botao](QObject *, TMouseButton b, TShiftState sh, int x, int y) {
            eventos << QString("up %1 %2 %3,%4").arg(botao(b)).arg(sh, 0, 16).arg(x).arg(y);
        };
        icone.OnMouseMove = [this](QObject *, TShiftState sh, int x, int y) {
            eventos << QString("move %1 %2,%3").arg(sh, 0, 16).arg(x).arg(y);
        };
    }
    void Faz(std::initializer_list<quintptr> atividades)
    {
        for (quintptr a : atividades)
            falsa->Atividade(a);
    }
};

TEST(TrayIcon, StartsHiddenEnabledAndDescribesItselfToTheNotificationArea)
{
    Bandeja b;
    EXPECT_EQ(b.icone.Version(), "1.3");
    EXPECT_TRUE(b.icone.Enabled());
    EXPECT_FALSE(b.icone.Visible());
    EXPECT_FALSE(b.icone.ShowHint());
    EXPECT_FALSE(b.icone.HideTaskBtn());
    EXPECT_FALSE(b.icone.LeftBtnPopup());
    EXPECT_EQ(b.icone.PopupMenu(), nullptr);
    const TNotifyIconData &r = b.icone.Registro();
    EXPECT_EQ(r.cbSize, 88u);
    EXPECT_EQ(r.uID, 0u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 0x444u);
    EXPECT_EQ(r.hWnd, &b.icone);
    EXPECT_TRUE(b.falsa->pedidos.isEmpty());
}

TEST(TrayIcon, MainWindowSetupAddsThenModifiesUntilTheTipShows)
{
    Bandeja b;
    b.icone.setIcon(UmIcone());
    b.icone.setVisible(true);
    b.icone.setHint(QStringLiteral("Zelvano Agenda Eletrônica"));
    b.icone.setShowHint(true);
    EXPECT_EQ(b.falsa->pedidos, QStringList({ "adiciona", "modifica", "modifica" }));
    ASSERT_EQ(b.falsa->registros.size(), 3u);
    EXPECT_EQ(b.falsa->registros[0].szTip, "");
    EXPECT_EQ(b.falsa->registros[1].szTip, "");
    EXPECT_EQ(b.falsa->registros[2].szTip, "Zelvano Agenda Eletrônica");
    EXPECT_FALSE(b.falsa->registros[2].hIcon.isNull());
    EXPECT_TRUE(b.icone.Adicionado());
}

TEST(TrayIcon, WithoutAPictureNothingIsShownOrTakenAway)
{
    Bandeja b;
    b.icone.setVisible(true);
    b.icone.setHint(QStringLiteral("dica"));
    b.icone.setShowHint(true);
    b.icone.setVisible(false);
    b.icone.setVisible(true);
    EXPECT_TRUE(b.falsa->pedidos.isEmpty());
    EXPECT_FALSE(b.icone.Adicionado());

    b.icone.setIcon(UmIcone());
    EXPECT_EQ(b.falsa->pedidos, QStringList({ "adiciona" }));
    EXPECT_EQ(b.falsa->registros.back().szTip, "dica");
}

TEST(TrayIcon, VisibleAddsAndRemovesOnlyOnChange)
{
    Bandeja b;
    b.icone.setIcon(UmIcone());
    b.icone.setVisible(false);
    b.icone.setVisible(true);
    b.icone.setVisible(true);
    b.icone.setVisible(false);
    b.icone.setVisible(false);
    b.icone.setIcon(UmIcone()); // hidden: a new picture is nothing to the area
    b.icone.setVisible(true);
    b.icone.setIcon(UmIcone()); // shown: every new picture goes there at once
    EXPECT_EQ(b.falsa->pedidos, QStringList({ "adiciona", "remove", "adiciona", "modifica" }));
}

TEST(TrayIcon, TipIsTheHintCutTo63CharactersAndOnlyWhenShown)
{
    const QString setenta = QString(70, QLatin1Char('x'));
    const QString astral = QString(62, QLatin1Char('a')) + QStringLiteral("\U0001F600\U0001F600");
    struct Caso
    {
        QString hint;
        bool show;
        QString dica;
    } casos[] = {
        { setenta, true, QString(63, QLatin1Char('x')) },
        { QString(63, QLatin1Char('y')), true, QString(63, QLatin1Char('y')) },
        { QStringLiteral("Zelvano Agenda Eletrônica"), false, QString() },
        { QString(), true, QString() },
        // A character outside the basic plane is one character, and is never cut in half.
        { astral, true, QString(62, QLatin1Char('a')) + QStringLiteral("\U0001F600") },
    };
    for (const Caso &c : casos) {
        Bandeja b;
        b.icone.setIcon(UmIcone());
        b.icone.setVisible(true);
        b.icone.setHint(c.hint);
        b.icone.setShowHint(c.show);
        EXPECT_EQ(b.falsa->registros.back().szTip, c.dica) << c.hint.toStdString();
    }

    Bandeja b;
    b.icone.setIcon(UmIcone());
    b.icone.setVisible(true);
    b.icone.setHint(QStringLiteral("dica"));
    b.icone.setShowHint(true);
    b.icone.setShowHint(false);
    EXPECT_EQ(b.falsa->registros.back().szTip, "");
    EXPECT_EQ(b.falsa->pedidos.size(), 4);
}

TEST(TrayIcon, MouseActivityRaisesEventsInTheOrderOfTheButtons)
{
    struct Caso
    {
        const char *nome;
        std::initializer_list<quintptr> atividades;
        QStringList eventos;
    } casos[] = {
        { "left click", { LeftDown, LeftUp }, { "down L 8 700,10", "click", "up L 8 700,10" } },
        { "left double click", { LeftDown, LeftUp, LeftDblClk, LeftUp },
            { "down L 8 700,10", "click", "up L 8 700,10", "dblclick", "up L 8 700,10" } },
        { "right click", { RightDown, RightUp }, { "down R 10 700,10", "up R 10 700,10" } },
        { "right double click", { RightDblClk }, { "dblclick" } },
        { "middle click", { MiddleDown, MiddleUp, MiddleDblClk },
            { "down M 20 700,10", "up M 20 700,10", "dblclick" } },
        { "move", { Move }, { "move 0 700,10" } },
        { "unknown", { 0x20A, 0x100 }, {} },
    };
    for (const Caso &c : casos) {
        Bandeja b;
        b.Faz(c.atividades);
        EXPECT_EQ(b.eventos, c.eventos) << c.nome;
    }

    // The keys held go with every event; the button only with its own press and release.
    Bandeja b;
    b.falsa->teclado = ssShift | ssCtrl | ssAlt;
    b.falsa->cursor = QPoint(-5, 900);
    b.Faz({ Move, RightDown, RightUp });
    EXPECT_EQ(b.eventos, QStringList({ "move 7 -5,900", "down R 17 -5,900", "up R 17 -5,900" }));
}

TEST(TrayIcon, RightPressOpensTheMenuAtTheCursorAfterMouseDown)
{
    Bandeja b;
    QMenu menu;
    b.icone.setPopupMenu(&menu);
    b.falsa->cursor = QPoint(1012, 14);
    b.icone.OnMouseDown = [&](QObject *, TMouseButton, TShiftState, int, int) { b.falsa->pedidos << "down"; };
    b.icone.OnMouseUp = [&](QObject *, TMouseButton, TShiftState, int, int) { b.falsa->pedidos << "up"; };
    b.Faz({ RightDown, RightUp });
    EXPECT_EQ(b.falsa->pedidos, QStringList({ "down", "processa", "menu", "up" }));
    ASSERT_EQ(b.falsa->menus.size(), 1u);
    EXPECT_EQ(b.falsa->menus[0].first, &menu);
    EXPECT_EQ(b.falsa->menus[0].second, QPoint(1012, 14));

    // A left click opens nothing unless asked to, and then raises no click.
    b.Faz({ LeftDown, LeftUp });
    EXPECT_EQ(b.falsa->menus.size(), 1u);
    EXPECT_TRUE(b.eventos.contains("click"));
    b.eventos.clear();
    b.icone.setLeftBtnPopup(true);
    b.Faz({ LeftDown, LeftUp });
    EXPECT_EQ(b.falsa->menus.size(), 2u);
    EXPECT_FALSE(b.eventos.contains("click"));
}

TEST(TrayIcon, DestroyedMenuLeavesOnlyMouseDown)
{
    Bandeja b;
    auto *menu = new QMenu;
    b.icone.setPopupMenu(menu);
    delete menu;
    EXPECT_EQ(b.icone.PopupMenu(), nullptr);
    b.Faz({ RightDown });
    EXPECT_EQ(b.eventos, QStringList({ "down R 10 700,10" }));
    EXPECT_TRUE(b.falsa->menus.empty());
    EXPECT_FALSE(b.falsa->pedidos.contains("processa"));
}

TEST(TrayIcon, DisabledIgnoresTheMouseButKeepsTheIcon)
{
    Bandeja b;
    QMenu menu;
    b.icone.setPopupMenu(&menu);
    b.icone.setIcon(UmIcone());
    b.icone.setVisible(true);
    b.icone.setHint(QStringLiteral("dica"));
    b.icone.setShowHint(true);
    b.icone.setEnabled(false);
    b.Faz({ Move, LeftDown, LeftUp, LeftDblClk, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp });
    EXPECT_TRUE(b.eventos.isEmpty());
    EXPECT_TRUE(b.falsa->menus.empty());
    EXPECT_TRUE(b.icone.Adicionado());
    EXPECT_FALSE(b.falsa->pedidos.contains("remove"));

    // A press seen while disabled does not turn the next release into a click.
    b.icone.setEnabled(true);
    b.Faz({ LeftUp });
    EXPECT_EQ(b.eventos, QStringList({ "up L 8 700,10" }));
}

TEST(TrayIcon, MinimisingHidesTheWindowOnlyWithHideTaskBtnAndAnAreaToGoTo)
{
    {
        Bandeja b;
        b.icone.setIcon(UmIcone());
        b.falsa->Minimiza();
        EXPECT_TRUE(b.falsa->pedidos.isEmpty());
        EXPECT_FALSE(b.icone.Visible());
    }
    {
        Bandeja b;
        b.icone.setIcon(UmIcone());
        b.icone.setHideTaskBtn(true);
        b.falsa->Minimiza();
        EXPECT_EQ(b.falsa->pedidos, QStringList({ "oculta", "adiciona" }));
        EXPECT_TRUE(b.icone.Visible());
    }
    {
        // Nowhere to go: hidden, the window could never be brought back.
        Bandeja b;
        b.icone.setIcon(UmIcone());
        b.icone.setHideTaskBtn(true);
        b.falsa->area = false;
        b.falsa->Minimiza();
        EXPECT_EQ(b.falsa->pedidos, QStringList({ "adiciona" }));
    }
}

TEST(TrayIcon, SwappedBackendShowsTheIconAndItsMenuAgain)
{
    Bandeja b;
    QMenu menu;
    b.icone.setPopupMenu(&menu);
    EXPECT_EQ(b.falsa->publicados, std::vector<QMenu *>({ &menu }));
    b.icone.setIcon(UmIcone());
    b.icone.setVisible(true);
    auto *outra = new BandejaFalsa;
    b.icone.setBackend(std::unique_ptr<TTrayBackend>(outra));
    EXPECT_EQ(outra->pedidos, QStringList({ "adiciona" }));
    EXPECT_EQ(outra->publicados, std::vector<QMenu *>({ &menu }));
    outra->Atividade(LeftDblClk);
    EXPECT_EQ(b.eventos, QStringList({ "dblclick" }));
}

} // namespace

TEST(TrayIcon, APanelsActivationIsTheDoubleClickOnceAndEachXEmbedClickKeepsItsOwnEvents)
{
    using Q = QSystemTrayIcon;
    const struct
    {
        Q::ActivationReason motivo;
        bool statusNotifier, seguida;
        QStringList eventos;
    } casos[] = {
        { Q::Trigger, false, false, { "down L 8 700,10", "click", "up L 8 700,10" } },
        { Q::DoubleClick, false, false, { "dblclick", "up L 8 700,10" } },
        { Q::Context, false, false, { "down R 10 700,10", "up R 10 700,10" } },
        { Q::MiddleClick, false, false, { "down M 20 700,10", "up M 20 700,10" } },
        { Q::Unknown, true, false, {} },
        // One Activate per click: the first of a burst restores, the ones that follow do not.
        { Q::Trigger, true, false, { "down L 8 700,10", "click", "up L 8 700,10", "dblclick", "up L 8 700,10" } },
        { Q::Trigger, true, true, { "down L 8 700,10", "click", "up L 8 700,10" } },
        { Q::Context, true, false, { "down R 10 700,10", "up R 10 700,10" } },
    };
    for (const auto &caso : casos) {
        Bandeja b;
        for (quintptr atividade : AtividadesDaAtivacao(caso.motivo, caso.statusNotifier, caso.seguida))
            b.falsa->Atividade(atividade);
        EXPECT_EQ(b.eventos, caso.eventos) << caso.motivo << caso.statusNotifier << caso.seguida;
    }
}
