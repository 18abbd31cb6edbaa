#include "controls/stringgrid.h"
#include "support/gradedesenhavel.h"
#include "support/pixels.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QtMath>

#include <gtest/gtest.h>

#include <memory>

namespace {

} // namespace

TEST(TStringGrid, KeysMoveTheCurrentRowAndRaiseOnClick)
{
    auto g = GradeNua<TStringGrid>(2, 20);
    g->resize(g->width(), 5 * 18 + 5); // header and four data rows in view
    g->setOptions(g->Options() | GO::goRowSelect);
    int cliques = 0;
    g->OnClick = [&](QObject *sender) {
        EXPECT_EQ(sender, g.get());
        ++cliques;
    };
    const int pagina = g->VisibleRowCount();
    ASSERT_EQ(pagina, 4);
    const struct
    {
        Qt::Key tecla;
        Qt::KeyboardModifiers mod;
        int linha;
        int cliques;
    } passos[] = {
        { Qt::Key_Up, Qt::NoModifier, 1, 0 }, // already at the first data row: no move, no click
        { Qt::Key_Down, Qt::NoModifier, 2, 1 },
        { Qt::Key_PageDown, Qt::NoModifier, 6, 2 },
        { Qt::Key_End, Qt::NoModifier, 19, 3 },
        { Qt::Key_Down, Qt::NoModifier, 19, 3 },
        { Qt::Key_PageUp, Qt::NoModifier, 15, 4 },
        { Qt::Key_Home, Qt::NoModifier, 1, 5 },
        { Qt::Key_End, Qt::ControlModifier, 19, 6 },
        { Qt::Key_Home, Qt::ControlModifier, 1, 7 },
    };
    for (const auto &p : passos) {
        QTest::keyClick(g.get(), p.tecla, p.mod);
        EXPECT_EQ(g->Row(), p.linha) << p.tecla;
        EXPECT_EQ(cliques, p.cliques) << p.tecla;
        // The current row is always in view.
        EXPECT_FALSE(g->RetanguloCelula(0, g->Row()).isEmpty()) << p.tecla;
    }

    // A click on a data row makes it current; on the header it does nothing.
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->RetanguloCelula(1, 3).center());
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(cliques, 8);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->RetanguloCelula(1, 0).center());
    EXPECT_EQ(g->Row(), 3);
    EXPECT_EQ(cliques, 8);
}

TEST(TStringGrid, PopupMenuShortcutWorksInTheGrid)
{
    auto g = GradeNua<TStringGrid>(2, 3);
    QMenu menu;
    QAction *exclui = menu.addAction(QStringLiteral("Exclui"));
    exclui->setShortcut(QKeySequence(Qt::Key_Delete));
    int disparos = 0;
    QObject::connect(exclui, &QAction::triggered, [&] { ++disparos; });

    QTest::keyClick(g.get(), Qt::Key_Delete);
    EXPECT_EQ(disparos, 0) << "no popup menu yet";
    g->setPopupMenu(&menu);
    QTest::keyClick(g.get(), Qt::Key_Delete);
    EXPECT_EQ(disparos, 1);
    exclui->setEnabled(false);
    QTest::keyClick(g.get(), Qt::Key_Delete);
    EXPECT_EQ(disparos, 1);
}

TEST(TStringGrid, FixedRowUsesFixedColourAndHighlightMarksSelectedRow)
{
    auto g = GradeNua<TStringGrid>(2, 3);
    g->setFixedColor(QColor(219, 208, 149));
    g->setOptions(g->Options() | GO::goRowSelect);
    QFont fonte(QStringLiteral("Liberation Sans"));
    fonte.setPixelSize(13);
    fonte.setStyleStrategy(QFont::NoAntialias); // every pixel of a letter in the pen's colour
    g->setFont(fonte);
    g->setCells(1, 1, QStringLiteral("HH"));
    g->setCells(1, 2, QStringLiteral("HH"));
    g->setRow(2);
    const QImage img = g->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect cabecalho = g->RetanguloCelula(1, 0);
    // Inside the raised edge the header shows the fixed colour.
    EXPECT_EQ(PixelsDiferentes(img, cabecalho.adjusted(1, 1, -1, -1), QColor(219, 208, 149)), 0);
    EXPECT_EQ(img.pixelColor(cabecalho.topLeft()), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(cabecalho.bottomRight()), QColor(128, 128, 128));
    EXPECT_EQ(img.pixelColor(g->RetanguloCelula(1, 2).center()), g->palette().color(QPalette::Highlight));
    EXPECT_EQ(img.pixelColor(g->RetanguloCelula(1, 1).right(), g->RetanguloCelula(1, 1).bottom()), Creme);
    // The selected row's text in the highlighted text colour, the others' in the font's.
    const QColor realcado = g->palette().color(QPalette::HighlightedText);
    EXPECT_TRUE(CaixaDaCor(img, realcado, g->RetanguloCelula(1, 2)).isValid());
    EXPECT_FALSE(CaixaDaCor(img, realcado, g->RetanguloCelula(1, 1)).isValid());
    // Grid lines: black between fixed cells and across the fixed row, silver between the others.
    const int x = g->RetanguloCelula(1, 1).center().x();
    EXPECT_EQ(img.pixelColor(x, g->RetanguloCelula(1, 0).bottom() + 1), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(x, g->RetanguloCelula(1, 1).bottom() + 1), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(img.pixelColor(g->RetanguloCelula(0, 1).right() + 1, g->RetanguloCelula(0, 1).center().y()),
        QColor(0xC0, 0xC0, 0xC0));
}

TEST(TStringGrid, FrameKeepsAllFourLinesOnHighDensityScreens)
{
    // The main window's grid: the style's sunken frame around a viewport.
    auto g = GradeNua<TStringGrid>(2, 3);
    g->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    g->resize(319, 426);
    const QImage uma = RetratoEmEscala(g.get(), 1);
    const int w = g->width(), h = g->height();
    // Each line's middle pixel at scale 1 and the device pixels the same logical pixel covers
    // at another: one of those must show the line's colour.
    struct Linha
    {
        QPoint ponto;
        bool horizontal;
    };
    for (const qreal escala : { 1.5, 2.0 }) {
        const QImage im = RetratoEmEscala(g.get(), escala);
        for (const Linha l : { Linha { { w / 2, 0 }, true }, Linha { { w / 2, h - 1 }, true },
                 Linha { { 0, h / 2 }, false }, Linha { { w - 1, h / 2 }, false } }) {
            const QColor cor = uma.pixelColor(l.ponto);
            const int fixo = qFloor((l.horizontal ? l.ponto.x() + 0.5 : l.ponto.y() + 0.5) * escala);
            const int de = qFloor((l.horizontal ? l.ponto.y() : l.ponto.x()) * escala);
            const int ate = qCeil(((l.horizontal ? l.ponto.y() : l.ponto.x()) + 1) * escala) - 1;
            bool achou = false;
            for (int k = de; k <= ate; ++k)
                achou |= (l.horizontal ? im.pixelColor(fixo, k) : im.pixelColor(k, fixo)) == cor;
            EXPECT_TRUE(achou) << escala << " line through " << l.ponto.x() << "," << l.ponto.y();
        }
    }
}
