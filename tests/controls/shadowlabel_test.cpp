#include "controls/shadowlabel.h"
#include "support/cliques.h"
#include "support/pixels.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

namespace {

// Sharp glyphs: every text pixel has exactly the colour it was drawn in.
QFont FonteFixa(int pixels = 24)
{
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixels);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

using Pontos = std::set<std::pair<int, int>>;

Pontos PontosDaCor(const QImage &imagem, const QColor &cor)
{
    Pontos pontos;
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            if (QColor(imagem.pixel(x, y)) == cor)
                pontos.insert({ x, y });
    return pontos;
}

void CorDaFonte(QWidget &w, const QColor &cor)
{
    QPalette p = w.palette();
    p.setColor(QPalette::WindowText, cor);
    w.setPalette(p);
}

// The label with its text only, the shadow drawn in the fill colour.
Pontos PontosDoTexto(TShadowLabel &l, const QColor &corTexto)
{
    const QColor sombra = l.ShadowColor();
    l.setShadowColor(l.Color());
    const Pontos texto = PontosDaCor(l.grab().toImage(), corTexto);
    l.setShadowColor(sombra);
    return texto;
}

} // namespace

TEST(ShadowLabel, NewLabelIsAutoSizedLeftAlignedWithAOnePixelLightShadowTopLeft)
{
    TShadowLabel l;
    EXPECT_EQ(l.Alignment(), taLeftJustify);
    EXPECT_TRUE(l.AutoSize());
    EXPECT_EQ(l.Layout(), tlTop);
    EXPECT_EQ(l.ShadowColor(), QApplication::palette().color(QPalette::Light));
    EXPECT_EQ(l.ShadowSize(), 1);
    EXPECT_EQ(l.ShadowPos(), spLeftTop);
    EXPECT_FALSE(l.WordWrap());
    EXPECT_TRUE(l.ShowAccelChar());
    EXPECT_FALSE(l.ShowFocus());
    EXPECT_FALSE(l.Transparent());
    EXPECT_EQ(l.FocusControl(), nullptr);
    l.setAutoSize(false);
    l.resize(65, 17);
    EXPECT_EQ(l.size(), QSize(65, 17));
}

TEST(ShadowLabel, ShadowCopyLiesAtEachPositionsOffset)
{
    const struct
    {
        TShadowPosition pos;
        QPoint desvio;
    } casos[] = {
        { spLeftTop, { -2, -2 } },
        { spLeftBottom, { -2, 2 } },
        { spRightBottom, { 2, 2 } },
        { spRightTop, { 2, -2 } },
    };
    for (const auto &c : casos) {
        TShadowLabel l;
        l.setFont(FonteFixa());
        l.setAutoSize(false);
        l.setGeometry(0, 0, 120, 40);
        l.setColor(Qt::white);
        CorDaFonte(l, Qt::black);
        l.setCaption(QStringLiteral("Zelvano"));
        l.setShadowSize(2);
        l.setShadowPos(c.pos);
        l.setShadowColor(Qt::red);
        l.move(0, 0);
        const Pontos texto = PontosDoTexto(l, Qt::black);
        ASSERT_GT(texto.size(), 50u);

        const QImage imagem = l.grab().toImage();
        EXPECT_EQ(PontosDaCor(imagem, Qt::black), texto) << int(c.pos); // the text lies on top
        const Pontos sombra = PontosDaCor(imagem, Qt::red);
        ASSERT_GT(sombra.size(), 20u) << int(c.pos);
        for (const auto &[x, y] : sombra)
            ASSERT_TRUE(texto.count({ x - c.desvio.x(), y - c.desvio.y() })) << int(c.pos) << " " << x << "," << y;
    }
    // The height the text takes grows by the shadow's size, once.
    QRect r(0, 0, 120, 40);
    EXPECT_EQ(
        DrawShadowText(nullptr, FonteFixa(), QStringLiteral("Zelvano"), r, 0, 2, Qt::red, Qt::black, spRightBottom),
        QFontMetrics(FonteFixa()).height() + 2);
}

