#include "controls/desenhoflat.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QColor Rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

QColor Em(const QImage &im, int x, int y)
{
    return im.pixelColor(x, y).toRgb();
}

} // namespace

TEST(DesenhoFlat, BlendAndBandsTruncateTowardZero)
{
    struct Caso
    {
        QColor a, b;
        int pct;
        QColor esperado;
    };
    const Caso casos[] = {
        { Rgb(200, 0, 100), Rgb(0, 200, 100), 50, Rgb(100, 100, 100) },
        { Rgb(255, 255, 255), Rgb(0, 0, 0), 33, Rgb(171, 171, 171) }, // 255 - 84.15 -> 171
        { Rgb(240, 240, 240), Rgb(33, 84, 129), 50, Rgb(137, 162, 185) },
        { Rgb(10, 20, 30), Rgb(10, 20, 30), 77, Rgb(10, 20, 30) },
    };
    for (const Caso &c : casos)
        EXPECT_EQ(BlendColor(c.a, c.b, c.pct), c.esperado) << c.pct;

    // 255 rows: row i is band i. 510 rows: two rows a band. Fewer rows: the last band
    // reaching a row wins, so the top row is not the start colour.
    for (int altura : { 255, 510, 20 }) {
        QImage im(3, altura, QImage::Format_RGB32);
        im.fill(Qt::magenta);
        QPainter p(&im);
        GradientFill(
            p, QRect(0, 0, 3, altura), TDirecaoPreenchimento::Vertical, Rgb(244, 244, 238), Rgb(205, 204, 223));
        p.end();
        for (int y = 0; y < altura; ++y) {
            int banda = 0;
            for (int i = 0; i < 256; ++i)
                if (altura * i / 255 <= y && y < altura * (i + 1) / 255)
                    banda = i;
            const QColor esperado(
                244 + (205 - 244) * banda / 255, 244 + (204 - 244) * banda / 255, 238 + (223 - 238) * banda / 255);
            ASSERT_EQ(Em(im, 1, y), esperado) << altura << " row " << y;
        }
        if (altura == 255) {
            EXPECT_EQ(Em(im, 0, 0), Rgb(244, 244, 238));
            EXPECT_EQ(Em(im, 0, 254), Rgb(206, 205, 224)); // band 254, one short of the end
        }
    }
}

TEST(DesenhoFlat, EachLayoutPutsTheGlyphAndCaptionInTheirPlaces)
{
    struct Caso
    {
        QRect rect;
        QSize glifo, texto;
        bool centrado, movido;
        int layout, espaco;
        QRect glifoEsperado, textoEsperado;
    };
    const QRect r(0, 0, 100, 40);
    const QSize g(20, 20), t(41, 13);
    const Caso casos[] = {
        { r, g, t, true, false, 0, 4, { 17, 10, 20, 20 }, { 41, 13, 41, 13 } },
        { r, g, t, false, false, 0, 4, { 5, 10, 20, 20 }, { 29, 13, 41, 13 } },
        { r, g, t, true, false, 1, 4, { 62, 10, 20, 20 }, { 17, 13, 41, 13 } },
        { r, g, t, true, false, 2, 4, { 40, 1, 20, 20 }, { 30, 25, 41, 13 } }, // text x 29.5 rounded up
        { r, g, t, true, false, 3, 4, { 40, 18, 20, 20 }, { 29, 1, 41, 13 } },
        { r, g, t, true, true, 0, 4, { 18, 11, 20, 20 }, { 42, 14, 41, 13 } },
        // No caption: no spacing either.
        { r, g, QSize(0, 0), true, false, 0, 4, { 40, 10, 20, 20 }, { 60, 20, 0, 0 } },
        // Too narrow: the caption is kept 3 pixels inside both edges.
        { QRect(0, 0, 40, 40), g, t, true, false, 0, 4, { -12, 10, 20, 20 }, { 12, 13, 25, 13 } },
        { QRect(0, 0, 40, 40), g, t, true, false, 1, 4, { 33, 10, 20, 20 }, { 3, 13, 26, 13 } },
        // Positions follow the rectangle's corner.
        { QRect(10, 5, 100, 40), g, t, true, false, 0, 4, { 27, 15, 20, 20 }, { 51, 18, 41, 13 } },
    };
    for (const Caso &c : casos) {
        const TGlyphLayout l = CalculaGlifoELegenda(c.rect, c.glifo, c.texto, c.centrado, c.movido, c.layout, c.espaco);
        EXPECT_EQ(l.glifo, c.glifoEsperado) << c.layout << c.movido;
        EXPECT_EQ(l.texto, c.textoEsperado) << c.layout << c.movido;
    }
}

TEST(DesenhoFlat, StripHoldsFourRoundImagesAndRimBlendsIntoBackground)
{
    const QImage &faixa = FLAT_BMP_RADIOBUTTON();
    ASSERT_EQ(faixa.size(), QSize(60, 15));
    const QRgb transparente = faixa.pixel(0, 0);
    // Row 0 and the gaps between cells are transparent; each cell is a circle centred at (6, 6).
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(faixa.pixel(x, 0), transparente);
    for (int d : { 1, 16, 31, 46 }) {
        EXPECT_EQ(faixa.pixel(d, 1), transparente) << d; // corner outside the circle
        EXPECT_EQ(faixa.pixelColor(d, 7), Rgb(33, 84, 129)) << d; // left rim
        EXPECT_NE(faixa.pixel(d + 6, 7), transparente) << d;
    }
    EXPECT_EQ(CelulaRadio(false, false), 1);
    EXPECT_EQ(CelulaRadio(false, true), 16);
    EXPECT_EQ(CelulaRadio(true, false), 31);
    EXPECT_EQ(CelulaRadio(true, true), 46);
    // Checked cells carry a dot, hot ones an inner ring.
    EXPECT_NE(faixa.pixel(1 + 6, 7), faixa.pixel(16 + 6, 7));
    EXPECT_NE(faixa.pixel(1 + 6, 2), faixa.pixel(31 + 6, 2));

    const QColor fundo(230, 231, 200);
    const QImage im = ImagemRadio(true, true, fundo);
    ASSERT_EQ(im.size(), QSize(14, 14));
    const QColor borda = BlendColor(fundo, Rgb(33, 84, 129), 50);
    for (const QPoint &o : { QPoint(2, 6), QPoint(4, 5), QPoint(5, 4), QPoint(6, 2) }) {
        EXPECT_EQ(im.pixelColor(6 - o.x(), 6 - o.y()), borda);
        EXPECT_EQ(im.pixelColor(6 + o.x(), 6 + o.y()), borda);
    }
    EXPECT_EQ(im.pixelColor(0, 0), fundo);
    EXPECT_EQ(im.pixelColor(13, 13), fundo);
}

TEST(DesenhoFlat, DisabledMenuImagesTurnGrey)
{
    QImage im(2, 1, QImage::Format_ARGB32);
    im.setPixelColor(0, 0, QColor(30, 60, 90, 128));
    im.setPixelColor(1, 0, QColor(255, 255, 255));
    const QImage cinza = ImagemCinza(im);
    EXPECT_EQ(cinza.pixelColor(0, 0), QColor(80, 80, 80, 128));
    EXPECT_EQ(cinza.pixelColor(1, 0), QColor(246, 246, 246));
}
