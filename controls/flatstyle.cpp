#include "controls/flatstyle.h"

#include "controls/drawtext.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// ---- pixel helpers: rectangles are outlined on their own pixels (right() and bottom() included)

void pixel(QPainter &p, int x, int y, const QColor &cor)
{
    p.fillRect(x, y, 1, 1, cor);
}

void linhaH(QPainter &p, int x1, int x2, int y, const QColor &cor)
{
    if (x2 >= x1)
        p.fillRect(x1, y, x2 - x1 + 1, 1, cor);
}

void linhaV(QPainter &p, int x, int y1, int y2, const QColor &cor)
{
    if (y2 >= y1)
        p.fillRect(x, y1, 1, y2 - y1 + 1, cor);
}

void contorno(QPainter &p, const QRect &r, const QColor &cor)
{
    if (r.isEmpty())
        return;
    linhaH(p, r.left(), r.right(), r.top(), cor);
    linhaH(p, r.left(), r.right(), r.bottom(), cor);
    linhaV(p, r.left(), r.top(), r.bottom(), cor);
    linhaV(p, r.right(), r.top(), r.bottom(), cor);
}

// An unfilled rectangle with rounded corners, corner ellipse 4 x 4 or 6 x 6.
void contornoArredondado(QPainter &p, const QRect &r, int elipse, const QColor &cor)
{
    if (r.width() < 6 || r.height() < 6) {
        contorno(p, r, cor);
        return;
    }
    const int recuo = elipse >= 6 ? 3 : 2;
    linhaH(p, r.left() + recuo, r.right() - recuo, r.top(), cor);
    linhaH(p, r.left() + recuo, r.right() - recuo, r.bottom(), cor);
    linhaV(p, r.left(), r.top() + recuo, r.bottom() - recuo, cor);
    linhaV(p, r.right(), r.top() + recuo, r.bottom() - recuo, cor);
    // The corner pixels, mirrored to all four corners.
    QList<QPoint> canto { { 1, 1 } };
    if (recuo == 3)
        canto = { { 1, 2 }, { 2, 1 } };
    for (const QPoint &c : canto) {
        pixel(p, r.left() + c.x(), r.top() + c.y(), cor);
        pixel(p, r.right() - c.x(), r.top() + c.y(), cor);
        pixel(p, r.left() + c.x(), r.bottom() - c.y(), cor);
        pixel(p, r.right() - c.x(), r.bottom() - c.y(), cor);
    }
}

// The classic dotted focus rectangle: every other pixel of the outline inverted.
void retanguloFoco(QPainter &p, const QRect &r)
{
    if (r.isEmpty())
        return;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    auto ponto = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            p.fillRect(x, y, 1, 1, Qt::black);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        ponto(x, r.top());
        if (r.bottom() != r.top())
            ponto(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        ponto(r.left(), y);
        if (r.right() != r.left())
            ponto(r.right(), y);
    }
    p.restore();
}

QColor corDoFundo(const QWidget *w)
{
    return w->palette().color(w->backgroundRole());
}

// The control's own Color: the face the user types on for edits and grids, else its
// background.
QColor corDoControle(const QWidget *w)
{
    if (auto *area = qobject_cast<const QAbstractScrollArea *>(w))
        return corDoFundo(area->viewport());
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QComboBox *>(w))
        return w->palette().color(QPalette::Base);
    return corDoFundo(w);
}

bool ehGrade(const QWidget *w)
{
    return qobject_cast<const QTableView *>(w) || w->inherits("TStringGrid");
}

// The kinds of control the painter draws, in the order they are told apart.
enum class Tipo { Nenhum, Edit, BitBtn, Botao, Radio, Grupo, UpDown, Gauge, Combo };

Tipo tipoDe(const QWidget *w)
{
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || ehGrade(w))
        return Tipo::Edit;
    if (auto *botao = qobject_cast<const QPushButton *>(w))
        return botao->icon().isNull() ? Tipo::Botao : Tipo::BitBtn;
    if (qobject_cast<const QRadioButton *>(w))
        return Tipo::Radio;
    if (qobject_cast<const QGroupBox *>(w))
        return Tipo::Grupo;
    // The three controls of other libraries known by name only map to Qt's spin box,
    // progress bar and combo box.
    if (qobject_cast<const QAbstractSpinBox *>(w))
        return Tipo::UpDown;
    if (qobject_cast<const QProgressBar *>(w))
        return Tipo::Gauge;
    if (qobject_cast<const QComboBox *>(w))
        return Tipo::Combo;
    return Tipo::Nenhum;
}

bool elegivel(const QWidget *w)
{
    // Check boxes are hooked like every button control, though nothing is painted on them.
    if (qobject_cast<const QAbstractButton *>(w))
        return !qobject_cast<const QToolButton *>(w);
    return tipoDe(w) != Tipo::Nenhum;
}

// Widgets whose children are their own parts rather than controls of the form.
bool ehComposto(const QWidget *w)
{
    if (auto *area = qobject_cast<const QAbstractScrollArea *>(w))
        return !qobject_cast<const QScrollArea *>(area);
    return qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QCalendarWidget *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QMenuBar *>(w)
        || qobject_cast<const QTabBar *>(w);
}

// The program's own windows; popups, tooltips and the desktop's message boxes are not.
bool ehForma(const QWidget *w)
{
    if (!w->isWindow() || qobject_cast<const QMessageBox *>(w) || qobject_cast<const QMenu *>(w))
        return false;
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Drawer:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

// A menu that is a part of a control (the month list of a calendar) rather than one of the
// window's own menus.
bool deUmControle(const QWidget *menu, const QWidget *form)
{
    for (const QWidget *w = menu->parentWidget(); w && w != form; w = w->parentWidget())
        if (ehComposto(w))
            return true;
    return false;
}

bool bordaAfundada(const QWidget *w)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->hasFrame();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(w))
        return spin->hasFrame();
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->hasFrame();
    if (auto *moldura = qobject_cast<const QFrame *>(w))
        return moldura->frameShape() != QFrame::NoFrame && moldura->frameShadow() == QFrame::Sunken
            && moldura->frameWidth() > 0;
    return false;
}

