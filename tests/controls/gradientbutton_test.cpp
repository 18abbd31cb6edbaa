#include "controls/gradientbutton.h"

#include "controls/colorconv.h"
#include "support/cliques.h"
#include "support/pixels.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QColor Pixel(QWidget &w, int x, int y)
{
    return QColor(w.grab().toImage().pixel(x, y));
}

// The blue text's pixels (smoothed edges included) on white.
bool Azul(const QColor &c)
{
    return c.blue() > 200 && c.red() < 160 && c.green() < 160;
}

} // namespace

TEST(GradientButton, NewButtonIs75By25NeverTakesFocusAndIgnoresOutOfRangeValues)
{
    TGradientButton b;
    EXPECT_EQ(b.size(), QSize(75, 25));
    EXPECT_EQ(b.Color(), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(b.BevelWidth(), 1);
    EXPECT_EQ(b.BorderStyle(), bsNormal);
    EXPECT_EQ(b.BorderColor(), QColor(Qt::black));
    EXPECT_EQ(b.GradientStyle(), gsNone);
    EXPECT_EQ(b.Layout(), blGlyphLeft);
    EXPECT_EQ(b.Margin(), 1);
    EXPECT_EQ(b.Spacing(), 1);
    EXPECT_EQ(b.TimerDelay(), 400);
    EXPECT_EQ(b.TimerInterval(), 100);
    EXPECT_EQ(b.focusPolicy(), Qt::NoFocus);

    const struct
    {
        int valor;
        int fica;
    } bevel[] = { { 12, 1 }, { 11, 11 }, { -1, 11 }, { 0, 0 } }; // 12 >= 25 div 2
    for (const auto &caso : bevel) {
        b.setBevelWidth(caso.valor);
        EXPECT_EQ(b.BevelWidth(), caso.fica) << caso.valor;
    }

    b.setColor(QColor(212, 208, 200));
    b.setContrastHighlight(10);
    b.setContrastShadow(-1);
    EXPECT_EQ(b.ContrastHighlight(), 5);
    EXPECT_EQ(b.ContrastShadow(), 6);
    EXPECT_EQ(b.HighlightColor(), QColor(233, 231, 227));

    b.setContrastShadow(9);
    TVetorCor base, sombra;
    RGB2HLS({ 212 / 255.0, 208 / 255.0, 200 / 255.0 }, base);
    const QColor s = b.ShadowColor();
    RGB2HLS({ s.redF(), s.greenF(), s.blueF() }, sombra);
    EXPECT_NEAR(sombra[1], base[1] * 0.1, 1.0 / 255);
}

TEST(GradientButton, PaletteRunsThroughTheBaseColour)
{
    const QColor base(212, 208, 200);
    const TPaletaGradiente desce = MontaPaleta(base, gdDownRight);
    EXPECT_EQ(desce[0], QColor(Qt::white));
    EXPECT_EQ(desce[127], base);
    EXPECT_EQ(desce[255], QColor(Qt::black));
    EXPECT_EQ(desce[64], QColor(233, 231, 227)); // light at factor 0.5
    EXPECT_EQ(desce[100], QColor(221, 217, 211)); // factor 100/128, halves to even

    const TPaletaGradiente sobe = MontaPaleta(base, gdUpLeft);
    EXPECT_EQ(sobe[0], QColor(Qt::black));
    EXPECT_EQ(sobe[255], QColor(Qt::white));
    for (int i : { 127, 128 })
        for (int c = 0; c < 3; ++c) {
            const int canal[3] = { sobe[i].red() - 212, sobe[i].green() - 208, sobe[i].blue() - 200 };
            EXPECT_LE(std::abs(canal[c]), 2) << i;
        }
}

TEST(GradientButton, VerticalBandsOnA35PixelButton)
{
    const QList<QRect> faixas = FaixasGradiente(gsVertical, QSize(75, 35));
    ASSERT_EQ(faixas.size(), 256);
    EXPECT_EQ(faixas[0], QRect(0, 0, 75, 1));
    EXPECT_EQ(faixas[1], QRect(0, 0, 75, 1));
    EXPECT_EQ(faixas[9].top(), 1); // trunc(8 × 35/255)
    EXPECT_EQ(faixas[255].top(), 34); // trunc(254 × 35/255)
    EXPECT_EQ(FaixasGradiente(gsHorizontal, QSize(600, 10))[2], QRect(2, 0, 3, 10)); // band width 3

    TGradientButton b;
    b.resize(75, 35);
    b.setBorderStyle(bsFlat);
    b.setBevelWidth(0);
    b.setGradientStyle(gsVertical);
    b.setChangeDirection(true);
    const TPaletaGradiente &p = b.Palette();
    // The last band starting at a row is the one that stays there.
    const struct
    {
        int linha;
        int faixa;
    } linhas[] = { { 0, 8 }, { 17, 132 }, { 34, 255 } };
    for (const auto &l : linhas)
        EXPECT_EQ(Pixel(b, 40, l.linha), p[l.faixa]) << l.linha;

    b.setDown(true); // reversed only while down
    for (const auto &l : linhas)
        EXPECT_EQ(Pixel(b, 40, l.linha), p[255 - l.faixa]) << l.linha;
}

TEST(GradientButton, BorderAndBevelSwapColoursWhenDown)
{
    TGradientButton b;
    b.setColor(QColor(212, 208, 200));
    const QColor claro = b.HighlightColor(), escuro = b.ShadowColor(), preto(Qt::black);
    struct Sonda
    {
        int x, y;
        QColor acima, abaixo;
    };
    const Sonda sondas[] = {
        { 0, 5, claro, preto }, // border, left
        { 5, 0, claro, preto }, // border, top
        { 74, 5, preto, claro }, // border, right
        { 5, 24, preto, claro }, // border, bottom
        { 0, 24, preto, claro }, // bottom-left corner: the second line wins
        { 1, 5, claro, escuro }, // bevel, left
        { 5, 1, claro, escuro }, // bevel, top
        { 73, 5, escuro, claro }, // bevel, right
        { 5, 23, escuro, claro }, // bevel, bottom
        { 73, 1, escuro, claro }, // bevel, top-right: the lower-right part wins
        { 30, 12, QColor(212, 208, 200), QColor(212, 208, 200) },
    };
    for (const auto &s : sondas)
        EXPECT_EQ(Pixel(b, s.x, s.y), s.acima) << s.x << "," << s.y;
    b.setDown(true);
    for (const auto &s : sondas)
        EXPECT_EQ(Pixel(b, s.x, s.y), s.abaixo) << s.x << "," << s.y;

    TGradientButton simples;
    simples.setBorderStyle(bsSingle);
    simples.setBorderColor(Qt::red);
    simples.setBevelWidth(2);
    EXPECT_EQ(Pixel(simples, 74, 0), QColor(Qt::red));
    EXPECT_EQ(Pixel(simples, 0, 24), QColor(Qt::red));
    EXPECT_EQ(Pixel(simples, 2, 10), simples.HighlightColor());
    EXPECT_EQ(Pixel(simples, 72, 10), simples.ShadowColor());
}

TEST(GradientButton, GoingDownShiftsThePaintedInteriorOnePixel)
{
    TGradientButton b;
    b.setColor(Qt::white);
    b.setCaption(QStringLiteral("OK"));
    QPalette paleta = b.palette();
    paleta.setColor(QPalette::WindowText, Qt::blue);
    b.setPalette(paleta);
    const QRect acima = CaixaDosPixels(b.grab().toImage(), Azul);
    ASSERT_GT(acima.width(), 8);
    b.setDown(true);
    EXPECT_EQ(CaixaDosPixels(b.grab().toImage(), Azul), acima.translated(1, 1));
    b.setDown(false);
    EXPECT_EQ(CaixaDosPixels(b.grab().toImage(), Azul), acima);
    // A full paint while down draws the caption one row lower only.
    b.setDown(true);
    b.setMargin(2);
    EXPECT_EQ(CaixaDosPixels(b.grab().toImage(), Azul), acima.translated(0, 1));
}

TEST(GradientButton, GlyphAndCaptionSitByTheLayoutAndMoveOnePixelWhenDown)
{
    struct Caso
    {
        TButtonLayout layout;
        bool texto;
        bool down;
        int th;
        QPoint glifo, caption;
    };
    // Inner rectangle (2, 2) to (73, 23); a 3-image strip of 10 × 10; caption 20 wide.
    const Caso casos[] = {
        { blGlyphLeft, true, false, 13, { 20, 7 }, { 31, 6 } }, { blGlyphRight, true, false, 13, { 43, 7 }, { 22, 6 } },
        { blGlyphTop, true, false, 13, { 31, -1 }, { 26, 10 } },
        { blGlyphBottom, true, false, 13, { 31, 15 }, { 26, 1 } }, { blGlyphLeft, false, false, 13, { 31, 7 }, {} },
        { blGlyphLeft, true, true, 13, { 21, 8 }, { 32, 7 } }, { blGlyphTop, true, true, 13, { 32, 0 }, { 26, 12 } },
        { blGlyphTop, true, false, 21, { 31, -4 }, { 26, 7 } }, // -7 div 2 is -3
    };
    for (const auto &c : casos) {
        EntradaConteudo e;
        e.interno = QRect(QPoint(2, 2), QPoint(72, 22));
        e.glifo = QSize(30, 10);
        e.numGlyphs = 3;
        e.temTexto = c.texto;
        e.texto = c.texto ? QSize(20, c.th) : QSize();
        e.layout = c.layout;
        e.down = c.down;
        const PosicaoConteudo p = PosicionaConteudo(e);
        EXPECT_EQ(p.glifo.topLeft(), c.glifo) << int(c.layout) << c.down << c.th;
        if (c.texto) {
            EXPECT_EQ(p.texto.topLeft(), c.caption) << int(c.layout) << c.down << c.th;
        }
        EXPECT_EQ(p.origemGlifo, QRect(c.down ? 20 : 0, 0, 10, 10));
    }

    EntradaConteudo e;
    e.interno = QRect(QPoint(2, 2), QPoint(72, 22));
    e.texto = QSize(20, 13);
    e.temTexto = true;
    e.topMargin = 3;
    e.changeDirection = true;
    e.down = true;
    EXPECT_EQ(PosicionaConteudo(e).texto.topLeft(), QPoint(26, 4)); // 6 - 3 + 1
}

TEST(GradientButton, DisabledButtonShowsSecondImageAndGreyTextAndIgnoresPresses)
{
    QImage faixa(30, 10, QImage::Format_RGB32);
    faixa.fill(Qt::magenta);
    faixa.fill(Qt::red);
    for (int x = 10; x < 20; ++x)
        for (int y = 0; y < 10; ++y) {
            faixa.setPixel(x, y, qRgb(0, 255, 0));
            faixa.setPixel(x + 10, y, qRgb(0, 0, 255));
        }
    faixa.setPixel(0, 9, qRgb(255, 0, 255)); // the transparent colour

    QWidget pai;
    TGradientButton b(&pai);
    b.setGlyph(faixa);
    b.setNumGlyphs(NumGlyphsDaFaixa(faixa.size()));
    ASSERT_EQ(b.NumGlyphs(), 3);
    b.setColor(Qt::white);
    b.setCaption(QStringLiteral("Abc"));
    // Glyph left of the caption: gx = (73 - tw - 10 - 1) / 2 - 1, gy = 7.
    const int tw = QFontMetrics(b.font()).horizontalAdvance(QStringLiteral("Abc"));
    const QPoint centro((73 - tw - 11) / 2 - 1 + 5, 12);
    EXPECT_EQ(Pixel(b, centro.x(), centro.y()), QColor(Qt::red));
    EXPECT_EQ(Pixel(b, centro.x() - 5, centro.y() + 4), QColor(Qt::white)); // transparent pixel

    int cliques = 0;
    b.OnClick = [&](QObject *) { ++cliques; };
    b.setEnabled(false);
    EXPECT_EQ(Pixel(b, centro.x(), centro.y()), QColor(0, 255, 0));
    const QColor cinza = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    EXPECT_FALSE(CaixaDaCor(b.grab().toImage(), cinza).isEmpty());
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(cliques, 0);
    EXPECT_FALSE(b.Down());

    b.setEnabled(true);
    b.setDown(true);
    EXPECT_EQ(Pixel(b, centro.x() + 1, centro.y() + 1), QColor(0, 0, 255));

    EXPECT_EQ(NumGlyphsDaFaixa(QSize(64, 16)), 4);
    EXPECT_EQ(NumGlyphsDaFaixa(QSize(50, 16)), 1);
}

TEST(GradientButton, PlainButtonIsDownWhileHeldAndClicksOnReleaseAnywhere)
{
    QWidget pai;
    pai.resize(200, 100);
    TGradientButton b(&pai);
    int cliques = 0, estados = 0;
    b.OnClick = [&](QObject *s) {
        EXPECT_EQ(s, &b);
        ++cliques;
    };
    b.OnStateChange = [&](QObject *) { ++estados; };
    QTest::mousePress(&b, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(cliques, 0);
    QTest::mouseRelease(&b, Qt::LeftButton, {}, QPoint(150, 80));
    EXPECT_FALSE(b.Down());
    EXPECT_EQ(cliques, 1);
    EXPECT_EQ(estados, 2);

    QTest::mouseClick(&b, Qt::RightButton);
    EXPECT_EQ(cliques, 1);
}

TEST(GradientButton, LeftDoubleClickRaisesOnDblClickBeforeItsSecondPress)
{
    TGradientButton b;
    EXPECT_EQ(EventosDosCliques(b),
        QStringList(
            { "down", "click", "up", "dblclick", "down", "click", "up", /* right: */ "down", "up", "down", "up" }));
}

TEST(GradientButton, GroupedButtonsReleaseEachOther)
{
    QWidget pai;
    TGradientButton a(&pai), b(&pai), outroGrupo(&pai);
    for (TGradientButton *x : { &a, &b, &outroGrupo }) {
        x->setGrouped(true);
        x->setGroupIndex(1);
    }
    outroGrupo.setGroupIndex(2);
    outroGrupo.setDown(true);
    a.setDown(true);
    int estadosA = 0, cliquesB = 0;
    a.OnStateChange = [&](QObject *) { ++estadosA; };
    b.OnClick = [&](QObject *) { ++cliquesB; };

    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_FALSE(a.Down());
    EXPECT_EQ(estadosA, 1);
    EXPECT_TRUE(b.Down());
    EXPECT_TRUE(outroGrupo.Down());

    QTest::mouseClick(&b, Qt::LeftButton); // pressed while down: stays down
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(cliquesB, 2);

    b.setAllowAllUp(true);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_FALSE(b.Down());

    // Disabling leaves a grouped button as it is; a plain one comes up.
    b.setDown(true);
    b.setEnabled(false);
    EXPECT_TRUE(b.Down());
    TGradientButton plain(&pai);
    plain.setDown(true);
    plain.setEnabled(false);
    EXPECT_FALSE(plain.Down());
}

TEST(GradientButton, HeldButtonRepeatsItsClick)
{
    TGradientButton b;
    b.setAllowTimer(true);
    QElapsedTimer relogio;
    std::vector<qint64> momentos;
    b.OnClick = [&](QObject *) { momentos.push_back(relogio.elapsed()); };
    relogio.start();
    QTest::mousePress(&b, Qt::LeftButton);
    QTest::qWait(950);
    QTest::mouseRelease(&b, Qt::LeftButton);
    // Expected at about 400, 500 ... 900 ms and once more on release; a busy machine may
    // delay ticks but never brings them early.
    ASSERT_GE(momentos.size(), 4u);
    ASSERT_LE(momentos.size(), 7u);
    EXPECT_GE(momentos.front(), 395);
    EXPECT_LT(momentos.front(), 700);
    for (size_t i = 1; i + 1 < momentos.size(); ++i)
        EXPECT_GE(momentos[i] - momentos[i - 1], 90);
    EXPECT_GE(momentos.back(), 950);

    momentos.clear();
    b.setTimerDelay(0);
    QTest::mousePress(&b, Qt::LeftButton);
    QTest::qWait(200);
    QTest::mouseRelease(&b, Qt::LeftButton);
    EXPECT_EQ(momentos.size(), 1u);
}

TEST(GradientButton, AcceleratorKeyClicksUnlessTypedIntoATextField)
{
    const struct
    {
        QChar tecla;
        const char *caption;
        bool atalho;
    } casos[] = {
        { 'O', "&OK", true },
        { 'o', "&OK", true },
        { 'K', "&OK", false },
        { 'K', "OK&", false },
        { 'k', "O&k&x", true },
        { '&', "&&a", true },
        { 'x', "Ok", false },
    };
    for (const auto &c : casos)
        EXPECT_EQ(IsAccelChar(c.tecla, QString::fromLatin1(c.caption)), c.atalho) << c.caption;

    QWidget janela;
    auto *campo = new QLineEdit(&janela);
    auto *botaoComum = new QPushButton(QStringLiteral("x"), &janela);
    botaoComum->move(0, 40);
    auto *b = new TGradientButton(&janela);
    b->move(0, 80);
    b->setCaption(QStringLiteral("&OK"));
    int cliques = 0;
    b->OnClick = [&](QObject *) { ++cliques; };
    janela.show();
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));

    botaoComum->setFocus();
    QTest::keyClick(botaoComum, Qt::Key_O);
    EXPECT_EQ(cliques, 1);
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_O);
    EXPECT_EQ(cliques, 1);
    EXPECT_EQ(campo->text(), QStringLiteral("o"));
    QTest::keyClick(campo, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(cliques, 2);
    EXPECT_FALSE(b->Down()); // a plain button is not toggled by its key
}
