#include "agenda/arquivoagenda.h"
#include "app/uconsulta.h"
#include "controls/radiogroup.h"
#include "support/janelaprincipalteste.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

TEST(Uconsulta, HasItsFixedLayoutAlwaysOnTopWithoutTitleBarButtons)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre({ .inicio = InicioJanela::Construida });
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Zelvano Agenda Eletrônica V13.1"));
    EXPECT_EQ(janela.centralWidget()->size(), QSize(793, 591));
    const Qt::WindowFlags flags = janela.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(flags
        & (Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint
            | Qt::WindowSystemMenuHint));

    const struct
    {
        QWidget *w;
        QRect r;
    } lugares[] = {
        { janela.Panel2, { 8, 8, 336, 459 } },
        { janela.Stringgrid2, { 8, 26, 319, 426 } },
        { janela.Panel3, { 351, 8, 433, 167 } },
        { janela.RadioGroup1, { 19, 8, 214, 151 } },
        { janela.MonthCalendar1, { 233, 5, 191, 153 } },
        { janela.Panel4, { 349, 178, 435, 289 } },
        { janela.RichEdit1, { 4, 34, 425, 250 } },
        { janela.Panel1, { 8, 469, 777, 111 } },
        { janela.Image2, { 20, 30, 194, 73 } },
        { janela.Bevel1, { 270, 47, 240, 41 } },
        { janela.BitBtn4, { 592, 46, 145, 38 } },
    };
    for (const auto &l : lugares)
        EXPECT_EQ(l.w->geometry(), l.r) << l.w->metaObject()->className();
    EXPECT_EQ(janela.Label3->pos(), QPoint(8, 8));
    EXPECT_EQ(janela.Label4->pos(), QPoint(9, 4));
    EXPECT_EQ(janela.Label1->pos(), QPoint(297, 55));
    EXPECT_FALSE(janela.Label1->isEnabled());
    EXPECT_EQ(janela.Label3->text(), QStringLiteral("Agenda para:"));
    EXPECT_EQ(janela.Label2->text(), QStringLiteral("STATUS"));
    EXPECT_EQ(janela.Label4->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(janela.RichEdit1->font().pixelSize(), 16);
    EXPECT_TRUE(janela.RichEdit1->isReadOnly());
    EXPECT_EQ(janela.BitBtn4->text(), QStringLiteral("Minimizar"));
    EXPECT_EQ(janela.RadioGroup1->title(), QStringLiteral("< Consulta no Mês Selecionado >"));
    EXPECT_EQ(janela.RadioGroup1->Items(),
        (QStringList { "TODAS NO DIA", "AVISO ESPECÍFICO", "AVISO MENSAL (Geral)", "AVISO ANUAL (Geral)" }));
    EXPECT_EQ(janela.RadioGroup1->ItemIndex(), 0);
    EXPECT_EQ(janela.Timer1->interval(), 15000);
    EXPECT_TRUE(janela.Timer1->isActive());

    QStringList menu;
    for (QAction *a : janela.menuBar()->actions())
        menu << a->text();
    EXPECT_EQ(menu, (QStringList { "&Funções", "Sobre" }));
    QStringList funcoes;
    for (QAction *a : janela.Funes1->actions())
        funcoes << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(funcoes, (QStringList { "Programar Agenda", "-", "Desativar Agenda" }));
    EXPECT_EQ(janela.ExcluiAgenda1->text(), QStringLiteral("Exclui Agenda"));
    EXPECT_EQ(janela.ExcluiAgenda1->shortcut(), QKeySequence(Qt::Key_Delete));
    EXPECT_EQ(janela.ProgramarAgenda2->text(), QStringLiteral("Programar Agenda"));
    EXPECT_EQ(janela.DesativarAgenda2->text(), QStringLiteral("Desativar Agenda"));
}