QHash<const QWidget *, THookWindowProc *> &ganchos()
{
    static QHash<const QWidget *, THookWindowProc *> registro;
    return registro;
}

// The face of a flat button cell: white above the gradient, which starts a quarter down (half
// when hot and not pressed); pressed turns the fill darker and the gradient around.
void faceDoBotao(QPainter &p, const QRect &r, bool quente, bool pressionado, bool apertado)
{
    const int inicio = (quente && !pressionado && !apertado) ? r.height() / 2 : r.height() / 4;
    const QRect g(r.left(), r.top() + inicio, r.width(), r.height() - inicio);
    if (apertado) {
        p.fillRect(r, FlatCores::FaceEscura);
        GradientFill(p, g, TGradientDirection::Vertical, FlatCores::FaceEscura, Qt::white);
    } else {
        p.fillRect(r, Qt::white);
        GradientFill(p, g, TGradientDirection::Vertical, FlatCores::FaceClara, FlatCores::FaceEscura);
    }
}

// A small arrow of pixel rows, 7 wide at its base.
void seta(QPainter &p, const QRect &r, bool paraCima, const QColor &cor)
{
    const int cx = r.left() + r.width() / 2;
    const int cy = r.top() + r.height() / 2;
    for (int k = 0; k < 4; ++k) {
        if (paraCima)
            linhaH(p, cx - k, cx + k, cy - 2 + k, cor);
        else
            linhaH(p, cx - 3 + k, cx + 3 - k, cy - 1 + k, cor);
    }
}

// A flat cell used by the painter's own looks for spin, combo and gauge controls.
void celulaPlana(QPainter &p, const QRect &r, bool quente, bool apertado)
{
    if (r.width() < 3 || r.height() < 3)
        return;
    faceDoBotao(p, r, quente, apertado, apertado);
    contorno(p, r, FlatCores::ContornoBotao);
    if (quente && !apertado && r.width() > 5 && r.height() > 5)
        DoubleFrame(p, r.adjusted(1, 1, -1, -1), ConjuntoQuente);
}

// The glyph images a button carries: index 0 normal, 1 disabled, 2 pressed (the icon's
// Active mode). Returns how many there are, counting up to the last one present.
int numGlyphs(const QIcon &icone)
{
    if (!icone.availableSizes(QIcon::Active).isEmpty())
        return 3;
    if (!icone.availableSizes(QIcon::Disabled).isEmpty())
        return 2;
    return 1;
}

// Steps shared by plain and glyph push buttons: face, outline, double frame, softened
// corners and focus rectangle.
void fundoDoBotao(QPainter &p, QPushButton *botao, const THookWindowProc &gancho, bool comGlifo)
{
    const QRect r = botao->rect();
    const bool apertado = (gancho.Pressed() && gancho.Hot()) || gancho.Space();
    faceDoBotao(p, r, gancho.Hot(), gancho.Pressed() || gancho.Space(), apertado);
    contornoArredondado(p, r, 4, FlatCores::ContornoBotao);

    if (!gancho.Pressed() && !gancho.Space()) {
        const QRect dentro = r.adjusted(1, 1, -1, -1);
        if (gancho.Hot()) {
            DoubleFrame(p, dentro, ConjuntoQuente);
        } else if (botao->hasFocus()) {
            DoubleFrame(p, dentro, ConjuntoFoco);
        } else if (botao->isDefault()) {
            auto *ativo = qobject_cast<QPushButton *>(QApplication::focusWidget());
            const bool ativoEhBotao = ativo && (!comGlifo || !ativo->icon().isNull());
            if (!ativoEhBotao)
                DoubleFrame(p, dentro, ConjuntoFoco);
        }
    }
    const QWidget *pai = botao->parentWidget();
    SoftenCorners(p, r, FlatCores::ContornoBotao, pai ? corDoFundo(pai) : corDoFundo(botao));
    if (botao->hasFocus())
        retanguloFoco(p, r.adjusted(2, 2, -2, -2));
}

void fonteDoBotao(QPainter &p, const QWidget *botao)
{
    p.setFont(botao->font());
    p.setPen(botao->isEnabled() ? botao->palette().color(QPalette::ButtonText) : FlatCores::TextoDesabilitado);
    p.setBackgroundMode(Qt::TransparentMode);
}

class TEstiloMenusFlat : public QProxyStyle
{
public:
    QSize sizeFromContents(
        ContentsType tipo, const QStyleOption *opcao, const QSize &tamanho, const QWidget *widget) const override
    {
        const QSize medida = QProxyStyle::sizeFromContents(tipo, opcao, tamanho, widget);
        if (tipo == CT_MenuItem)
            return MeasureMenuItem(medida, false);
        if (tipo == CT_MenuBarItem) {
            // The bar keeps the style's measure, but our captions sit 6 pixels in from each
            // side (past a 24-pixel column with an image), which some styles leave no room for.
            QSize ajustada = MeasureMenuItem(medida, true);
            auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(opcao);
            const int coluna = item && !item->icon.isNull() ? 24 : 0;
            ajustada.setWidth(std::max(ajustada.width(), tamanho.width() + 12 + coluna));
            return ajustada;
        }
        return medida;
    }

