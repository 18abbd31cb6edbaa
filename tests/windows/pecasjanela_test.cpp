#include "windows/pecasjanela.h"

#include "controls/flatstyle.h"
#include "support/pixels.h"

#include <QPushButton>
#include <QtMath>

#include <gtest/gtest.h>

TEST(PecasJanela, GlyphIsDrawnAtTheScreensOwnPixels)
{
    QWidget forma;
    forma.resize(200, 80);
    QPushButton *botao
        = CriaBotao(&forma, QRect(20, 20, 145, 38), QStringLiteral("OK"), Fonte(13), QStringLiteral(":/img/ok.png"));
    forma.show();
    auto *flat = new TFlatStyle(&forma);
    flat->Loaded();

    const QColor verde(26, 138, 26);
    auto esverdeado = [](const QColor &c) { return c.green() - c.red() > 30 && c.green() - c.blue() > 30; };
    const QImage uma = RetratoEmEscala(botao, 1);
    const QRect glifo = CaixaDaCor(uma, verde);
    ASSERT_EQ(glifo.size(), QSize(17, 15));
    for (const qreal escala : { 1.5, 2.0 }) {
        const QImage im = RetratoEmEscala(botao, escala);
        // Where the scale 1 glyph predicts it, give or take the edge's half pixel.
        const QRect caixa = CaixaDosPixels(im, esverdeado);
        EXPECT_NEAR(caixa.left(), glifo.left() * escala, 1.5) << escala;
        EXPECT_NEAR(caixa.top(), glifo.top() * escala, 1.5) << escala;
        EXPECT_NEAR(caixa.width(), glifo.width() * escala, 2) << escala;
        EXPECT_NEAR(caixa.height(), glifo.height() * escala, 2) << escala;
        // Drawn at the device's pixels, its edges take shades between the glyph and the face;
        // the artwork's pixels stretched would give none.
        int sombras = 0;
        for (int y = caixa.top(); y <= caixa.bottom(); ++y)
            for (int x = caixa.left(); x <= caixa.right(); ++x) {
                const QColor c = im.pixelColor(x, y);
                sombras += esverdeado(c) && c != verde;
            }
        EXPECT_GT(sombras, 20) << escala;
    }
}

TEST(PecasJanela, AWindowTallerThanTheScreenKeepsItsTitleBarOnIt)
{
    const QSize principal(793, 609);
    const struct
    {
        QRect area;
        QSize janela, moldura;
        QPoint canto;
    } casos[] = {
        // Room enough: centred, as always.
        { { 0, 0, 1280, 1024 }, principal, { 0, 0 }, { 243, 207 } },
        { { 0, 0, 1024, 600 }, { 740, 395 }, { 2, 24 }, { 142, 102 } },
        // A 1024 x 600 screen: the frame's top, the title bar, at the screen's top.
        { { 0, 0, 1024, 600 }, principal, { 0, 0 }, { 115, 0 } },
        { { 0, 28, 1024, 572 }, principal, { 2, 24 }, { 115, 28 } },
        // Fits without its frame but not with it: up until the frame's foot is on screen.
        { { 0, 0, 1024, 600 }, { 793, 560 }, { 2, 24 }, { 115, 16 } },
        // Wider than the screen: its left edge on the screen.
        { { 0, 0, 640, 480 }, { 740, 395 }, { 2, 24 }, { 0, 42 } },
    };
    for (const auto &c : casos)
        EXPECT_EQ(PosicaoNaTela(c.area, c.janela, c.moldura), c.canto)
            << c.area.width() << "x" << c.area.height() << " " << c.janela.width() << "x" << c.janela.height();
}