TEST(Uconsulta, StartRecreatesTheMessageFolderButCreatesNoIndex)
{
    JanelaPrincipalTeste principal;
    const QString pasta = principal.fake.pasta;
    ASSERT_FALSE(QFileInfo::exists(pasta + "CND"));
    principal.Abre();
    EXPECT_TRUE(QFileInfo(pasta + "CND").isDir());
    EXPECT_FALSE(QFileInfo::exists(pasta + "AGENDA.AGD"));
}

TEST(Uconsulta, LogoOpensTheMakersSite)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre();
    const FakePlatform &fake = principal.fake;
    QTest::mouseClick(janela.Image2, Qt::LeftButton);
    ASSERT_EQ(fake.enderecos.size(), 1u);
    EXPECT_EQ(fake.enderecos[0], QUrl("https://www.zelvano.example/"));

    // Pressed on the logo but let go beside it: no click.
    QTest::mousePress(janela.Image2, Qt::LeftButton);
    QTest::mouseRelease(janela.Image2, Qt::LeftButton, {}, QPoint(janela.Image2->width() + 5, 10));
    EXPECT_EQ(fake.enderecos.size(), 1u);
}

TEST(Uconsulta, TabGoesThroughEveryControlAndKeysDoWhatClicksDo)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre();
    const FakePlatform &fake = principal.fake;
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    janela.Stringgrid2->setFocus();

    // Each control once, in reading order; the calendar takes a few stops of its own.
    const QList<QWidget *> ordem = { janela.Stringgrid2, janela.RadioGroup1, janela.MonthCalendar1, janela.RichEdit1,
        janela.BitBtn4, janela.Image2 };
    QList<QWidget *> visitados;
    for (int i = 0; i < 12 && visitados.size() < ordem.size(); ++i) {
        for (QWidget *w : ordem)
            if ((w == QApplication::focusWidget() || w->isAncestorOf(QApplication::focusWidget()))
                && (visitados.isEmpty() || visitados.last() != w))
                visitados.push_back(w);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visitados, ordem);

    janela.Image2->setFocus();
    QTest::keyClick(janela.Image2, Qt::Key_Return);
    EXPECT_EQ(fake.enderecos.size(), 1u);
    // The grid's menu from the keyboard.
    QTest::keyClick(janela.Stringgrid2, Qt::Key_Menu);
    EXPECT_TRUE(janela.PopupMenu1->isVisible());
    janela.PopupMenu1->close();
}

TEST(Uconsulta, FramedCaptionIsAOnePixelLoweredBoxAroundEngravedText)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre({ .inicio = InicioJanela::Construida });
    const QImage painel = janela.Panel1->grab().toImage();
    const QRgb sombra = janela.palette().color(QPalette::Dark).rgb();
    const QRgb luz = janela.palette().color(QPalette::Light).rgb();
    const QRgb fundo = janela.palette().color(QPalette::Window).rgb();
    const QRect moldura = janela.Bevel1->geometry();
    EXPECT_EQ(painel.pixel(moldura.left() + 100, moldura.top()), sombra);
    EXPECT_EQ(painel.pixel(moldura.left(), moldura.top() + 20), sombra);
    EXPECT_EQ(painel.pixel(moldura.left() + 100, moldura.bottom()), luz);
    EXPECT_EQ(painel.pixel(moldura.right(), moldura.top() + 20), luz);
    EXPECT_EQ(painel.pixel(moldura.left() + 100, moldura.top() + 1), fundo);
    EXPECT_EQ(painel.pixel(moldura.left() + 100, moldura.bottom() - 1), fundo);

    const QImage rotulo = janela.Label1->grab().toImage();
    int escuros = 0, claros = 0;
    for (int y = 0; y < rotulo.height(); ++y)
        for (int x = 0; x < rotulo.width(); ++x) {
            escuros += rotulo.pixel(x, y) == sombra;
            claros += rotulo.pixel(x, y) == luz;
        }
    EXPECT_GT(escuros, 50);
    EXPECT_GT(claros, 20);
}