TEST(ShadowLabel, DisabledLabelIsEngravedAndSizeZeroTurnsIntoOnePixelRightBottom)
{
    const QColor cinza = QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
    const QColor realce = QApplication::palette().color(QPalette::Light);
    const struct
    {
        quint8 tamanho;
        QPoint desvio;
    } casos[] = { { 1, { -1, -1 } }, { 0, { 1, 1 } }, { 3, { -3, -3 } } };
    for (const auto &c : casos) {
        TShadowLabel l;
        l.setFont(FonteFixa());
        l.setAutoSize(false);
        l.setGeometry(0, 0, 120, 40);
        l.setAlignment(taCenter);
        l.setColor(QColor(0, 0, 80));
        l.setShadowColor(Qt::red); // the disabled look ignores it
        l.setCaption(QStringLiteral("Zelvano"));
        l.setShadowSize(c.tamanho);
        l.setEnabled(false);

        const QImage imagem = l.grab().toImage();
        const Pontos texto = PontosDaCor(imagem, cinza);
        const Pontos copia = PontosDaCor(imagem, realce);
        ASSERT_GT(texto.size(), 50u);
        ASSERT_GT(copia.size(), 20u);
        EXPECT_TRUE(PontosDaCor(imagem, Qt::red).empty());
        for (const auto &[x, y] : copia) {
            const std::pair<int, int> origem { x - c.desvio.x(), y - c.desvio.y() };
            ASSERT_TRUE(texto.count(origem)) << x << "," << y;
        }
        EXPECT_EQ(CaixaDaCor(imagem, realce).topLeft(), CaixaDaCor(imagem, cinza).topLeft() + c.desvio)
            << int(c.tamanho);
    }

    // Enabled again with size 0: the shadow hides under the text.
    TShadowLabel l;
    l.setFont(FonteFixa());
    l.setColor(QColor(0, 0, 80));
    CorDaFonte(l, Qt::white);
    l.setShadowColor(Qt::red);
    l.setCaption(QStringLiteral("Zelvano"));
    l.setShadowSize(0);
    l.setEnabled(false);
    l.setEnabled(true);
    const QImage imagem = l.grab().toImage();
    EXPECT_TRUE(PontosDaCor(imagem, Qt::red).empty());
    EXPECT_FALSE(PontosDaCor(imagem, Qt::white).empty());
}

TEST(ShadowLabel, AutoSizeCountsTheShadowOnlyToTheRightAndBelow)
{
    const QFontMetrics m(FonteFixa());
    const int tw = m.horizontalAdvance(QStringLiteral("Zelvano")), th = m.height();
    const struct
    {
        TShadowPosition pos;
        QSize tamanho;
    } casos[] = {
        { spLeftTop, { tw + 2, th } },
        { spLeftBottom, { tw + 2, th + 3 } },
        { spRightBottom, { tw + 2 + 3, th + 3 } },
        { spRightTop, { tw + 2 + 3, th } },
    };
    for (const auto &c : casos) {
        TShadowLabel l;
        l.setFont(FonteFixa());
        l.setShadowPos(c.pos);
        l.setShadowSize(3);
        l.setCaption(QStringLiteral("Zelvano"));
        EXPECT_EQ(l.size(), c.tamanho) << int(c.pos);
    }

    TShadowLabel vazio;
    vazio.setFont(FonteFixa());
    vazio.setCaption(QStringLiteral("x"));
    vazio.setCaption(QString());
    EXPECT_EQ(vazio.height(), th);
    EXPECT_EQ(vazio.width(), m.horizontalAdvance(QLatin1Char(' ')) + 2);

    // Without AutoSize the label keeps its place and size whatever the caption.
    TShadowLabel fixo;
    fixo.setAutoSize(false);
    fixo.setGeometry(32, 82, 465, 103);
    fixo.setFont(FonteFixa(96));
    fixo.setCaption(QStringLiteral("Zelvano"));
    EXPECT_EQ(fixo.geometry(), QRect(32, 82, 465, 103));
}