    void drawControl(
        ControlElement elemento, const QStyleOption *opcao, QPainter *p, const QWidget *widget) const override
    {
        if (elemento == CE_MenuItem || elemento == CE_MenuBarItem) {
            if (auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(opcao)) {
                p->save();
                TFlatStyle::DrawMenuItem(*p, *item, elemento == CE_MenuBarItem, widget);
                p->restore();
                return;
            }
        }
        // The bar beyond its last item is white, like the items' own background.
        if (elemento == CE_MenuBarEmptyArea) {
            p->fillRect(opcao->rect, opcao->palette.color(QPalette::Base));
            return;
        }
        QProxyStyle::drawControl(elemento, opcao, p, widget);
    }
};

} // namespace

// ---- colour and geometry routines

QColor BlendColor(const QColor &a, const QColor &b, int percent)
{
    auto canal = [percent](int x, int y) { return x + (y - x) * percent / 100; };
    return QColor(canal(a.red(), b.red()), canal(a.green(), b.green()), canal(a.blue(), b.blue()));
}

void GradientFill(QPainter &p, const QRect &rect, TGradientDirection direcao, const QColor &inicio, const QColor &fim)
{
    if (rect.isEmpty())
        return;
    auto canal = [](int a, int b, int i) { return a + (b - a) * i / 255; };
    const bool vertical = direcao == TGradientDirection::Vertical;
    const int extensao = vertical ? rect.height() : rect.width();
    for (int i = 0; i < 256; ++i) {
        const int de = extensao * i / 255;
        const int ate = std::min(extensao, extensao * (i + 1) / 255);
        if (ate <= de)
            continue;
        const QColor cor(canal(inicio.red(), fim.red(), i), canal(inicio.green(), fim.green(), i),
            canal(inicio.blue(), fim.blue(), i));
        if (vertical)
            p.fillRect(rect.left(), rect.top() + de, rect.width(), ate - de, cor);
        else
            p.fillRect(rect.left() + de, rect.top(), ate - de, rect.height(), cor);
    }
}

void SoftenCorners(QPainter &p, const QRect &rect, const QColor &borda, const QColor &fundo)
{
    if (rect.width() < 2 || rect.height() < 2)
        return;
    const QColor c = BlendColor(borda, fundo, 50);
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    for (const QPoint &o : { QPoint(0, 1), QPoint(1, 1), QPoint(1, 0) }) {
        pixel(p, l + o.x(), t + o.y(), c);
        pixel(p, r - o.x(), t + o.y(), c);
        pixel(p, l + o.x(), b - o.y(), c);
        pixel(p, r - o.x(), b - o.y(), c);
    }
}

void DoubleFrame(QPainter &p, const QRect &rect, const TFrameSet &conjunto)
{
    // Each bevel: the top-left colour on the left column and the top row but for its last
    // pixel, then the bottom-right colour on the right column and the bottom row.
    auto bisel = [&p](const QRect &r, const QColor &topo, const QColor &base) {
        if (r.isEmpty())
            return;
        linhaV(p, r.left(), r.top(), r.bottom(), topo);
        linhaH(p, r.left(), r.right() - 1, r.top(), topo);
        linhaV(p, r.right(), r.top(), r.bottom(), base);
        linhaH(p, r.left(), r.right(), r.bottom(), base);
    };
    bisel(rect, conjunto.externaTopo, conjunto.externaBase);
    bisel(rect.adjusted(1, 1, -1, -1), conjunto.internaTopo, conjunto.internaBase);
}

TGlyphLayout CalculaGlyphAndCaption(
    const QRect &rect, QSize glifo, QSize texto, bool centrado, bool movido, int layout, int espaco)
{
    const int gw = glifo.width(), gh = glifo.height();
    const int tw = texto.width(), th = texto.height();
    if (tw == 0 || gw == 0)
        espaco = 0;
    const int W = rect.width(), H = rect.height();
    // Halving toward zero, and its counterpart rounding up.
    auto metade = [](int v) { return v / 2; };
    auto metadeAcima = [](int v) { return v / 2 + (v > 0 && v % 2 != 0 ? 1 : 0); };

    int gx = 0, gy = 0, tx = 0, ty = 0;
    switch (layout) {
    case 2:
        gx = metade(W - gw);
        gy = metade(H - gh - th - espaco);
        tx = metadeAcima(W - tw);
        ty = gy + gh + espaco;
        break;
    case 3:
        gx = metade(W - gw);
        ty = metade(H - gh - th - espaco);
        gy = ty + th + espaco;
        tx = metade(W - tw);
        break;
    case 1:
        gy = metade(H - gh);
        tx = metade(W - gw - tw - espaco);
        gx = tx + tw + espaco;
        ty = metade(H - th);
        break;
    default:
        gy = metade(H - gh);
        gx = centrado ? metade(W - gw - tw - espaco) : 5;
        tx = gx + gw + espaco;
        ty = metade(H - th);
        break;
    }
    const int desvio = movido ? 1 : 0;
    TGlyphLayout resultado;
    resultado.glifo = QRect(rect.left() + gx + desvio, rect.top() + gy + desvio, gw, gh);
    int esquerda = rect.left() + tx + desvio;
    int direita = esquerda + tw; // one past the last pixel
    esquerda = std::max(esquerda, rect.left() + 3);
    direita = std::min(direita, rect.left() + W - 3);
    resultado.texto = QRect(esquerda, rect.top() + ty + desvio, direita - esquerda, th);
    return resultado;
}

