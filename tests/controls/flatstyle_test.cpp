#include "controls/flatstyle.h"

#include "controls/desenhoflat.h"
#include "controls/estilomenusflat.h"
#include "controls/hookwindowproc.h"
#include "support/pixels.h"

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
#include <QStyleOption>
#include <QTableWidget>
#include <QTimer>
#include <QtMath>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace {

QColor Rgb(int r, int g, int b)
{
    return QColor(r, g, b);
}

QColor Em(const QImage &im, int x, int y)
{
    return im.pixelColor(x, y).toRgb();
}

QImage Retrato(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int Conta(const QImage &im, const QColor &cor)
{
    int n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            n += Em(im, x, y) == cor;
    return n;
}

// Lets queued calls and window activation run.
void Espera(int ms)
{
    QEventLoop laco;
    QTimer::singleShot(ms, &laco, &QEventLoop::quit);
    laco.exec();
}

void Envia(QWidget *w, QEvent &e)
{
    QApplication::sendEvent(w, &e);
}

void Entra(QWidget *w)
{
    QEnterEvent e(QPointF(3, 3), QPointF(3, 3), w->mapToGlobal(QPointF(3, 3)));
    Envia(w, e);
}

void Mouse(QWidget *w, QEvent::Type tipo, QPoint pos)
{
    QMouseEvent e(tipo, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::LeftButton,
        tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    Envia(w, e);
}

void Tecla(QWidget *w, QEvent::Type tipo, int codigo)
{
    QKeyEvent e(tipo, codigo, Qt::NoModifier, codigo == Qt::Key_Space ? QStringLiteral(" ") : QString());
    Envia(w, e);
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
    void Liga()
    {
        forma->show();
        flat = new TFlatStyle(forma.get());
        flat->Loaded();
    }
    std::unique_ptr<QWidget> forma;
    TFlatStyle *flat = nullptr;
};

} // namespace

TEST(EstiloMenusFlat, DropDownItemsGrowAndBarItemsKeepTheirMeasure)
{
    EXPECT_EQ(MeasureMenuItem(QSize(100, 20), false), QSize(174, 25));
    EXPECT_EQ(MeasureMenuItem(QSize(100, 20), true), QSize(100, 20));
}

TEST(FlatStyle, MenuItemsPaintTheirIconColumnSelectionAndCaptionMargin)
{
    auto desenha = [](bool itemDaBarra, QStyle::State estado,
                       QStyleOptionMenuItem::MenuItemType tipo = QStyleOptionMenuItem::Normal) {
        QImage img(200, 22, QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QStyleOptionMenuItem item;
        item.rect = img.rect();
        item.palette.setColor(QPalette::Base, Qt::white);
        item.palette.setColor(QPalette::Text, Qt::black);
        item.state = QStyle::State_Enabled | estado;
        item.menuItemType = tipo;
        item.text = QStringLiteral("Programar");
        item.font = QFont(QStringLiteral("Liberation Sans"));
        item.font.setPixelSize(13);
        QPainter p(&img);
        DrawMenuItem(p, item, itemDaBarra, nullptr);
        return img;
    };
    // A drop-down item: a 24-pixel column fading from white to blue from left to right, the
    // caption 6 pixels past it.
    const QImage normal = desenha(false, {});
    EXPECT_EQ(normal.pixelColor(20, 2), normal.pixelColor(20, 19));
    EXPECT_NE(normal.pixelColor(23, 11), QColor(Qt::white));
    EXPECT_EQ(normal.pixelColor(24, 11), QColor(Qt::white));
    EXPECT_GE(CaixaDaTinta(normal, Qt::white, QRect(24, 0, 176, 22)).left(), 24 + 6);
    // A separator starts where the captions do.
    const QImage separador = desenha(false, {}, QStyleOptionMenuItem::Separator);
    EXPECT_EQ(separador.pixelColor(29, 11), QColor(Qt::white));
    EXPECT_EQ(separador.pixelColor(30, 11), FlatCores::Separador);
    // Selected: framed in navy and filled in light orange.
    const QImage selecionado = desenha(false, QStyle::State_Selected);
    EXPECT_EQ(selecionado.pixelColor(0, 0), FlatCores::MolduraItem);
    EXPECT_EQ(selecionado.pixelColor(190, 11), FlatCores::ItemSelecionado);
    // A bar item under the mouse ends in orange; once its menu is open, in blue.
    const QColor quente = desenha(true, QStyle::State_Selected).pixelColor(190, 20);
    const QColor aberto = desenha(true, QStyle::State_Selected | QStyle::State_Sunken).pixelColor(190, 20);
    EXPECT_GT(quente.red(), quente.blue());
    EXPECT_LT(aberto.red(), aberto.blue());
}

TEST(FlatStyle, EditFramesBecomeOneBlueGreyLine)
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
    j.Liga();

    for (QWidget *w : { static_cast<QWidget *>(edit), static_cast<QWidget *>(memo) }) {
        const QImage im = Retrato(w);
        const QColor base = w->palette().color(QPalette::Base);
        EXPECT_EQ(Em(im, im.width() / 2, 0), Rgb(117, 157, 195));
        EXPECT_EQ(Em(im, 0, im.height() / 2), Rgb(117, 157, 195));
        EXPECT_EQ(Em(im, im.width() - 1, im.height() / 2), Rgb(117, 157, 195));
        EXPECT_EQ(Em(im, im.width() / 2, 1), base);
        EXPECT_EQ(Em(im, im.width() / 2, im.height() - 2), base);
    }
    EXPECT_NE(Em(Retrato(semBorda), 60, 0), Rgb(117, 157, 195));
    // The grid is hooked yet keeps its own look.
    EXPECT_NE(THookWindowProc::HookOf(grade), nullptr);
    EXPECT_EQ(Conta(Retrato(grade), Rgb(117, 157, 195)), 0);
}

TEST(FlatStyle, PushButtonFaceFollowsMouseSpaceAndFocus)
{
    Janela j;
    auto *botao = new QPushButton(QStringLiteral("OK"), j.forma.get());
    botao->setGeometry(20, 20, 75, 25);
    auto *outro = new QLineEdit(j.forma.get());
    outro->setGeometry(20, 100, 80, 21);
    j.Liga();
    const int w = 75, h = 25;
    const QColor branco(255, 255, 255), escuro(205, 204, 223);

    // The gradient rows from `inicio` down must match a 256-band fill of that region.
    auto gradienteDe = [&](const QImage &im, int inicio, const QColor &de, const QColor &ate) {
        QImage ref(1, h - inicio, QImage::Format_RGB32);
        QPainter p(&ref);
        GradientFill(p, ref.rect(), TDirecaoPreenchimento::Vertical, de, ate);
        p.end();
        for (int y = inicio; y < h - 3; ++y)
            if (Em(im, 4, y) != ref.pixelColor(0, y - inicio))
                return false;
        return true;
    };

    QImage im = Retrato(botao);
    EXPECT_EQ(Em(im, w / 2, 0), Rgb(0, 60, 116));
    EXPECT_EQ(Em(im, 0, h / 2), Rgb(0, 60, 116));
    EXPECT_EQ(Em(im, w / 2, 1), branco);
    EXPECT_EQ(Em(im, 4, h / 4 - 1), branco);
    EXPECT_TRUE(gradienteDe(im, h / 4, Rgb(244, 244, 238), escuro));

    Entra(botao);
    im = Retrato(botao);
    EXPECT_EQ(Em(im, w / 2, 1), Rgb(254, 221, 149));
    EXPECT_EQ(Em(im, w / 2, 2), Rgb(253, 216, 137));
    EXPECT_EQ(Em(im, w - 2, h / 2), Rgb(229, 151, 0));
    EXPECT_EQ(Em(im, 4, h / 2 - 1), branco);
    EXPECT_TRUE(gradienteDe(im, h / 2, Rgb(244, 244, 238), escuro));

    // Pressed over the button: dark fill, reversed gradient, no double frame.
    Mouse(botao, QEvent::MouseButtonPress, QPoint(10, 10));
    im = Retrato(botao);
    EXPECT_EQ(Em(im, w / 2, 1), escuro);
    EXPECT_TRUE(gradienteDe(im, h / 4, escuro, branco));
    // Dragged off it: no pressed look while the pointer is away.
    Mouse(botao, QEvent::MouseMove, QPoint(200, 10));
    im = Retrato(botao);
    EXPECT_EQ(Em(im, w / 2, 1), branco);
    EXPECT_TRUE(gradienteDe(im, h / 4, Rgb(244, 244, 238), escuro));
    Mouse(botao, QEvent::MouseMove, QPoint(10, 10));
    EXPECT_EQ(Em(Retrato(botao), w / 2, 1), escuro);
    Mouse(botao, QEvent::MouseButtonRelease, QPoint(10, 10));
    QEvent sai(QEvent::Leave);
    Envia(botao, sai);

    // The space bar shows it wherever the pointer is.
    Tecla(botao, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(Em(Retrato(botao), w / 2, 1), escuro);
    Tecla(botao, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(Em(Retrato(botao), w / 2, 1), branco);

    // A default button shows the blue frame while no push button has the focus.
    botao->setDefault(true);
    EXPECT_EQ(Em(Retrato(botao), w / 2, 1), Rgb(188, 212, 246));
    EXPECT_EQ(Em(Retrato(botao), w - 2, h / 2), Rgb(105, 130, 238));
    EXPECT_TRUE(gradienteDe(Retrato(botao), h / 4, Rgb(244, 244, 238), escuro));
    botao->setDefault(false);

    QApplication::setActiveWindow(j.forma.get());
    botao->setFocus();
    if (botao->hasFocus()) {
        im = Retrato(botao);
        EXPECT_EQ(Em(im, w / 2, 1), Rgb(188, 212, 246));
        EXPECT_NE(Em(im, w / 2 + 1, 2), Rgb(188, 212, 246)); // dotted focus rectangle over the inner frame
    } else {
        ADD_FAILURE() << "no keyboard focus under the offscreen platform";
    }
}

TEST(FlatStyle, DisabledButtonIsGreyAndNeverHot)
{
    Janela j;
    auto *botao = new QPushButton(QStringLiteral("Salvar"), j.forma.get());
    botao->setGeometry(20, 20, 90, 25);
    j.Liga();
    EXPECT_EQ(Conta(Retrato(botao), Rgb(161, 161, 146)), 0);
    botao->setEnabled(false);
    Entra(botao);
    const QImage im = Retrato(botao);
    EXPECT_GT(Conta(im, Rgb(161, 161, 146)), 20);
    EXPECT_EQ(Em(im, 45, 1), Rgb(255, 255, 255));
    EXPECT_FALSE(THookWindowProc::HookOf(botao)->Hot());
}

TEST(FlatStyle, GlyphButtonPicksImageByStateAndSoftensCorners)
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
    j.Liga();

    auto cores = [&] {
        const QImage im = Retrato(botao);
        return std::tuple(Conta(im, Qt::red) == 256, Conta(im, Qt::blue) == 256, Conta(im, Qt::green) == 256);
    };
    EXPECT_EQ(cores(), std::tuple(true, false, false));
    Mouse(botao, QEvent::MouseButtonPress, QPoint(5, 5));
    EXPECT_EQ(cores(), std::tuple(true, false, false)); // only two images
    botao->setIcon(tres);
    EXPECT_EQ(cores(), std::tuple(false, false, true));
    Mouse(botao, QEvent::MouseButtonRelease, QPoint(5, 5));
    botao->setEnabled(false);
    EXPECT_EQ(cores(), std::tuple(false, true, false));

    // Corners melt half-way into the parent's background.
    const QImage im = Retrato(botao);
    const QColor meio = BlendColor(Rgb(0, 60, 116), j.forma->palette().color(QPalette::Window), 50);
    EXPECT_EQ(Em(im, 0, 1), meio);
    EXPECT_EQ(Em(im, 1, 1), meio);
    EXPECT_EQ(Em(im, 143, 36), meio);
}

TEST(FlatStyle, GroupBoxGetsAGreyFrameAndABlueCaptionUnlessItsFontIsItsOwn)
{
    Janela j;
    auto *herda = new QGroupBox(QStringLiteral("Grupo"), j.forma.get());
    herda->setGeometry(10, 10, 180, 80);
    auto *propria = new QGroupBox(QStringLiteral("Grupo"), j.forma.get());
    propria->setGeometry(200, 10, 180, 80);
    QFont fonte = j.forma->font();
    fonte.setBold(true);
    propria->setFont(fonte);
    j.Liga();

    const QColor fundo = j.forma->palette().color(QPalette::Window);
    for (QGroupBox *g : { herda, propria }) {
        const QImage im = Retrato(g);
        EXPECT_EQ(Em(im, 178, 40), Rgb(172, 168, 153));
        EXPECT_EQ(Em(im, 179, 40), fundo);
        EXPECT_EQ(Em(im, 1, 40), Rgb(172, 168, 153));
        EXPECT_EQ(Em(im, 90, 78), Rgb(172, 168, 153));
    }
    EXPECT_GT(Conta(Retrato(herda), Rgb(40, 77, 166)), 10);
    EXPECT_EQ(Conta(Retrato(propria), Rgb(40, 77, 166)), 0);
}

TEST(FlatStyle, RadioImageFollowsHotAndChecked)
{
    Janela j;
    auto *radio = new QRadioButton(QStringLiteral("AVISO MENSAL"), j.forma.get());
    radio->setGeometry(10, 10, 150, 20);
    auto *direita = new QRadioButton(QStringLiteral("à esquerda"), j.forma.get());
    direita->setGeometry(10, 40, 150, 20);
    direita->setLayoutDirection(Qt::RightToLeft);
    radio->setAutoExclusive(false);
    j.Liga();
    const QColor fundo = j.forma->palette().color(QPalette::Window);

    auto quadrado = [&](QRadioButton *r) {
        const QImage im = Retrato(r);
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
            Entra(radio);
        else {
            QEvent sai(QEvent::Leave);
            Envia(radio, sai);
        }
        if (c.pressionado)
            Mouse(radio, QEvent::MouseButtonPress, QPoint(3, 3));
        EXPECT_EQ(quadrado(radio), ImagemRadio(c.quente, c.marcado, fundo).convertToFormat(QImage::Format_RGB32))
            << c.quente << c.marcado << c.pressionado;
    }
    EXPECT_EQ(quadrado(direita), ImagemRadio(false, false, fundo).convertToFormat(QImage::Format_RGB32));
}

TEST(FlatStyle, RadioRimStaysWholeOnHighDensityScreens)
{
    Janela j;
    auto *radio = new QRadioButton(QStringLiteral("AVISO MENSAL"), j.forma.get());
    radio->setGeometry(10, 10, 150, 20);
    j.Liga();
    // At scale 1 the rim runs at radius 6 around the middle of the 13 pixels the circle spans,
    // (6.5, 6.5) from the square's corner, 3 pixels down in a 20-pixel control. At any scale
    // every direction must meet the rim's colour there, not a gap of background.
    for (const qreal escala : { 1.5, 2.0 }) {
        for (const bool quente : { false, true }) {
            if (quente)
                Entra(radio);
            const QImage im = RetratoEmEscala(radio, escala);
            const QPointF centro = QPointF(6.5, 3 + 6.5) * escala;
            int piorDistancia = 0;
            for (int grau = 0; grau < 360; grau += 3) {
                const QPointF direcao(qCos(qDegreesToRadians(grau)), qSin(qDegreesToRadians(grau)));
                int melhor = 255;
                for (qreal r = 6 * escala - 1; r <= 6 * escala + 1; r += 0.5) {
                    const QPoint p = (centro + direcao * r).toPoint();
                    const QColor c = Em(im, p.x(), p.y());
                    melhor = std::min(melhor,
                        std::max({ std::abs(c.red() - 33), std::abs(c.green() - 84), std::abs(c.blue() - 129) }));
                }
                piorDistancia = std::max(piorDistancia, melhor);
            }
            EXPECT_LE(piorDistancia, 80) << escala << quente;
        }
    }
}

TEST(FlatStyle, OtherLibrariesControlsGetFramesOfTheirOwn)
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
    j.Liga();
    for (QWidget *w : { static_cast<QWidget *>(spin), static_cast<QWidget *>(combo), static_cast<QWidget *>(barra) }) {
        ASSERT_NE(THookWindowProc::HookOf(w), nullptr);
        EXPECT_EQ(Em(Retrato(w), 0, w->height() / 2), Rgb(117, 157, 195));
    }
    const QImage im = Retrato(barra);
    EXPECT_EQ(Em(im, 190, 10), Rgb(255, 255, 255));
    EXPECT_NE(Em(im, 20, 10), Rgb(255, 255, 255));
    // The arrow cells are flat buttons outlined like push buttons.
    EXPECT_GT(Conta(Retrato(spin), Rgb(0, 60, 116)), 20);
    EXPECT_GT(Conta(Retrato(combo), Rgb(0, 60, 116)), 20);
}

TEST(FlatStyle, SkipTagLeavesPanelsAndMenusAlone)
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

TEST(FlatStyle, ReactivatingAndDestroyingKeepOneHookPerControl)
{
    Janela j;
    auto *a = new QPushButton(j.forma.get());
    auto *b = new QLineEdit(j.forma.get());
    auto *c = new QRadioButton(j.forma.get());
    new QLabel(j.forma.get());
    j.Liga();
    ASSERT_EQ(j.flat->Ganchos().size(), 3);

    j.flat->setActive(false);
    j.flat->setActive(true);
    j.flat->ProcessAllForms();
    EXPECT_EQ(j.flat->Ganchos().size(), 3);

    delete b;
    EXPECT_EQ(j.flat->Ganchos().size(), 2);
    EXPECT_EQ(THookWindowProc::HookOf(b), nullptr);
    for (THookWindowProc *h : j.flat->Ganchos())
        EXPECT_TRUE(h->Control() == a || h->Control() == c);

    // The painter going first hands every control its own look back.
    a->setGeometry(10, 10, 75, 25);
    EXPECT_EQ(Em(Retrato(a), 37, 0), Rgb(0, 60, 116));
    delete j.flat;
    j.flat = nullptr;
    EXPECT_EQ(THookWindowProc::HookOf(a), nullptr);
    EXPECT_NE(Em(Retrato(a), 37, 0), Rgb(0, 60, 116));
    Mouse(a, QEvent::MouseButtonPress, QPoint(5, 5));
    Mouse(a, QEvent::MouseButtonRelease, QPoint(5, 5));

    // A click whose handler takes the painter away, hook and all.
    Janela k;
    auto *fecha = new QPushButton(QStringLiteral("Fechar"), k.forma.get());
    fecha->setGeometry(10, 10, 75, 25);
    k.Liga();
    QObject::connect(fecha, &QPushButton::clicked, [&] {
        delete k.flat;
        k.flat = nullptr;
    });
    Mouse(fecha, QEvent::MouseButtonPress, QPoint(5, 5));
    Mouse(fecha, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(k.flat, nullptr);
    EXPECT_EQ(THookWindowProc::HookOf(fecha), nullptr);
}

TEST(FlatStyle, ControlThatThrowsKeepsWorking)
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
    j.Liga();
    int cliques = 0;
    QObject::connect(botao, &QPushButton::clicked, [&] { ++cliques; });
    // What the control throws goes to the application (its error report), never through Qt,
    // and the control goes on working.
    struct Relatorio : QObject
    {
        QStringList erros;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() != TEventoExcecao::Tipo())
                return false;
            try {
                std::rethrow_exception(static_cast<TEventoExcecao *>(e)->Erro());
            } catch (const std::exception &x) {
                erros << QString::fromUtf8(x.what());
            }
            return true;
        }
    } relatorio;
    qApp->installEventFilter(&relatorio);
    EXPECT_NO_THROW(Mouse(botao, QEvent::MouseButtonPress, QPoint(5, 5)));
    QCoreApplication::sendPostedEvents(qApp, TEventoExcecao::Tipo());
    qApp->removeEventFilter(&relatorio);
    EXPECT_EQ(relatorio.erros, QStringList { QStringLiteral("falha") });
    Mouse(botao, QEvent::MouseButtonRelease, QPoint(5, 5));
    Mouse(botao, QEvent::MouseButtonPress, QPoint(5, 5));
    Mouse(botao, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(cliques, 1);
    EXPECT_EQ(Em(Retrato(botao), 37, 0), Rgb(0, 60, 116));
}

