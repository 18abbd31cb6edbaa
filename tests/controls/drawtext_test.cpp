#include "controls/drawtext.h"
#include "support/pixels.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QFont FonteTeste()
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(13);
    return f;
}

// Draws black text on white and returns the image.
QImage Desenha(const QString &texto, QRect rect, unsigned formato, QSize tamanho = { 200, 60 })
{
    QImage img(tamanho, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setFont(FonteTeste());
    p.setPen(Qt::black);
    DrawText(p, texto, rect, formato);
    return img;
}

} // namespace

TEST(DrawText, MeasuresLinesPrefixesTabsAndWrapping)
{
    const QFont f = FonteTeste();
    const QFontMetrics m(f);
    const int h = m.height();
    const struct
    {
        QString texto;
        unsigned formato;
        int largura;
        int linhas;
    } casos[] = {
        { "Hora", DT::Left, m.horizontalAdvance("Hora"), 1 },
        { "&Salvar", DT::Left, m.horizontalAdvance("Salvar"), 1 },
        { "&Salvar", DT::NoPrefix, m.horizontalAdvance("&Salvar"), 1 },
        { "a && b", DT::Left, m.horizontalAdvance("a & b"), 1 },
        { "&", DT::Left, 0, 1 },
        { "", DT::Left, 0, 1 },
        { "um\r\ndois\nxis", DT::Left, m.horizontalAdvance("dois"), 3 },
        { "um\r\ndois", DT::SingleLine, m.horizontalAdvance("umdois"), 1 },
        { "a\tb", DT::ExpandTabs, 8 * m.averageCharWidth() + m.horizontalAdvance("b"), 1 },
    };
    for (const auto &c : casos) {
        QRect r(5, 7, 300, 10);
        const int altura = MedeTexto(f, c.texto, r, c.formato | DT::CalcRect);
        EXPECT_EQ(altura, c.linhas * h) << c.texto.toStdString();
        EXPECT_EQ(r.topLeft(), QPoint(5, 7));
        EXPECT_EQ(r.width(), c.largura) << c.texto.toStdString();
        EXPECT_EQ(r.height(), c.linhas * h);
    }

    // Word break wraps at blanks to the room given; an over-long word stays whole.
    const int estreito = m.horizontalAdvance("longa") + 2; // "palavra" alone is wider still
    QRect r(0, 0, estreito, 0);
    EXPECT_EQ(MedeTexto(f, "palavra longa demais", r, DT::WordBreak | DT::CalcRect), 3 * h);
    QRect r2(0, 0, 10, 0);
    MedeTexto(f, "Supercalifragilistico", r2, DT::WordBreak | DT::CalcRect);
    EXPECT_EQ(r2.width(), m.horizontalAdvance("Supercalifragilistico"));
    EXPECT_EQ(r2.height(), h);
    // Explicit breaks start a new line even with room to spare.
    QRect r3(0, 0, 500, 0);
    EXPECT_EQ(MedeTexto(f, "a\nb", r3, DT::WordBreak | DT::CalcRect), 2 * h);
    // A single line is never wrapped.
    QRect r4(0, 0, estreito, 0);
    EXPECT_EQ(MedeTexto(f, "palavra longa demais", r4, DT::WordBreak | DT::SingleLine | DT::CalcRect), h);
}