void LayoutGlyphAndCaption(QPainter &p, const QRect &rect, const QPixmap &glifo, bool centrado, bool movido, int layout,
    int espaco, const QString &legenda)
{
    QSize texto(0, 0);
    if (!legenda.isEmpty()) {
        QRect medida(0, 0, 0, 0);
        MedeTexto(p.font(), legenda, medida, DT::CalcRect | DT::SingleLine);
        texto = QSize(medida.width() + 1, medida.height());
    }
    const QSize tamanhoGlifo = glifo.isNull() ? QSize(0, 0) : glifo.deviceIndependentSize().toSize();
    const TGlyphLayout posicoes = CalculaGlyphAndCaption(rect, tamanhoGlifo, texto, centrado, movido, layout, espaco);
    if (!glifo.isNull())
        p.drawPixmap(posicoes.glifo.topLeft(), glifo);
    if (!legenda.isEmpty()) {
        QRect r = posicoes.texto;
        DrawText(p, legenda, r, DT::Center | DT::SingleLine | DT::EndEllipsis);
    }
}

const QImage &FLAT_BMP_RADIOBUTTON()
{
    static const QImage faixa = [] {
        QImage im(60, 15, QImage::Format_RGB32);
        im.fill(QColor(255, 0, 255));
        auto mistura = [](const QColor &a, const QColor &b, double t) {
            t = std::clamp(t, 0.0, 1.0);
            return QColor(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                int(a.blue() + (b.blue() - a.blue()) * t));
        };
        for (int celula = 0; celula < 4; ++celula) {
            const int d = 1 + 15 * celula;
            const bool marcado = celula % 2 == 1;
            const bool quente = celula >= 2;
            for (int y = 0; y < 14; ++y) {
                for (int x = 0; x < 14; ++x) {
                    const double dist = std::hypot(x - 6, y - 6);
                    if (dist > 6.5)
                        continue;
                    QColor cor;
                    if (dist > 5.5) {
                        cor = FlatCores::BordaRadio;
                    } else if (marcado && dist <= 2.6) {
                        cor = mistura(QColor(140, 220, 140), QColor(33, 150, 33), (x + y - 8) / 6.0);
                    } else if (quente && dist > 4.0) {
                        cor = mistura(QColor(255, 240, 207), QColor(248, 179, 48), y / 12.0);
                    } else {
                        cor = mistura(QColor(214, 214, 206), Qt::white, (x + y) / 18.0);
                    }
                    im.setPixelColor(d + x, 1 + y, cor);
                }
            }
        }
        return im;
    }();
    return faixa;
}

int CelulaRadio(bool quente, bool marcado)
{
    return (quente ? 31 : 1) + (marcado ? 15 : 0);
}

QImage ImagemRadio(bool quente, bool marcado, const QColor &fundo)
{
    const QImage &faixa = FLAT_BMP_RADIOBUTTON();
    const QRgb transparente = faixa.pixel(0, 0);
    QImage celula = faixa.copy(CelulaRadio(quente, marcado), 1, 14, 14);
    // The rim's stair-step pixels take half the background, so the circle looks round on any
    // colour. In cell coordinates the circle's centre is (6, 6).
    const QColor borda = BlendColor(fundo, FlatCores::BordaRadio, 50);
    for (const QPoint &o : { QPoint(2, 6), QPoint(4, 5), QPoint(5, 4), QPoint(6, 2) }) {
        celula.setPixelColor(6 - o.x(), 6 - o.y(), borda);
        celula.setPixelColor(6 + o.x(), 6 - o.y(), borda);
        celula.setPixelColor(6 - o.x(), 6 + o.y(), borda);
        celula.setPixelColor(6 + o.x(), 6 + o.y(), borda);
    }
    for (int y = 0; y < celula.height(); ++y)
        for (int x = 0; x < celula.width(); ++x)
            if (celula.pixel(x, y) == transparente)
                celula.setPixelColor(x, y, fundo);
    return celula;
}

QImage ImagemCinza(const QImage &imagem)
{
    QImage cinza = imagem.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cinza.height(); ++y) {
        auto *linha = reinterpret_cast<QRgb *>(cinza.scanLine(y));
        for (int x = 0; x < cinza.width(); ++x) {
            const QRgb c = linha[x];
            const int nivel = std::min(20 + (qRed(c) + qGreen(c) + qBlue(c)) / 3, 246);
            linha[x] = qRgba(nivel, nivel, nivel, qAlpha(c));
        }
    }
    return cinza;
}

QSize MeasureMenuItem(QSize medida, bool itemDaBarra)
{
    if (itemDaBarra)
        return medida;
    return medida + QSize(74, 5);
}

// ---- TFlatStyle

TFlatStyle::TFlatStyle(QObject *owner)
    : QObject(owner)
{
    if (!qApp)
        return;
    // Every event of the application passes here: new windows announce themselves by their
    // first polish.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TFlatStyle::FormaAtivaMudou);
}

TFlatStyle::~TFlatStyle()
{
    if (qApp)
        qApp->removeEventFilter(this);
    const QList<THookWindowProc *> restantes = m_hooks;
    m_hooks.clear();
    qDeleteAll(restantes);
    for (const auto &[menu, anterior] : std::as_const(m_menus))
        if (menu && menu->style() == m_estiloMenus)
            menu->setStyle(anterior);
    m_menus.clear();
    delete m_estiloMenus;
}

void TFlatStyle::setActive(bool value)
{
    if (m_active == value)
        return;
    m_active = value;
    if (m_active)
        ProcessAllForms();
}

void TFlatStyle::setSkipTag(int value)
{
    m_skipTag = value;
}

void TFlatStyle::Loaded()
{
    if (m_active)
        ProcessAllForms();
}

void TFlatStyle::ProcessAllForms()
{
    const QWidgetList janelas = QApplication::topLevelWidgets();
    for (QWidget *janela : janelas) {
        if (!ehForma(janela))
            continue;
        HookForm(janela);
        HookMenus(janela);
    }
}

bool TFlatStyle::Pulado(const QObject *objeto) const
{
    if (m_skipTag == 0)
        return false;
    const QVariant tag = objeto->property(PropriedadeTag);
    return tag.isValid() && tag.toInt() == m_skipTag;
}

