#include "controls/flatstyle.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

QColor rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

QColor em(const QImage &im, int x, int y)
{
    return im.pixelColor(x, y).toRgb();
}

QImage retrato(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int conta(const QImage &im, const QColor &cor)
{
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += em(im, x, y) == cor;
    return n;
}

// Lets queued calls and window activation run.
void espera(int ms)
{
    QEventLoop laco;
    QTimer::singleShot(ms, &laco, &QEventLoop::quit);
    laco.exec();
}

void envia(QWidget *w, QEvent &e)
{
    QApplication::sendEvent(w, &e);
}

void entra(QWidget *w)
{
    QEnterEvent e(QPointF(3, 3), QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)));
    envia(w, e);
}

void mouse(QWidget *w, QEvent::Type tipo, QPoint pos)
{
    QMouseEvent e(tipo, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::LeftButton,
        tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    envia(w, e);
}

void tecla(QWidget *w, QEvent::Type tipo, int codigo)
{
    QKeyEvent e(tipo, codigo, Qt::NoModifier, codigo == Qt::Key_Space ? QStringLiteral(" ") : QString());
    envia(w, e);
}

// A window of controls with a painter on it, as the program's windows are.
struct Janela
{
    Janela()
    {
        forma = std::make_unique<QWidget>();
        forma->resize(400, 300);
        QFont fonte(QStringLiteral("MS Sans Serif"));
        fonte.setPixelSize(13);
        // Solid text pixels make caption colours exact.
        fonte.setStyleStrategy(QFont::NoAntialias);
        forma->setFont(fonte);
    }
    void liga()
    {
        forma->show();
        flat = new TFlatStyle(forma.get());
        flat->Loaded();
    }
    std::unique_ptr<QWidget> forma;
    TFlatStyle *flat = nullptr;
};

} // namespace

TEST(FlatColours, BlendAndBandsTruncateTowardZero)
{
    struct Caso
    {
        QColor a, b;
        int pct;
        QColor esperado;
    };
    const Caso casos[] = {
        { rgb(200, 0, 100), rgb(0, 200, 100), 50, rgb(100, 100, 100) },
        { rgb(255, 255, 255), rgb(0, 0, 0), 33, rgb(171, 171, 171) }, // 255 - 84.15 -> 171
        { rgb(240, 240, 240), rgb(33, 84, 129), 50, rgb(137, 162, 185) },
        { rgb(10, 20, 30), rgb(10, 20, 30), 77, rgb(10, 20, 30) },
    };
    for (const Caso &c : casos)
        EXPECT_EQ(BlendColor(c.a, c.b, c.pct), c.esperado) << c.pct;

    // 255 rows: row i is band i. 510 rows: two rows a band. Fewer rows: the last band
    // reaching a row wins, so the top row is not the start colour.
    for (int altura : { 255, 510, 20 }) {
        QImage im(3, altura, QImage::Format_RGB32);
        im.fill(Qt::magenta);
        QPainter p(&im);
        GradientFill(p, QRect(0, 0, 3, altura), TGradientDirection::Vertical, rgb(244, 244, 238), rgb(205, 204, 223));
        p.end();
        for (int y = 0; y < altura; ++y) {
            int banda = 0;
            for (int i = 0; i < 256; ++i)
                if (altura * i / 255 <= y && y < altura * (i + 1) / 255)
                    banda = i;
            const QColor esperado(
                244 + (205 - 244) * banda / 255, 244 + (204 - 244) * banda / 255, 238 + (223 - 238) * banda / 255);
            ASSERT_EQ(em(im, 1, y), esperado) << altura << " row " << y;
        }
        if (altura == 255) {
            EXPECT_EQ(em(im, 0, 0), rgb(244, 244, 238));
            EXPECT_EQ(em(im, 0, 254), rgb(206, 205, 224)); // band 254, one short of the end
        }
    }
}

TEST(FlatGeometry, EachLayoutPutsTheGlyphAndCaptionInTheirPlaces)
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
        const TGlyphLayout l
            = CalculaGlyphAndCaption(c.rect, c.glifo, c.texto, c.centrado, c.movido, c.layout, c.espaco);
        EXPECT_EQ(l.glifo, c.glifoEsperado) << c.layout << c.movido;
        EXPECT_EQ(l.texto, c.textoEsperado) << c.layout << c.movido;
    }
}