TEST(FlatStyle, FiltersPutOnControlsBeforeThePainterStillSeeTheirEvents)
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
    j.Liga();
    ASSERT_NE(THookWindowProc::HookOf(botao), nullptr);
    ASSERT_NE(THookWindowProc::HookOf(edit), nullptr);
    int cliques = 0;
    QObject::connect(botao, &QPushButton::clicked, [&] { ++cliques; });

    Tecla(botao, QEvent::KeyPress, Qt::Key_Return);
    Tecla(edit, QEvent::KeyPress, Qt::Key_Return);
    EXPECT_EQ(filtro.vistas, 2);
    EXPECT_EQ(cliques, 0);
    // The look still follows the space bar.
    Tecla(botao, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(Em(Retrato(botao), 37, 1), Rgb(205, 204, 223));
    Tecla(botao, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(cliques, 1);
}

TEST(FlatStyle, LaterWindowsArePickedUpAtActivationAndNextTurn)
{
    Janela j;
    j.Liga();
    QApplication::setActiveWindow(j.forma.get());

    auto nova = std::make_unique<QMainWindow>();
    auto *botao = new QPushButton(QStringLiteral("OK"), nova.get());
    QMenu *menu = nova->menuBar()->addMenu(QStringLiteral("&Funções"));
    menu->addAction(QStringLiteral("Programar Agenda"));
    nova->ensurePolished();
    EXPECT_EQ(j.flat->ControlesPendentes(), QList<QWidget *> { nova.get() });
    EXPECT_EQ(j.flat->MenusPendentes(), QList<QWidget *> { nova.get() });
    EXPECT_EQ(THookWindowProc::HookOf(botao), nullptr);
    EXPECT_NE(menu->style(), j.flat->EstiloMenus());

    nova->show();
    QApplication::setActiveWindow(nova.get());
    Espera(20);
    EXPECT_NE(THookWindowProc::HookOf(botao), nullptr);
    EXPECT_EQ(menu->style(), j.flat->EstiloMenus());
    EXPECT_EQ(nova->menuBar()->style(), j.flat->EstiloMenus());
    EXPECT_TRUE(j.flat->ControlesPendentes().isEmpty());
    EXPECT_TRUE(j.flat->MenusPendentes().isEmpty());

    // A window destroyed while pending leaves both lists.
    auto *breve = new QWidget;
    breve->ensurePolished();
    EXPECT_EQ(j.flat->ControlesPendentes().size(), 1);
    delete breve;
    EXPECT_TRUE(j.flat->ControlesPendentes().isEmpty());
    EXPECT_TRUE(j.flat->MenusPendentes().isEmpty());
    Espera(5);

    // Not tracked while inactive.
    j.flat->setActive(false);
    QWidget ignorada;
    ignorada.ensurePolished();
    EXPECT_TRUE(j.flat->ControlesPendentes().isEmpty());
}

TEST(FlatStyle, MenuItemsGrowOnlyInDropDowns)
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