void TFlatStyle::HookForm(QWidget *container)
{
    if (!container)
        return;
    const QObjectList filhos = container->children();
    for (QObject *filho : filhos) {
        if (!filho->isWidgetType())
            continue;
        auto *controle = static_cast<QWidget *>(filho);
        // Windows owned by this one are forms of their own, processed as such.
        if (controle->isWindow() || Pulado(controle))
            continue;
        if (!THookWindowProc::HookOf(controle)) {
            HookControl(controle);
            controle->update();
        }
        if (!ehComposto(controle))
            HookForm(controle);
    }
}

void TFlatStyle::HookControl(QWidget *control)
{
    if (!control || !elegivel(control) || THookWindowProc::HookOf(control))
        return;
    m_hooks.append(new THookWindowProc(this, control));
}

void TFlatStyle::HookMenus(QWidget *form)
{
    if (!form)
        return;
    QList<QWidget *> menus;
    for (QMenuBar *barra : form->findChildren<QMenuBar *>())
        menus.append(barra);
    for (QMenu *menu : form->findChildren<QMenu *>())
        menus.append(menu);
    for (QWidget *menu : std::as_const(menus)) {
        // A sub-menu follows the menu it hangs from.
        QWidget *raiz = menu;
        while (QWidget *pai = raiz->parentWidget()) {
            if (!qobject_cast<QMenu *>(pai) && !qobject_cast<QMenuBar *>(pai))
                break;
            raiz = pai;
        }
        if (Pulado(raiz) || deUmControle(raiz, form))
            continue;
        QStyle *estilo = EstiloMenus();
        if (menu->style() == estilo)
            continue;
        m_menus.append({ menu, menu->testAttribute(Qt::WA_SetStyle) ? menu->style() : nullptr });
        menu->setStyle(estilo);
    }
}

QStyle *TFlatStyle::EstiloMenus() const
{
    if (!m_estiloMenus)
        const_cast<TFlatStyle *>(this)->m_estiloMenus = new TEstiloMenusFlat;
    return m_estiloMenus;
}

void TFlatStyle::Notification(QWidget *form, Operacao operacao)
{
    if (!form)
        return;
    auto remove = [form](QList<QPointer<QWidget>> &lista) {
        lista.removeIf([form](const QPointer<QWidget> &p) { return p.isNull() || p.data() == form; });
    };
    const bool pendente = m_pendingControls.contains(form) || m_pendingMenus.contains(form);
    if (operacao == Operacao::Remocao || pendente) {
        remove(m_pendingControls);
        remove(m_pendingMenus);
        return;
    }
    if (!m_active)
        return;
    m_pendingControls.append(form);
    m_pendingMenus.append(form);
    // Once destroyed the form is gone from both lists (its QPointer is already null then).
    connect(form, &QObject::destroyed, this, [this] {
        auto vazio = [](const QPointer<QWidget> &p) { return p.isNull(); };
        m_pendingControls.removeIf(vazio);
        m_pendingMenus.removeIf(vazio);
    });
    // The menus follow at the next turn of the event loop, once the window is built.
    if (!m_menusAgendados) {
        m_menusAgendados = true;
        QMetaObject::invokeMethod(this, &TFlatStyle::ProcessaMenusPendentes, Qt::QueuedConnection);
    }
}

QList<QWidget *> TFlatStyle::PendingControls() const
{
    QList<QWidget *> lista;
    for (const QPointer<QWidget> &p : m_pendingControls)
        if (p)
            lista.append(p);
    return lista;
}

QList<QWidget *> TFlatStyle::PendingMenus() const
{
    QList<QWidget *> lista;
    for (const QPointer<QWidget> &p : m_pendingMenus)
        if (p)
            lista.append(p);
    return lista;
}

QList<THookWindowProc *> TFlatStyle::Hooks() const
{
    return m_hooks;
}

bool TFlatStyle::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::Polish && objeto->isWidgetType()) {
        auto *janela = static_cast<QWidget *>(objeto);
        if (ehForma(janela))
            Notification(janela, Operacao::Insercao);
    }
    return false;
}

void TFlatStyle::FormaAtivaMudou()
{
    while (!m_pendingControls.isEmpty()) {
        const QPointer<QWidget> forma = m_pendingControls.takeFirst();
        if (forma)
            HookForm(forma);
    }
}

void TFlatStyle::ProcessaMenusPendentes()
{
    m_menusAgendados = false;
    while (!m_pendingMenus.isEmpty()) {
        const QPointer<QWidget> forma = m_pendingMenus.takeFirst();
        if (forma)
            HookMenus(forma);
    }
}

void TFlatStyle::RemoveGancho(THookWindowProc *gancho)
{
    if (m_hooks.removeOne(gancho))
        delete gancho;
}

// ---- drawing of each kind

void TFlatStyle::PaintEditFrame(QPainter &p, QWidget *control)
{
    if (!bordaAfundada(control))
        return;
    const QRect r = control->rect();
    contorno(p, r, FlatCores::MolduraEdit);
    contorno(p, r.adjusted(1, 1, -1, -1), corDoControle(control));
}

void TFlatStyle::PaintPushButton(QPainter &p, QPushButton *botao, const THookWindowProc &gancho)
{
    fundoDoBotao(p, botao, gancho, false);
    fonteDoBotao(p, botao);
    QRect r = botao->rect().adjusted(3, 0, -3, 0);
    DrawText(p, botao->text(), r, DT::SingleLine | DT::Center | DT::VCenter | DT::EndEllipsis);
}