TEST(ShadowLabel, RightAlignedAutoSizedLabelKeepsItsRightEdge)
{
    QWidget pai;
    TShadowLabel l(&pai);
    l.setFont(FonteFixa());
    l.setAlignment(taRightJustify);
    l.move(200, 10);
    l.setCaption(QStringLiteral("ab"));
    const int direita = l.x() + l.width();
    l.setCaption(QStringLiteral("abcdefgh"));
    EXPECT_EQ(l.x() + l.width(), direita);
    EXPECT_LT(l.x(), 200);
    EXPECT_EQ(l.y(), 10);
}

TEST(ShadowLabel, AmpersandIsAMarkOnlyWithShowAccelChar)
{
    const QFontMetrics m(FonteFixa());
    TShadowLabel l;
    l.setFont(FonteFixa());
    l.setShadowSize(0);
    l.setCaption(QStringLiteral("&Abc"));
    EXPECT_EQ(l.width(), m.horizontalAdvance(QStringLiteral("Abc")) + 2);
    l.setShowAccelChar(false);
    l.setCaption(QStringLiteral("&Abcd"));
    EXPECT_EQ(l.width(), m.horizontalAdvance(QStringLiteral("&Abcd")) + 2);
    // A lone mark measures as one blank, one line high.
    l.setShowAccelChar(true);
    l.setCaption(QStringLiteral("&"));
    EXPECT_EQ(l.height(), m.height());

    EXPECT_EQ(TeclaAceleradora(QStringLiteral("&Nome")), QLatin1Char('N'));
    EXPECT_EQ(TeclaAceleradora(QStringLiteral("A&&B&c")), QLatin1Char('c'));
    EXPECT_TRUE(TeclaAceleradora(QStringLiteral("Fim&")).isNull());
}

TEST(ShadowLabel, LayoutMovesTheTextDownByTheMeasuredSpace)
{
    TShadowLabel l;
    l.setFont(FonteFixa());
    l.setAutoSize(false);
    l.setGeometry(0, 0, 300, 103);
    l.setColor(Qt::white);
    CorDaFonte(l, Qt::black);
    l.setShadowColor(Qt::white);
    l.setCaption(QStringLiteral("Zelvano"));
    const int th = QFontMetrics(FonteFixa()).height();
    const int topo = CaixaDaCor(l.grab().toImage(), Qt::black).top();
    // The measured rectangle holds the shadow 1 pixel above the text: it starts at -1 and
    // ends at th, and that rectangle is what moves down.
    l.setLayout(tlCenter);
    EXPECT_EQ(CaixaDaCor(l.grab().toImage(), Qt::black).top(), topo - 1 + (103 - th) / 2);
    l.setLayout(tlBottom);
    EXPECT_EQ(CaixaDaCor(l.grab().toImage(), Qt::black).top(), topo - 1 + 103 - th);
    l.setShadowPos(spRightBottom); // measured from 0 to th + 1
    EXPECT_EQ(CaixaDaCor(l.grab().toImage(), Qt::black).top(), topo + 103 - th - 1);
}

TEST(ShadowLabel, TransparentLabelLeavesTheParentVisible)
{
    QWidget pai;
    pai.resize(100, 40);
    pai.setAutoFillBackground(true);
    QPalette p = pai.palette();
    p.setColor(QPalette::Window, Qt::green);
    pai.setPalette(p);
    TShadowLabel l(&pai);
    l.setColor(Qt::blue);
    l.setCaption(QStringLiteral("a"));
    EXPECT_EQ(QColor(pai.grab().toImage().pixel(l.width() - 1, l.height() - 1)), QColor(Qt::blue));
    l.setTransparent(true);
    EXPECT_EQ(QColor(pai.grab().toImage().pixel(l.width() - 1, l.height() - 1)), QColor(Qt::green));
}