TEST(FlatRadio, StripHoldsFourRoundImagesAndRimBlendsIntoBackground)
{
    const QImage &faixa = FLAT_BMP_RADIOBUTTON();
    ASSERT_EQ(faixa.size(), QSize(60, 15));
    const QRgb transparente = faixa.pixel(0, 0);
    // Row 0 and the gaps between cells are transparent; each cell is a circle centred at (6, 6).
    for (int x = 0; x < 60; ++x)
        EXPECT_EQ(faixa.pixel(x, 0), transparente);
    for (int d : { 1, 16, 31, 46 }) {
        EXPECT_EQ(faixa.pixel(d, 1), transparente) << d; // corner outside the circle
        EXPECT_EQ(faixa.pixelColor(d, 7), rgb(33, 84, 129)) << d; // left rim
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
    const QColor borda = BlendColor(fundo, rgb(33, 84, 129), 50);
    for (const QPoint &o : { QPoint(2, 6), QPoint(4, 5), QPoint(5, 4), QPoint(6, 2) }) {
        EXPECT_EQ(im.pixelColor(6 - o.x(), 6 - o.y()), borda);
        EXPECT_EQ(im.pixelColor(6 + o.x(), 6 + o.y()), borda);
    }
    EXPECT_EQ(im.pixelColor(0, 0), fundo);
    EXPECT_EQ(im.pixelColor(13, 13), fundo);
}

TEST(FlatMenus, DisabledImagesTurnGreyAndDropDownItemsGrow)
{
    QImage im(2, 1, QImage::Format_ARGB32);
    im.setPixelColor(0, 0, QColor(30, 60, 90, 128));
    im.setPixelColor(1, 0, QColor(255, 255, 255));
    const QImage cinza = ImagemCinza(im);
    EXPECT_EQ(cinza.pixelColor(0, 0), QColor(80, 80, 80, 128));
    EXPECT_EQ(cinza.pixelColor(1, 0), QColor(246, 246, 246));

    EXPECT_EQ(MeasureMenuItem(QSize(100, 20), false), QSize(174, 25));
    EXPECT_EQ(MeasureMenuItem(QSize(100, 20), true), QSize(100, 20));
}

TEST(FlatPainter, EditFramesBecomeOneBlueGreyLine)
{
    Janela j;
    auto *edit = new QLineEdit(QStringLiteral("abc"), j.forma.get());
    edit->setGeometry(10, 10, 120, 21);
    auto *memo = new QPlainTextEdit(j.forma.get());
    memo->setGeometry(10, 40, 120, 60);
    auto *semBorda = new QLineEdit(j.forma.get());
    semBorda->setFrame(false);
    semBorda->setGeometry(10, 110, 120, 21);
    auto *grade = new QTableWidget(3, 3, j.forma.get());
    grade->setGeometry(150, 10, 200, 120);
    grade->setProperty(PropriedadeParentBiDiMode, false);
    j.liga();

    for (QWidget *w : { static_cast<QWidget *>(edit), static_cast<QWidget *>(memo) }) {
        const QImage im = retrato(w);
        const QColor base = w->palette().color(QPalette::Base);
        EXPECT_EQ(em(im, im.width() / 2, 0), rgb(117, 157, 195));
        EXPECT_EQ(em(im, 0, im.height() / 2), rgb(117, 157, 195));
        EXPECT_EQ(em(im, im.width() - 1, im.height() / 2), rgb(117, 157, 195));
        EXPECT_EQ(em(im, im.width() / 2, 1), base);
        EXPECT_EQ(em(im, im.width() / 2, im.height() - 2), base);
    }
    EXPECT_NE(em(retrato(semBorda), 60, 0), rgb(117, 157, 195));
    // The grid is hooked yet keeps its own look.
    EXPECT_NE(THookWindowProc::HookOf(grade), nullptr);
    EXPECT_EQ(conta(retrato(grade), rgb(117, 157, 195)), 0);
}

TEST(FlatPainter, PushButtonFaceFollowsMouseSpaceAndFocus)
{
    Janela j;
    auto *botao = new QPushButton(QStringLiteral("OK"), j.forma.get());
    botao->setGeometry(20, 20, 75, 25);
    auto *outro = new QLineEdit(j.forma.get());
    outro->setGeometry(20, 100, 80, 21);
    j.liga();
    const int w = 75, h = 25;
    const QColor branco(255, 255, 255), escuro(205, 204, 223);

    // The gradient rows from `inicio` down must match a 256-band fill of that region.
    auto gradienteDe = [&](const QImage &im, int inicio, const QColor &de, const QColor &ate) {
        QImage ref(1, h - inicio, QImage::Format_RGB32);
        QPainter p(&ref);
        GradientFill(p, ref.rect(), TGradientDirection::Vertical, de, ate);
        p.end();
        for (int y = inicio; y < h - 3; ++y)
            if (em(im, 4, y) != ref.pixelColor(0, y - inicio))
                return false;
        return true;
    };

    QImage im = retrato(botao);
    EXPECT_EQ(em(im, w / 2, 0), rgb(0, 60, 116));
    EXPECT_EQ(em(im, 0, h / 2), rgb(0, 60, 116));
    EXPECT_EQ(em(im, w / 2, 1), branco);
    EXPECT_EQ(em(im, 4, h / 4 - 1), branco);
    EXPECT_TRUE(gradienteDe(im, h / 4, rgb(244, 244, 238), escuro));

    entra(botao);
    im = retrato(botao);
    EXPECT_EQ(em(im, w / 2, 1), rgb(254, 221, 149));
    EXPECT_EQ(em(im, w / 2, 2), rgb(253, 216, 137));
    EXPECT_EQ(em(im, w - 2, h / 2), rgb(229, 151, 0));
    EXPECT_EQ(em(im, 4, h / 2 - 1), branco);
    EXPECT_TRUE(gradienteDe(im, h / 2, rgb(244, 244, 238), escuro));

    // Pressed over the button: dark fill, reversed gradient, no double frame.
    mouse(botao, QEvent::MouseButtonPress, QPoint(10, 10));
    im = retrato(botao);
    EXPECT_EQ(em(im, w / 2, 1), escuro);
    EXPECT_TRUE(gradienteDe(im, h / 4, escuro, branco));
    // Dragged off it: no pressed look while the pointer is away.
    mouse(botao, QEvent::MouseMove, QPoint(200, 10));
    im = retrato(botao);
    EXPECT_EQ(em(im, w / 2, 1), branco);
    EXPECT_TRUE(gradienteDe(im, h / 4, rgb(244, 244, 238), escuro));
    mouse(botao, QEvent::MouseMove, QPoint(10, 10));
    EXPECT_EQ(em(retrato(botao), w / 2, 1), escuro);
    mouse(botao, QEvent::MouseButtonRelease, QPoint(10, 10));
    QEvent sai(QEvent::Leave);
    envia(botao, sai);

    // The space bar shows it wherever the pointer is.
    tecla(botao, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(em(retrato(botao), w / 2, 1), escuro);
    tecla(botao, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(em(retrato(botao), w / 2, 1), branco);

    // A default button shows the blue frame while no push button has the focus.
    botao->setDefault(true);
    EXPECT_EQ(em(retrato(botao), w / 2, 1), rgb(188, 212, 246));
    EXPECT_EQ(em(retrato(botao), w - 2, h / 2), rgb(105, 130, 238));
    EXPECT_TRUE(gradienteDe(retrato(botao), h / 4, rgb(244, 244, 238), escuro));
    botao->setDefault(false);

    QApplication::setActiveWindow(j.forma.get());
    botao->setFocus();
    if (botao->hasFocus()) {
        im = retrato(botao);
        EXPECT_EQ(em(im, w / 2, 1), rgb(188, 212, 246));
        EXPECT_NE(em(im, w / 2 + 1, 2), rgb(188, 212, 246)); // dotted focus rectangle over the inner frame
    } else {
        ADD_FAILURE() << "no keyboard focus under the offscreen platform";
    }
}

TEST(FlatPainter, DisabledButtonIsGreyAndNeverHot)
{
    Janela j;
    auto *botao = new QPushButton(QStringLiteral("Salvar"), j.forma.get());
    botao->setGeometry(20, 20, 90, 25);
    j.liga();
    EXPECT_EQ(conta(retrato(botao), rgb(161, 161, 146)), 0);
    botao->setEnabled(false);
    entra(botao);
    const QImage im = retrato(botao);
    EXPECT_GT(conta(im, rgb(161, 161, 146)), 20);
    EXPECT_EQ(em(im, 45, 1), rgb(255, 255, 255));
    EXPECT_FALSE(THookWindowProc::HookOf(botao)->Hot());
}

TEST(FlatPainter, GlyphButtonPicksImageByStateAndSoftensCorners)
{
    Janela j;
    auto pix = [](const QColor &cor) {
        QPixmap p(16, 16);
        p.fill(cor);
        return p;
    };
    QIcon duas;
    duas.addPixmap(pix(Qt::red), QIcon::Normal);
    duas.addPixmap(pix(Qt::blue), QIcon::Disabled);
    QIcon tres = duas;
    tres.addPixmap(pix(Qt::green), QIcon::Active);
    auto *botao = new QPushButton(QStringLiteral("Minimizar"), j.forma.get());
    botao->setGeometry(20, 20, 145, 38);
    botao->setIconSize(QSize(16, 16));
    botao->setIcon(duas);
    j.liga();

    auto cores = [&] {
        const QImage im = retrato(botao);
        return std::tuple(conta(im, Qt::red) == 256, conta(im, Qt::blue) == 256, conta(im, Qt::green) == 256);
    };
    EXPECT_EQ(cores(), std::tuple(true, false, false));
    mouse(botao, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(cores(), std::tuple(true, false, false)); // only two images
    botao->setIcon(tres);
    EXPECT_EQ(cores(), std::tuple(false, false, true));
    mouse(botao, QEvent::MouseButtonRelease, QPoint(5, 5));
    botao->setEnabled(false);
    EXPECT_EQ(cores(), std::tuple(false, true, false));

    // Corners melt half-way into the parent's background.
    const QImage im = retrato(botao);
    const QColor meio = BlendColor(rgb(0, 60, 116), j.forma->palette().color(QPalette::Window), 50);
    EXPECT_EQ(em(im, 0, 1), meio);
    EXPECT_EQ(em(im, 1, 1), meio);
    EXPECT_EQ(em(im, 143, 36), meio);
}

TEST(FlatPainter, GroupBoxGetsAGreyFrameAndABlueCaptionUnlessItsFontIsItsOwn)
{
    Janela j;
    auto *herda = new QGroupBox(QStringLiteral("Grupo"), j.forma.get());
    herda->setGeometry(10, 10, 180, 80);
    auto *propria = new QGroupBox(QStringLiteral("Grupo"), j.forma.get());
    propria->setGeometry(200, 10, 180, 80);
    QFont fonte = j.forma->font();
    fonte.setBold(true);
    propria->setFont(fonte);
    j.liga();

    const QColor fundo = j.forma->palette().color(QPalette::Window);
    for (QGroupBox *g : { herda, propria }) {
        const QImage im = retrato(g);
        EXPECT_EQ(em(im, 178, 40), rgb(172, 168, 153));
        EXPECT_EQ(em(im, 179, 40), fundo);
        EXPECT_EQ(em(im, 1, 40), rgb(172, 168, 153));
        EXPECT_EQ(em(im, 90, 78), rgb(172, 168, 153));
    }
    EXPECT_GT(conta(retrato(herda), rgb(40, 77, 166)), 10);
    EXPECT_EQ(conta(retrato(propria), rgb(40, 77, 166)), 0);
}

TEST(FlatPainter, RadioImageFollowsHotAndChecked)
{
    Janela j;
    auto *radio = new QRadioButton(QStringLiteral("AVISO MENSAL"), j.forma.get());
    radio->setGeometry(10, 10, 150, 20);
    auto *direita = new QRadioButton(QStringLiteral("à esquerda"), j.forma.get());
    direita->setGeometry(10, 40, 150, 20);
    direita->setLayoutDirection(Qt::RightToLeft);
    radio->setAutoExclusive(false);
    j.liga();
    const QColor fundo = j.forma->palette().color(QPalette::Window);

    auto quadrado = [&](QRadioButton *r) {
        const QImage im = retrato(r);
        const int x = r->layoutDirection() == Qt::RightToLeft ? im.width() - 14 : 0;
        return im.copy(x, (im.height() - 14) / 2, 14, 14);
    };
    struct Caso
    {
        bool quente, marcado, pressionado;
    };
    for (const Caso c : { Caso { false, false, false }, Caso { false, true, false }, Caso { true, false, false },
             Caso { true, true, false }, Caso { true, true, true } }) {
        radio->setChecked(c.marcado);
        if (c.quente)
            entra(radio);
        else {
            QEvent sai(QEvent::Leave);
            envia(radio, sai);
        }
        if (c.pressionado)
            mouse(radio, QEvent::MouseButtonPress, QPoint(3, 3));
        EXPECT_EQ(quadrado(radio), ImagemRadio(c.quente, c.marcado, fundo).convertToFormat(QImage::Format_RGB32))
            << c.quente << c.marcado << c.pressionado;
    }
    EXPECT_EQ(quadrado(direita), ImagemRadio(false, false, fundo).convertToFormat(QImage::Format_RGB32));
}

TEST(FlatPainter, OtherLibrariesControlsGetFramesOfTheirOwn)
{
    Janela j;
    auto *spin = new QSpinBox(j.forma.get());
    spin->setGeometry(10, 10, 80, 22);
    auto *combo = new QComboBox(j.forma.get());
    combo->addItems({ QStringLiteral("um"), QStringLiteral("dois") });
    combo->setGeometry(100, 10, 100, 22);
    auto *barra = new QProgressBar(j.forma.get());
    barra->setGeometry(10, 50, 200, 20);
    barra->setValue(25);
    barra->setTextVisible(false);
    j.liga();
    for (QWidget *w : { static_cast<QWidget *>(spin), static_cast<QWidget *>(combo), static_cast<QWidget *>(barra) }) {
        ASSERT_NE(THookWindowProc::HookOf(w), nullptr);
        EXPECT_EQ(em(retrato(w), 0, w->height() / 2), rgb(117, 157, 195));
    }
    const QImage im = retrato(barra);
    EXPECT_EQ(em(im, 190, 10), rgb(255, 255, 255));
    EXPECT_NE(em(im, 20, 10), rgb(255, 255, 255));
    // The arrow cells are flat buttons outlined like push buttons.
    EXPECT_GT(conta(retrato(spin), rgb(0, 60, 116)), 20);
    EXPECT_GT(conta(retrato(combo), rgb(0, 60, 116)), 20);
}

TEST(FlatHooks, SkipTagLeavesPanelsAndMenusAlone)
{
    for (int skip : { 0, 5 }) {
        Janela j;
        auto *painel = new QFrame(j.forma.get());
        painel->setProperty(PropriedadeTag, 5);
        auto *dentro = new QPushButton(QStringLiteral("a"), painel);
        auto *grupo = new QGroupBox(painel);
        auto *fundo = new QLineEdit(grupo);
        auto *fora = new QPushButton(QStringLiteral("b"), j.forma.get());
        auto *popup = new QMenu(j.forma.get());
        popup->addAction(QStringLiteral("Exclui Agenda"));
        popup->setProperty(PropriedadeTag, 5);
        auto *outroPopup = new QMenu(j.forma.get());
        outroPopup->addAction(QStringLiteral("Programar Agenda"));
        j.forma->show();
        TFlatStyle flat(j.forma.get());
        flat.setSkipTag(skip);
        flat.Loaded();
        const bool pula = skip == 5;
        EXPECT_EQ(THookWindowProc::HookOf(dentro) == nullptr, pula);
        EXPECT_EQ(THookWindowProc::HookOf(grupo) == nullptr, pula);
        EXPECT_EQ(THookWindowProc::HookOf(fundo) == nullptr, pula);
        EXPECT_NE(THookWindowProc::HookOf(fora), nullptr);
        EXPECT_EQ(THookWindowProc::HookOf(painel), nullptr); // panels are never hooked
        EXPECT_EQ(popup->style() == flat.EstiloMenus(), !pula);
        EXPECT_EQ(outroPopup->style(), flat.EstiloMenus());
    }
}

TEST(FlatHooks, ReactivatingAndDestroyingKeepOneHookPerControl)
{
    Janela j;
    auto *a = new QPushButton(j.forma.get());
    auto *b = new QLineEdit(j.forma.get());
    auto *c = new QRadioButton(j.forma.get());
    new QLabel(j.forma.get());
    j.liga();
    ASSERT_EQ(j.flat->Hooks().size(), 3);

    j.flat->setActive(false);
    j.flat->setActive(true);
    j.flat->ProcessAllForms();
    EXPECT_EQ(j.flat->Hooks().size(), 3);

    delete b;
    EXPECT_EQ(j.flat->Hooks().size(), 2);
    EXPECT_EQ(THookWindowProc::HookOf(b), nullptr);
    for (THookWindowProc *h : j.flat->Hooks())
        EXPECT_TRUE(h->Control() == a || h->Control() == c);

    // The painter going first hands every control its own look back.
    a->setGeometry(10, 10, 75, 25);
    EXPECT_EQ(em(retrato(a), 37, 0), rgb(0, 60, 116));
    delete j.flat;
    j.flat = nullptr;
    EXPECT_EQ(THookWindowProc::HookOf(a), nullptr);
    EXPECT_NE(em(retrato(a), 37, 0), rgb(0, 60, 116));
    mouse(a, QEvent::MouseButtonPress, QPoint(5, 5));
    mouse(a, QEvent::MouseButtonRelease, QPoint(5, 5));

    // A click whose handler takes the painter away, hook and all.
    Janela k;
    auto *fecha = new QPushButton(QStringLiteral("Fechar"), k.forma.get());
    fecha->setGeometry(10, 10, 75, 25);
    k.liga();
    QObject::connect(fecha, &QPushButton::clicked, [&] {
        delete k.flat;
        k.flat = nullptr;
    });
    mouse(fecha, QEvent::MouseButtonPress, QPoint(5, 5));
    mouse(fecha, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(k.flat, nullptr);
    EXPECT_EQ(THookWindowProc::HookOf(fecha), nullptr);
}

TEST(FlatHooks, ControlThatThrowsKeepsWorking)
{
    struct Rebelde : QPushButton
    {
        using QPushButton::QPushButton;
        bool lanca = true;
        void mousePressEvent(QMouseEvent *e) override
        {
            if (lanca) {
                lanca = false;
                throw std::runtime_error("falha");
            }
            QPushButton::mousePressEvent(e);
        }
    };
    Janela j;
    auto *botao = new Rebelde(QStringLiteral("OK"), j.forma.get());
    botao->setGeometry(10, 10, 75, 25);
    j.liga();
    int cliques = 0;
    QObject::connect(botao, &QPushButton::clicked, [&] { ++cliques; });
    EXPECT_NO_THROW(mouse(botao, QEvent::MouseButtonPress, QPoint(5, 5)));
    mouse(botao, QEvent::MouseButtonRelease, QPoint(5, 5));
    mouse(botao, QEvent::MouseButtonPress, QPoint(5, 5));
    mouse(botao, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(cliques, 1);
    EXPECT_EQ(em(retrato(botao), 37, 0), rgb(0, 60, 116));
}

TEST(FlatHooks, FiltersPutOnControlsBeforeThePainterStillSeeTheirEvents)
{
    // As a window that answers Enter itself: it takes the key before the control does.
    struct Teclas : QObject
    {
        int vistas = 0;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(e)->key() != Qt::Key_Return)
                return false;
            ++vistas;
            return true;
        }
    };
    Janela j;
    auto *botao = new QPushButton(QStringLiteral("Fechar"), j.forma.get());
    botao->setGeometry(10, 10, 75, 25);
    botao->setAutoDefault(true); // would click on Enter were the key to reach it
    auto *edit = new QLineEdit(j.forma.get());
    edit->setGeometry(10, 50, 75, 21);
    Teclas filtro;
    botao->installEventFilter(&filtro);
    edit->installEventFilter(&filtro);
    j.liga();
    ASSERT_NE(THookWindowProc::HookOf(botao), nullptr);
    ASSERT_NE(THookWindowProc::HookOf(edit), nullptr);
    int cliques = 0;
    QObject::connect(botao, &QPushButton::clicked, [&] { ++cliques; });

    tecla(botao, QEvent::KeyPress, Qt::Key_Return);
    tecla(edit, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(filtro.vistas, 2);
    EXPECT_EQ(cliques, 0);
    // The look still follows the space bar.
    tecla(botao, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(em(retrato(botao), 37, 1), rgb(205, 204, 223));
    tecla(botao, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(cliques, 1);
}

TEST(FlatHooks, LaterWindowsArePickedUpAtActivationAndNextTurn)
{
    Janela j;
    j.liga();
    QApplication::setActiveWindow(j.forma.get());

    auto nova = std::make_unique<QMainWindow>();
    auto *botao = new QPushButton(QStringLiteral("OK"), nova.get());
    QMenu *menu = nova->menuBar()->addMenu(QStringLiteral("&Funções"));
    menu->addAction(QStringLiteral("Programar Agenda"));
    nova->ensurePolished();
    EXPECT_EQ(j.flat->PendingControls(), QList<QWidget *> { nova.get() });
    EXPECT_EQ(j.flat->PendingMenus(), QList<QWidget *> { nova.get() });
    EXPECT_EQ(THookWindowProc::HookOf(botao), nullptr);
    EXPECT_NE(menu->style(), j.flat->EstiloMenus());

    nova->show();
    QApplication::setActiveWindow(nova.get());
    espera(20);
    EXPECT_NE(THookWindowProc::HookOf(botao), nullptr);
    EXPECT_EQ(menu->style(), j.flat->EstiloMenus());
    EXPECT_EQ(nova->menuBar()->style(), j.flat->EstiloMenus());
    EXPECT_TRUE(j.flat->PendingControls().isEmpty());
    EXPECT_TRUE(j.flat->PendingMenus().isEmpty());

    // A window destroyed while pending leaves both lists.
    auto *breve = new QWidget;
    breve->ensurePolished();
    EXPECT_EQ(j.flat->PendingControls().size(), 1);
    delete breve;
    EXPECT_TRUE(j.flat->PendingControls().isEmpty());
    EXPECT_TRUE(j.flat->PendingMenus().isEmpty());
    espera(5);

    // Not tracked while inactive.
    j.flat->setActive(false);
    QWidget ignorada;
    ignorada.ensurePolished();
    EXPECT_TRUE(j.flat->PendingControls().isEmpty());
}

TEST(FlatHooks, MenuItemsGrowOnlyInDropDowns)
{
    QMainWindow janela;
    QMenu *menu = janela.menuBar()->addMenu(QStringLiteral("&Funções"));
    QAction *programar = menu->addAction(QStringLiteral("Programar Agenda"));
    QAction *separador = menu->addSeparator();
    QAction *desativar = menu->addAction(QStringLiteral("Desativar Agenda"));
    desativar->setShortcut(QKeySequence(Qt::Key_Delete));
    QAction *sobre = janela.menuBar()->addAction(QStringLiteral("Sobre Nós Todos"));
    janela.resize(400, 200);
    janela.show();
    menu->ensurePolished();
    auto medidas = [&] {
        return std::tuple(menu->actionGeometry(programar).size(), menu->actionGeometry(separador).size(),
            menu->actionGeometry(desativar).size(), janela.menuBar()->actionGeometry(sobre).size());
    };
    const auto [p0, s0, d0, b0] = medidas();
    TFlatStyle flat(&janela);
    flat.HookMenus(&janela);
    menu->adjustSize();
    const auto [p1, s1, d1, b1] = medidas();
    EXPECT_EQ(p1, p0 + QSize(74, 5));
    EXPECT_EQ(s1, s0 + QSize(74, 5));
    EXPECT_EQ(d1, d0 + QSize(74, 5));
    // The bar keeps the style's height; its width grows only where the style leaves less than
    // our 6-pixel caption margins.
    EXPECT_EQ(b1.height(), b0.height());
    EXPECT_GE(b1.width(), b0.width());
    EXPECT_GE(b1.width(), janela.menuBar()->fontMetrics().horizontalAdvance(QStringLiteral("Sobre Nós Todos")) + 12);
}