void TFlatStyle::PaintBitButton(QPainter &p, QPushButton *botao, const THookWindowProc &gancho)
{
    fundoDoBotao(p, botao, gancho, true);

    const QIcon icone = botao->icon();
    const int imagens = numGlyphs(icone);
    QIcon::Mode modo = QIcon::Normal;
    if (!botao->isEnabled() && imagens >= 2)
        modo = QIcon::Disabled;
    else if (gancho.Pressed() && imagens > 2)
        modo = QIcon::Active;
    const QPixmap glifo = icone.pixmap(botao->iconSize(), botao->devicePixelRatio(), modo);

    fonteDoBotao(p, botao);
    const QVariant layout = botao->property(PropriedadeLayout);
    const QVariant espaco = botao->property(PropriedadeSpacing);
    LayoutGlyphAndCaption(p, botao->rect(), glifo, true, gancho.Pressed() || gancho.Space(),
        layout.isValid() ? layout.toInt() : 0, espaco.isValid() ? espaco.toInt() : 4, botao->text());
}

void TFlatStyle::PaintRadioButton(QPainter &p, QRadioButton *radio, const THookWindowProc &gancho)
{
    const QRect r = radio->rect();
    const QColor fundo = corDoControle(radio);
    // The caption sits right of the button unless the control reads right to left.
    const int x = radio->layoutDirection() == Qt::RightToLeft ? r.right() - 13 : r.left();
    p.fillRect(x, r.top(), 14, r.height(), fundo);
    const int y = r.top() + (r.height() - 14) / 2;
    p.drawImage(x, y, ImagemRadio(gancho.Hot(), radio->isChecked(), fundo));
}

void TFlatStyle::PaintGroupBox(QPainter &p, QGroupBox *grupo, const THookWindowProc &)
{
    QFont fonte = grupo->font();
    const QColor corTitulo
        = grupo->testAttribute(Qt::WA_SetFont) ? grupo->palette().color(QPalette::WindowText) : FlatCores::TituloGrupo;
    const QColor fundo = corDoControle(grupo);
    QRect medidaH(0, 0, 0, 0);
    MedeTexto(fonte, QStringLiteral("H"), medidaH, DT::CalcRect | DT::SingleLine);

    // Qt's styles place the title and frame their own way: the whole face goes back to the
    // background first (the items are child widgets and paint afterwards).
    if (!grupo->isCheckable())
        p.fillRect(grupo->rect(), fundo);
    QRect moldura = grupo->rect();
    moldura.setTop(moldura.top() + medidaH.height() / 2 - 1);
    contorno(p, moldura, fundo);
    const QRect dentro = moldura.adjusted(1, 1, -1, -1);
    contorno(p, dentro, fundo);
    contornoArredondado(p, dentro, 6, FlatCores::MolduraGrupo);

    const QString titulo = grupo->title();
    if (titulo.isEmpty())
        return;
    p.setFont(fonte);
    p.setPen(corTitulo);
    QRect legenda(8, 0, 0, 0);
    DrawText(p, titulo, legenda, DT::CalcRect | DT::SingleLine);
    legenda.setRight(std::min(legenda.right(), grupo->rect().right()));
    p.fillRect(legenda, fundo);
    DrawText(p, titulo, legenda, DT::SingleLine);
}

void TFlatStyle::PaintUpDown(QPainter &p, QWidget *control, const THookWindowProc &gancho)
{
    auto *spin = qobject_cast<QAbstractSpinBox *>(control);
    if (!spin)
        return;
    PaintEditFrame(p, control);
    if (spin->buttonSymbols() == QAbstractSpinBox::NoButtons)
        return;
    QStyleOptionSpinBox opcao;
    opcao.initFrom(spin);
    opcao.rect = spin->rect();
    opcao.frame = spin->hasFrame();
    opcao.buttonSymbols = spin->buttonSymbols();
    opcao.subControls
        = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
    const QRect limite = spin->rect().adjusted(1, 1, -1, -1);
    const QColor corSeta = spin->isEnabled() ? QColor(Qt::black) : FlatCores::TextoDesabilitado;
    for (const bool cima : { true, false }) {
        const QRect r = spin->style()
                            ->subControlRect(
                                QStyle::CC_SpinBox, &opcao, cima ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown, spin)
                            .intersected(limite);
        const bool quente = spin->isEnabled() && gancho.Hot() && r.contains(gancho.PosicaoMouse());
        celulaPlana(p, r, quente, quente && gancho.Pressed());
        seta(p, r, cima, corSeta);
    }
}

void TFlatStyle::PaintGauge(QPainter &p, QWidget *control)
{
    auto *barra = qobject_cast<QProgressBar *>(control);
    if (!barra)
        return;
    const QRect r = barra->rect();
    contorno(p, r, FlatCores::MolduraEdit);
    const QRect dentro = r.adjusted(1, 1, -1, -1);
    p.fillRect(dentro, Qt::white);
    const qint64 faixa = qint64(barra->maximum()) - barra->minimum();
    const qint64 feito = std::clamp<qint64>(qint64(barra->value()) - barra->minimum(), 0, faixa);
    if (faixa > 0 && feito > 0) {
        QRect cheio = dentro;
        if (barra->orientation() == Qt::Horizontal) {
            const int w = int(dentro.width() * feito / faixa);
            cheio.setWidth(w);
            if (barra->invertedAppearance())
                cheio.moveRight(dentro.right());
            GradientFill(p, cheio, TGradientDirection::Vertical, ConjuntoFoco.externaTopo, ConjuntoFoco.externaBase);
        } else {
            const int h = int(dentro.height() * feito / faixa);
            cheio.setTop(dentro.bottom() - h + 1);
            if (barra->invertedAppearance())
                cheio.moveTop(dentro.top());
            GradientFill(p, cheio, TGradientDirection::Horizontal, ConjuntoFoco.externaTopo, ConjuntoFoco.externaBase);
        }
    }
    if (barra->isTextVisible() && barra->orientation() == Qt::Horizontal) {
        p.setFont(barra->font());
        p.setPen(barra->isEnabled() ? barra->palette().color(QPalette::WindowText) : FlatCores::TextoDesabilitado);
        QRect texto = r;
        DrawText(p, barra->text(), texto, DT::SingleLine | DT::Center | DT::VCenter | DT::NoPrefix);
    }
}