TEST(ShadowLabel, HeldButtonDelaysTheLeaveUntilRelease)
{
    QWidget janela;
    janela.resize(300, 200);
    TShadowLabel l(&janela);
    l.setCaption(QStringLiteral("Zelvano"));
    l.move(10, 10);
    janela.show();
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    QStringList eventos;
    l.OnMouseEnter = [&](QObject *s) {
        EXPECT_EQ(s, &l);
        eventos << QStringLiteral("entra");
    };
    l.OnMouseLeave = [&](QObject *) { eventos << QStringLiteral("sai"); };

    QCursor::setPos(l.mapToGlobal(QPoint(3, 3)));
    QEnterEvent entrada(QPointF(3, 3), QPointF(3, 3), QPointF(l.mapToGlobal(QPoint(3, 3))));
    QApplication::sendEvent(&l, &entrada);
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(3, 3));
    QCursor::setPos(janela.mapToGlobal(QPoint(250, 150)));
    QEvent saida(QEvent::Leave);
    QApplication::sendEvent(&l, &saida);
    EXPECT_EQ(eventos, QStringList { QStringLiteral("entra") });
    QTest::mouseRelease(&l, Qt::LeftButton, {}, l.mapFromGlobal(janela.mapToGlobal(QPoint(250, 150))));
    EXPECT_EQ(eventos, (QStringList { QStringLiteral("entra"), QStringLiteral("sai") }));

    // Without a held button leaving raises the event at once.
    QApplication::sendEvent(&l, &entrada);
    QApplication::sendEvent(&l, &saida);
    EXPECT_EQ(eventos.size(), 4);
}

TEST(ShadowLabel, MouseEventsComeInTheirOrderAndADoubleClickIsNoSecondClick)
{
    TShadowLabel l;
    l.setCaption(QStringLiteral("Zelvano"));
    EXPECT_EQ(EventosDosCliques(l),
        QStringList({ "down", "click", "up", "dblclick", "down", "up", /* right: */ "down", "up", "down", "up" }));
}

TEST(ShadowLabel, PointerMovingOverTheLabelRaisesOnMouseMove)
{
    QWidget janela;
    janela.resize(200, 100);
    TShadowLabel l(&janela);
    l.setCaption(QStringLiteral("Zelvano"));
    l.move(10, 10);
    janela.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&janela));
    QList<QPoint> pontos;
    l.OnMouseMove = [&](QObject *, Qt::KeyboardModifiers, int x, int y) { pontos << QPoint(x, y); };
    QTest::mouseMove(janela.windowHandle(), QPoint(13, 14)); // no button held
    EXPECT_EQ(pontos, QList<QPoint> { QPoint(3, 4) });
}

TEST(ShadowLabel, AcceleratorFocusesTheFocusControl)
{
    QWidget janela;
    auto *outro = new QLineEdit(&janela);
    auto *nome = new QLineEdit(&janela);
    nome->move(0, 40);
    auto *l = new TShadowLabel(&janela);
    l->move(0, 80);
    l->setCaption(QStringLiteral("&Nome"));
    l->setFocusControl(nome);
    janela.show();
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));

    const struct
    {
        bool habilitado;
        bool mostra;
        Qt::KeyboardModifiers teclas;
        bool foca;
    } casos[] = {
        { true, true, Qt::AltModifier, true },
        { false, true, Qt::AltModifier, false },
        { true, false, Qt::AltModifier, false },
        { true, true, Qt::NoModifier, false },
    };
    for (const auto &c : casos) {
        outro->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), outro);
        l->setEnabled(c.habilitado);
        l->setShowAccelChar(c.mostra);
        QTest::keyClick(outro, Qt::Key_N, c.teclas);
        EXPECT_EQ(QApplication::focusWidget() == nome, c.foca) << c.habilitado << c.mostra;
    }

    delete nome;
    EXPECT_EQ(l->FocusControl(), nullptr);
}
