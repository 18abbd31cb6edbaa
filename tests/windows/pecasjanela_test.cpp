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