void TFlatStyle::PaintComboButton(QPainter &p, QWidget *control, const THookWindowProc &gancho)
{
    auto *combo = qobject_cast<QComboBox *>(control);
    if (!combo)
        return;
    PaintEditFrame(p, control);
    QStyleOptionComboBox opcao;
    opcao.initFrom(combo);
    opcao.rect = combo->rect();
    opcao.editable = combo->isEditable();
    opcao.frame = combo->hasFrame();
    opcao.subControls = QStyle::SC_All;
    const QRect r = combo->style()
                        ->subControlRect(QStyle::CC_ComboBox, &opcao, QStyle::SC_ComboBoxArrow, combo)
                        .intersected(combo->rect().adjusted(2, 2, -2, -2));
    const bool quente = combo->isEnabled() && gancho.Hot();
    celulaPlana(p, r, quente, quente && gancho.Pressed());
    seta(p, r, false, combo->isEnabled() ? QColor(Qt::black) : FlatCores::TextoDesabilitado);
}

void TFlatStyle::DrawMenuItem(QPainter &p, const QStyleOptionMenuItem &item, bool itemDaBarra, const QWidget *)
{
    const QRect R = item.rect;
    const bool temImagem = !item.icon.isNull();
    const int b = (itemDaBarra && !temImagem) ? 0 : 24;
    const QRect I(R.left(), R.top(), b, R.height());
    const QRect X(R.left() + b, R.top(), R.width() - b, R.height());
    const QColor janela = item.palette.color(QPalette::Base);
    const bool habilitado = item.state & QStyle::State_Enabled;

    p.fillRect(R, janela);
    if (itemDaBarra)
        p.fillRect(I, janela);
    else
        GradientFill(p, I, TGradientDirection::Horizontal, janela, FlatCores::ColunaMenu);

    // A bar item under the mouse is hot; once its menu is open (sunken) it is selected.
    const bool marcado = item.state & QStyle::State_Selected;
    const bool quente = itemDaBarra && marcado && !(item.state & QStyle::State_Sunken);
    if (marcado) {
        contorno(p, R, FlatCores::MolduraItem);
        const QRect dentro = R.adjusted(1, 1, -1, -1);
        if (itemDaBarra) {
            const QColor fim = quente ? FlatCores::BarraQuente : FlatCores::ColunaMenu;
            GradientFill(p, dentro, TGradientDirection::Vertical, BlendColor(janela, fim, 25), fim);
        } else {
            p.fillRect(dentro, FlatCores::ItemSelecionado);
        }
    }

    if (!itemDaBarra && item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked) {
        const QRect caixa = I.adjusted(3, 3, -3, -3);
        p.fillRect(caixa, marcado ? FlatCores::MarcaSelecionada : FlatCores::MarcaNormal);
        contorno(p, caixa, FlatCores::MolduraItem);
        const int l = caixa.left() + (caixa.width() - 9) / 2;
        const int t = caixa.top() + (caixa.height() - 10) / 2;
        for (int i = 1; i <= 3; ++i) {
            for (int k = 0; k < 2; ++k)
                pixel(p, l + 2 + k, t + i + 3 + k, Qt::black);
            for (int k = 0; k < 5; ++k)
                pixel(p, l + 4 + k, t + i + 5 - k, Qt::black);
        }
    }

    if (temImagem) {
        const int lado = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
        QPixmap imagem = item.icon.pixmap(QSize(lado, lado));
        if (!habilitado)
            imagem = QPixmap::fromImage(ImagemCinza(imagem.toImage()));
        LayoutGlyphAndCaption(p, I, imagem, true, false, 0, 0, QString());
    }

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        linhaH(p, X.left() + 6, X.right(), X.top() + X.height() / 2, FlatCores::Separador);
        return;
    }

    QFont fonte = item.font;
    fonte.setBold(item.menuItemType == QStyleOptionMenuItem::DefaultItem);
    fonte.setItalic(false);
    fonte.setUnderline(false);
    fonte.setStrikeOut(false);
    p.setFont(fonte);
    p.setPen(habilitado ? item.palette.color(QPalette::Active, QPalette::Text)
                        : item.palette.color(QPalette::Disabled, QPalette::Text));
    p.setBackgroundMode(Qt::TransparentMode);
    // Qt carries the shortcut after a tab in the item's text.
    const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
    const QString legenda = tab < 0 ? item.text : item.text.left(tab);
    const QString atalho = tab < 0 ? QString() : item.text.mid(tab + 1);
    QRect texto = X.adjusted(6, 0, -6, 0);
    DrawText(p, legenda, texto, DT::SingleLine | DT::VCenter | DT::Left);
    if (!itemDaBarra && !atalho.isEmpty()) {
        texto = X.adjusted(6, 0, -6, 0);
        DrawText(p, atalho, texto, DT::SingleLine | DT::VCenter | DT::Right | DT::NoPrefix);
    }
}

// ---- THookWindowProc

THookWindowProc::THookWindowProc(TFlatStyle *owner, QWidget *control)
    : QObject(owner)
    , m_owner(owner)
    , m_control(control)
{
    ganchos().insert(control, this);
    control->installEventFilter(this);
    // Should the destroy event never reach the hook, the destruction itself still frees it.
    connect(control, &QObject::destroyed, this, [this] {
        ganchos().remove(m_control);
        m_control = nullptr;
        m_owner->RemoveGancho(this);
    });
}