TEST(DrawText, PlacesTextByAlignmentAndClipsToTheRectangle)
{
    const QRect area(10, 10, 180, 40);
    const QRect esquerda = CaixaDaTinta(Desenha("Hora", area, DT::SingleLine | DT::Left), Qt::white);
    const QRect direita = CaixaDaTinta(Desenha("Hora", area, DT::SingleLine | DT::Right), Qt::white);
    const QRect centro = CaixaDaTinta(Desenha("Hora", area, DT::SingleLine | DT::Center | DT::VCenter), Qt::white);
    const QRect baixo = CaixaDaTinta(Desenha("Hora", area, DT::SingleLine | DT::Bottom), Qt::white);
    EXPECT_LE(esquerda.left() - area.left(), 2);
    EXPECT_LE(area.right() - direita.right(), 2);
    EXPECT_NEAR((centro.left() + centro.right()) / 2.0, (area.left() + area.right()) / 2.0, 2);
    EXPECT_NEAR((centro.top() + centro.bottom()) / 2.0, (area.top() + area.bottom()) / 2.0, 4);
    EXPECT_GT(baixo.top(), centro.top());
    EXPECT_LE(baixo.bottom(), area.bottom());
    // To the pixel: the line's box ends on the rectangle's last column or row.
    const QFontMetrics m(FonteTeste());
    const int w = m.horizontalAdvance("Hora");
    EXPECT_EQ(direita,
        CaixaDaTinta(Desenha("Hora", QRect(area.right() + 1 - w, area.top(), w + 9, 40), DT::SingleLine), Qt::white));
    EXPECT_EQ(baixo,
        CaixaDaTinta(
            Desenha("Hora", QRect(area.left(), area.bottom() + 1 - m.height(), 180, 40), DT::SingleLine), Qt::white));
    // Centred, the blank left over is halved rounding down, whichever its parity.
    for (const int largura : { 180, 181 }) {
        const QRect faixa(10, 10, largura, 40);
        EXPECT_EQ(CaixaDaTinta(Desenha("Hora", faixa, DT::SingleLine | DT::Center), Qt::white),
            CaixaDaTinta(Desenha("Hora", QRect(10 + (largura - w) / 2, 10, w + 9, 40), DT::SingleLine), Qt::white))
            << largura;
    }
    // The height given back reaches the bottom of the line however it was placed.
    QImage img(200, 60, QImage::Format_RGB32);
    QPainter p(&img);
    p.setFont(FonteTeste());
    QRect r = area;
    EXPECT_EQ(DrawText(p, "Hora", r, DT::SingleLine | DT::Bottom), area.height());

    // Nothing outside a small rectangle, unless NoClip.
    const QRect pequeno(10, 10, 12, 8);
    const QRect cortada = CaixaDaTinta(Desenha("WWWW WWWW", pequeno, DT::Left), Qt::white);
    EXPECT_TRUE(pequeno.contains(cortada)) << cortada.x() << "," << cortada.y() << " " << cortada.width();
    EXPECT_FALSE(pequeno.contains(CaixaDaTinta(Desenha("WWWW WWWW", pequeno, DT::Left | DT::NoClip), Qt::white)));
}

TEST(DrawText, UnderlinesTheAcceleratorOnly)
{
    const QRect area(10, 10, 180, 40);
    const QFontMetrics m(FonteTeste());
    const int base = area.top() + m.ascent();
    auto linhaSob = [&](const QImage &img, int x0, int x1) {
        int pretos = 0;
        for (int y = base + 1; y <= base + 3; ++y)
            for (int x = x0; x < x1; ++x)
                pretos += img.pixel(x, y) != qRgb(255, 255, 255);
        return pretos;
    };
    const int wS = m.horizontalAdvance("S");
    const QImage comPrefixo = Desenha("&Salvar", area, DT::Left);
    const QImage semPrefixo = Desenha("Salvar", area, DT::Left);
    EXPECT_GE(linhaSob(comPrefixo, area.left(), area.left() + wS), wS - 1);
    EXPECT_EQ(linhaSob(semPrefixo, area.left(), area.left() + wS), 0);
    // The '&' itself is not drawn: both texts have the same ink above the underline.
    EXPECT_EQ(CaixaDaTinta(comPrefixo, Qt::white).left(), CaixaDaTinta(semPrefixo, Qt::white).left());
    EXPECT_EQ(linhaSob(comPrefixo, area.left() + wS + 1, area.left() + m.horizontalAdvance("Salvar")), 0);
}
