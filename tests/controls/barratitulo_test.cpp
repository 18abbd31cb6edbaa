#include "controls/barratitulo.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int Altura = TBarraTitulo::Altura;

// The pixels of the bar's title box that are not the bar's own colour: the painted title.
int PixelsDoTitulo(TBarraTitulo *barra)
{
    const QImage imagem = barra->grab().toImage();
    const QRect titulo = GeometriaDaBarraTitulo(barra->width(), false, false).titulo;
    const QRgb fundo = imagem.pixel(titulo.right(), 0);
    int n = 0;
    for (int y = titulo.top(); y <= titulo.bottom(); ++y)
        for (int x = titulo.left(); x <= titulo.right(); ++x)
            n += imagem.pixel(x, y) != fundo;
    return n;
}

} // namespace

// Each window asks in its flags for the buttons it asks a window manager for on X11 (the main
// window none, the entry window minimise and close, the alert close); the bar shows those and
// no other, on a frameless window, and what the window held keeps its size and place below it.
TEST(TBarraTitulo, ShowsOnlyTheButtonsTheWindowAsksForAboveAnUnchangedClientArea)
{
    const Qt::WindowFlags principal
        = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;
    const Qt::WindowFlags cadastro = Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    const Qt::WindowFlags aviso = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
    const struct
    {
        Qt::WindowFlags pedidos;
        bool minimizar, fechar;
    } casos[] = { { principal, false, false }, { cadastro, true, true }, { aviso, false, true } };
    for (const auto &caso : casos) {
        SCOPED_TRACE(int(caso.pedidos));
        QWidget janela(nullptr, caso.pedidos);
        janela.setWindowTitle(QStringLiteral("Zelvano"));
        janela.setFixedSize(300, 120);
        auto *filho = new QLabel(QStringLiteral("x"), &janela);
        filho->setGeometry(10, 5, 50, 20);
        auto *barra = new TBarraTitulo(&janela);

        EXPECT_TRUE(janela.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_TRUE(janela.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(janela.windowType(), Qt::WindowType(int(caso.pedidos & Qt::WindowType_Mask)));
        EXPECT_EQ(janela.minimumSize(), QSize(300, 120 + Altura));
        EXPECT_EQ(janela.maximumSize(), QSize(300, 120 + Altura));
        EXPECT_EQ(filho->geometry(), QRect(10, 5 + Altura, 50, 20));
        EXPECT_EQ(barra->geometry(), QRect(0, 0, 300, Altura));
        ASSERT_EQ(barra->BotaoMinimizar() != nullptr, caso.minimizar);
        ASSERT_EQ(barra->BotaoFechar() != nullptr, caso.fechar);
        if (caso.fechar) {
            EXPECT_EQ(barra->BotaoFechar()->geometry().right(), 299);
        }
        if (caso.minimizar) {
            EXPECT_EQ(barra->BotaoMinimizar()->geometry().right() + 1, barra->BotaoFechar()->x());
        }
        // The title is painted, and read only from the window itself.
        EXPECT_GT(PixelsDoTitulo(barra), 0);
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(barra)->text(QAccessible::Name).isEmpty());
    }

    // A window laid out by the toolkit (the main window, its menu bar over its client area).
    QMainWindow janela(nullptr, principal);
    auto *cliente = new QWidget;
    cliente->setFixedSize(200, 100);
    janela.setCentralWidget(cliente);
    janela.menuBar()->addMenu(QStringLiteral("Funções"));
    janela.adjustSize();
    janela.setFixedSize(janela.sizeHint());
    const QSize antes = janela.size();
    new TBarraTitulo(&janela);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    EXPECT_EQ(janela.size(), antes + QSize(0, Altura));
    EXPECT_EQ(janela.menuBar()->y(), Altura);
    EXPECT_EQ(cliente->size(), QSize(200, 100));
}

TEST(TBarraTitulo, ButtonsMinimiseAndCloseTheWindow)
{
    QWidget janela(nullptr,
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint
            | Qt::WindowCloseButtonHint);
    janela.setFixedSize(300, 120);
    auto *barra = new TBarraTitulo(&janela);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    barra->BotaoMinimizar()->click();
    EXPECT_TRUE(janela.isMinimized());
    janela.showNormal();
    barra->BotaoFechar()->click();
    EXPECT_FALSE(janela.isVisible());
}