THookWindowProc::~THookWindowProc()
{
    if (m_control) {
        m_control->removeEventFilter(this);
        ganchos().remove(m_control);
        m_control->update();
    }
}

THookWindowProc *THookWindowProc::HookOf(const QWidget *control)
{
    return ganchos().value(control, nullptr);
}

// The events the flat look follows. Handing an event to the control from here skips every
// filter the window put on the control before the painter came (the entry window's Enter and
// Esc keys), so all others go their usual way.
namespace {
bool segueEvento(const QEvent *evento)
{
    switch (evento->type()) {
    case QEvent::Paint:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::PaletteChange:
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::EnabledChange:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Destroy:
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return static_cast<const QKeyEvent *>(evento)->key() == Qt::Key_Space;
    default:
        return false;
    }
}
} // namespace

bool THookWindowProc::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto != m_control || !m_control || !segueEvento(evento))
        return false;
    // The control handles the event first, as it always did; whatever it or the painting
    // throws is dropped so the control keeps working.
    const QPointer<THookWindowProc> vivo(this);
    try {
        static_cast<QObject *>(m_control)->event(evento);
    } catch (...) {
    }
    // A handler that deleted the control or the painter took this hook with it.
    if (!vivo || !m_control)
        return true;
    if (evento->type() == QEvent::Destroy) {
        m_control->removeEventFilter(this);
        ganchos().remove(m_control);
        m_control = nullptr;
        m_owner->RemoveGancho(this);
        return true;
    }
    try {
        HookedWindowProc(evento);
    } catch (...) {
    }
    // Already delivered: the accepted flag the control left tells Qt whether to propagate.
    return true;
}

void THookWindowProc::HookedWindowProc(QEvent *evento)
{
    m_lastMessage = evento->type();
    switch (evento->type()) {
    case QEvent::Paint:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::PaletteChange:
        PaintFlat(evento);
        break;
    case QEvent::KeyPress: {
        auto *tecla = static_cast<QKeyEvent *>(evento);
        if (tecla->key() == Qt::Key_Space && !m_space) {
            m_space = true;
            PaintFlat(evento);
        }
        break;
    }
    case QEvent::KeyRelease: {
        // Held keys repeat as release-press pairs; only the real release counts.
        auto *tecla = static_cast<QKeyEvent *>(evento);
        if (tecla->key() == Qt::Key_Space && !tecla->isAutoRepeat()) {
            m_space = false;
            PaintFlat(evento);
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(evento);
        m_posMouse = mouse->position().toPoint();
        if (!m_control->isEnabled())
            break;
        // Qt holds back enter and leave while a button is held, yet the pressed look must
        // follow the pointer in and out.
        if (m_pressed) {
            const bool dentro = m_control->rect().contains(m_posMouse);
            if (dentro != m_hot) {
                m_hot = dentro;
                PaintFlat(evento);
                break;
            }
        }
        if (tipoDe(m_control) == Tipo::UpDown)
            PaintFlat(evento);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton) {
            m_pressed = true;
            m_posMouse = static_cast<QMouseEvent *>(evento)->position().toPoint();
            PaintFlat(evento);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton) {
            m_pressed = false;
            PaintFlat(evento);
        }
        break;
    case QEvent::EnabledChange:
        if (!m_control->isEnabled())
            m_hot = false;
        PaintFlat(evento);
        break;
    case QEvent::Enter:
        if (m_control->isEnabled()) {
            m_hot = true;
            m_posMouse = static_cast<QEnterEvent *>(evento)->position().toPoint();
            PaintFlat(evento);
        }
        break;
    case QEvent::Leave:
        if (m_control->isEnabled()) {
            m_hot = false;
            PaintFlat(evento);
        }
        break;
    default:
        break;
    }
}

// Qt paints only while a paint event is delivered: there the look is drawn over the
// control's own painting; any other change asks for that paint.
void THookWindowProc::PaintFlat(QEvent *evento)
{
    const QVariant bidi = m_control->property(PropriedadeParentBiDiMode);
    if (bidi.isValid() && !bidi.toBool())
        return;
    const Tipo tipo = tipoDe(m_control);
    if (tipo == Tipo::Nenhum)
        return;
    if (tipo == Tipo::Grupo
        && (m_lastMessage == QEvent::MouseMove || m_lastMessage == QEvent::MouseButtonRelease
            || m_lastMessage == QEvent::Enter || m_lastMessage == QEvent::Leave))
        return;
    if (evento->type() == QEvent::Paint)
        Pinta();
    else
        m_control->update();
}

void THookWindowProc::Pinta()
{
    QPainter p(m_control);
    switch (tipoDe(m_control)) {
    case Tipo::Edit:
        TFlatStyle::PaintEditFrame(p, m_control);
        break;
    case Tipo::BitBtn:
        TFlatStyle::PaintBitButton(p, static_cast<QPushButton *>(m_control), *this);
        break;
    case Tipo::Botao:
        TFlatStyle::PaintPushButton(p, static_cast<QPushButton *>(m_control), *this);
        break;
    case Tipo::Radio:
        TFlatStyle::PaintRadioButton(p, static_cast<QRadioButton *>(m_control), *this);
        break;
    case Tipo::Grupo:
        TFlatStyle::PaintGroupBox(p, static_cast<QGroupBox *>(m_control), *this);
        break;
    case Tipo::UpDown:
        TFlatStyle::PaintUpDown(p, m_control, *this);
        break;
    case Tipo::Gauge:
        TFlatStyle::PaintGauge(p, m_control);
        break;
    case Tipo::Combo:
        TFlatStyle::PaintComboButton(p, m_control, *this);
        break;
    case Tipo::Nenhum:
        break;
    }
}
