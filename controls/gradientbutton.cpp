#include "controls/gradientbutton.h"

#include "controls/colorconv.h"
#include "controls/drawtext.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include <cmath>

namespace {

// The caption is drawn from an 80-character buffer that keeps its terminating zero.
constexpr int MaxCaption = 79;

// Draws an axis-aligned line from a toward b and leaves b itself unpainted, as the classic
// line-to call does; the frame's corners depend on which pixels stay untouched.
void LinhaAte(QPainter &p, QPoint a, QPoint b, const QColor &cor)
{
    if (a == b)
        return;
    const QPoint passo((b.x() > a.x()) - (b.x() < a.x()), (b.y() > a.y()) - (b.y() < a.y()));
    const QPoint ultimo = b - passo;
    p.fillRect(QRect(QPoint(std::min(a.x(), ultimo.x()), std::min(a.y(), ultimo.y())),
                   QPoint(std::max(a.x(), ultimo.x()), std::max(a.y(), ultimo.y()))),
        cor);
}

// A rectangle given by its edges, right and bottom excluded.
QRect Bordas(int l, int t, int r, int b)
{
    return QRect(l, t, r - l, b - t);
}

bool CampoDeTexto(QWidget *w)
{
    if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w))
        return true;
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->isEditable();
    if (auto *t = qobject_cast<QTextEdit *>(w))
        return !t->isReadOnly();
    if (auto *t = qobject_cast<QPlainTextEdit *>(w))
        return !t->isReadOnly();
    return false;
}

QChar TeclaDoEvento(const QKeyEvent *e)
{
    // With Alt held the event carries no text; the key code names the letter.
    if (e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        return QChar('A' + (e->key() - Qt::Key_A));
    if (e->text().size() == 1)
        return e->text().at(0);
    return {};
}

} // namespace

TPaletaGradiente MontaPaleta(const QColor &cor, TGradDirection direcao)
{
    TPaletaGradiente paleta;
    QColor claro, escuro;
    for (int i = 0; i < 128; ++i) {
        ComputeLightDark(cor, claro, escuro, i / 128.0f, i / 128.0f);
        paleta[i] = direcao == gdDownRight ? claro : escuro;
    }
    // For gdDownRight entry 127 is computed again here and becomes the base colour itself.
    for (int i = direcao == gdDownRight ? 127 : 128; i <= 255; ++i) {
        const float f = (255 - i) / 128.0f;
        ComputeLightDark(cor, claro, escuro, f, f);
        paleta[i] = direcao == gdDownRight ? escuro : claro;
    }
    return paleta;
}

QList<QRect> FaixasGradiente(TGradientStyle estilo, QSize tamanho)
{
    QList<QRect> faixas;
    if (estilo != gsVertical && estilo != gsHorizontal)
        return faixas;
    const bool vertical = estilo == gsVertical;
    const int extensao = vertical ? tamanho.height() : tamanho.width();
    const double passo = extensao / 255.0;
    const int faixa = static_cast<int>(std::trunc(passo + 1));
    // Bands 0 and 1 both start at 0: the position is advanced after each fill from i, not
    // i + 1. Exactly 256 fills whatever the size.
    int pos = 0;
    for (int i = 0; i <= 255; ++i) {
        faixas.push_back(vertical ? QRect(0, pos, tamanho.width(), faixa) : QRect(pos, 0, faixa, tamanho.height()));
        pos = static_cast<int>(std::trunc(i * passo));
    }
    return faixas;
}

PosicaoConteudo PosicionaConteudo(const EntradaConteudo &e)
{
    PosicaoConteudo r;
    // The left edge takes no part: horizontal centring uses the right edge alone.
    const int RT = e.interno.top();
    const int RR = e.interno.left() + e.interno.width(), RB = e.interno.top() + e.interno.height();
    const int tw = e.texto.width(), th = e.texto.height();
    const bool comGlifo = e.numGlyphs > 0;

    int gx = 0, gy = 0, gw = 0, gh = 0;
    if (comGlifo) {
        gw = e.glifo.width() / e.numGlyphs;
        gh = e.glifo.height();
        int imagem = 0;
        if (!e.enabled && e.numGlyphs > 1)
            imagem = 1;
        if (e.down && e.numGlyphs > 2)
            imagem = 2;
        r.origemGlifo = QRect(imagem * gw, 0, gw, gh);

        gx = (RR - gw) / 2;
        if (e.temTexto && e.layout == blGlyphLeft)
            gx = (RR - tw - gw - e.spacing) / 2 - e.margin;
        else if (e.temTexto && e.layout == blGlyphRight)
            gx = (RR + tw + gw + e.spacing) / 2 - gw + e.margin;

        if (e.temTexto && e.layout == blGlyphTop)
            gy = (RT + RB - th - gh - e.spacing) / 2 - e.margin;
        else if (e.temTexto && e.layout == blGlyphBottom)
            gy = (RT + RB + th + gh + e.spacing) / 2 - gh + e.margin;
        else
            gy = (RT + RB - gh) / 2;

        if (e.down) {
            ++gx;
            ++gy;
        }
        r.glifo = QRect(gx, gy, gw, gh);
    }

    if (e.temTexto) {
        int x = (RR - tw) / 2;
        if (comGlifo && e.layout == blGlyphRight)
            x = gx - tw - e.spacing;
        else if (comGlifo && e.layout == blGlyphLeft)
            x = gx + gw + e.spacing;

        int y = (RT + RB - th) / 2 + (e.changeDirection && e.down ? -e.topMargin : e.topMargin);
        if (comGlifo && e.layout == blGlyphTop)
            y = gy + gh + e.spacing;
        else if (comGlifo && e.layout == blGlyphBottom)
            y = gy - th - e.spacing;
        if (e.down)
            ++y;
        r.texto = QRect(x, y, tw, th);
    }
    return r;
}

bool IsAccelChar(QChar tecla, const QString &caption)
{
    const int p = caption.indexOf(QLatin1Char('&'));
    if (p < 0 || p + 1 >= caption.size())
        return false;
    auto maiuscula
        = [](QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z') ? QChar(c.unicode() - 'a' + 'A') : c; };
    return maiuscula(caption.at(p + 1)) == maiuscula(tecla);
}

int NumGlyphsDaFaixa(QSize tamanho)
{
    if (tamanho.height() <= 0 || tamanho.width() % tamanho.height() != 0)
        return 1;
    return std::clamp(tamanho.width() / tamanho.height(), 1, 4);
}

TGradientButton::TGradientButton(QWidget *parent)
    : QWidget(parent)
    , m_color(QApplication::palette().color(QPalette::Button))
{
    setFocusPolicy(Qt::NoFocus);
    // OnMouseMove follows the pointer over the button with or without a button held.
    setMouseTracking(true);
    resize(75, 25);
    UpdateContrastColors();
    BuildPalette();
    // Accelerator keys reach whichever widget has the focus; the button listens for them.
    qApp->installEventFilter(this);
}

TGradientButton::~TGradientButton()
{
    qApp->removeEventFilter(this);
}

void TGradientButton::Repinta()
{
    m_telaValida = false;
    update();
}

void TGradientButton::setBevelWidth(int valor)
{
    if (valor == m_bevelWidth || valor < 0 || valor >= height() / 2 || valor >= width() / 2)
        return;
    m_bevelWidth = valor;
    Repinta();
}

void TGradientButton::setBorderColor(const QColor &valor)
{
    if (m_borderColor == valor)
        return;
    m_borderColor = valor;
    Repinta();
}

void TGradientButton::setBorderStyle(TBorderStyle valor)
{
    if (m_borderStyle == valor)
        return;
    m_borderStyle = valor;
    Repinta();
}

void TGradientButton::setCaption(const QString &valor)
{
    if (m_caption == valor)
        return;
    m_caption = valor;
    Repinta();
    // A screen reader reads the caption as the name.
    QAccessibleEvent nome(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nome);
}

void TGradientButton::setColor(const QColor &valor)
{
    if (m_color == valor)
        return;
    m_color = valor;
    UpdateContrastColors();
    if (m_gradientStyle != gsNone)
        BuildPalette();
    Repinta();
}

void TGradientButton::setContrastHighlight(int valor)
{
    if (valor == m_contrastHighlight || valor < 0 || valor > 9)
        return;
    m_contrastHighlight = valor;
    UpdateContrastColors();
    if (m_gradientStyle != gsNone)
        BuildPalette();
    Repinta();
}

void TGradientButton::setContrastShadow(int valor)
{
    if (valor == m_contrastShadow || valor < 0 || valor > 9)
        return;
    m_contrastShadow = valor;
    UpdateContrastColors();
    if (m_gradientStyle != gsNone)
        BuildPalette();
    Repinta();
}

void TGradientButton::setDown(bool valor)
{
    if (valor == m_down)
        return;
    m_down = valor;
    if (m_gradientStyle == gsNone && m_telaValida) {
        QPainter p(&m_tela);
        DrawFrame(p, true);
        p.end();
        update();
    } else {
        Repinta();
    }
    if (m_grouped && valor)
        ReleaseGroup();
    if (OnStateChange)
        OnStateChange(this);
}

void TGradientButton::setGlyph(const QImage &valor)
{
    m_glyph = valor;
    Repinta();
}

void TGradientButton::setGradientDirection(TGradDirection valor)
{
    if (m_gradientDirection == valor)
        return;
    m_gradientDirection = valor;
    if (m_gradientStyle != gsNone)
        BuildPalette();
    Repinta();
}

void TGradientButton::setGradientStyle(TGradientStyle valor)
{
    if (m_gradientStyle == valor)
        return;
    m_gradientStyle = valor;
    if (valor != gsNone)
        BuildPalette();
    Repinta();
}

void TGradientButton::setLayout(TButtonLayout valor)
{
    if (m_layout == valor)
        return;
    m_layout = valor;
    Repinta();
}

void TGradientButton::setMargin(int valor)
{
    if (m_margin == valor)
        return;
    m_margin = valor;
    Repinta();
}

void TGradientButton::setNumGlyphs(int valor)
{
    if (m_numGlyphs == valor || valor < 0 || valor > 4)
        return;
    m_numGlyphs = valor;
    Repinta();
}

void TGradientButton::setSpacing(int valor)
{
    if (m_spacing == valor)
        return;
    m_spacing = valor;
    Repinta();
}

void TGradientButton::setTopMargin(int valor)
{
    if (m_topMargin == valor)
        return;
    m_topMargin = valor;
    Repinta();
}

void TGradientButton::UpdateContrastColors()
{
    const float claro = (10 - m_contrastHighlight) / 10.0f;
    const float escuro = (10 - m_contrastShadow) / 10.0f;
    ComputeLightDark(m_color, m_highlightColor, m_shadowColor, claro, escuro);
}

void TGradientButton::BuildPalette()
{
    m_palette = MontaPaleta(m_color, m_gradientDirection);
}

void TGradientButton::ReleaseGroup()
{
    if (!parentWidget())
        return;
    for (QObject *filho : parentWidget()->children()) {
        auto *outro = qobject_cast<TGradientButton *>(filho);
        if (outro && outro != this && outro->m_grouped && outro->m_groupIndex == m_groupIndex && outro->m_down)
            outro->setDown(false);
    }
}

QColor TGradientButton::CorGradiente(int j) const
{
    const bool invertido = m_changeDirection && m_down;
    return m_palette[std::clamp(invertido ? 255 - j : j, 0, 255)];
}

void TGradientButton::DrawGradient(QPainter &p)
{
    const int W = width(), H = height();
    if (m_gradientStyle == gsPyramid) {
        // A button without area has no centre to shade toward.
        if (W <= 0 || H <= 0)
            return;
        const QPoint centro(W / 2, H / 2);
        const float escala = 255.0f / float(W + H);
        auto indice = [escala](int n) { return static_cast<int>(std::trunc(float(n) * escala)); };
        p.save();
        for (int i = 0; i <= W; ++i) {
            p.setPen(QPen(CorGradiente(indice(i)), 1));
            p.drawLine(QPoint(i, 0), centro);
            p.setPen(QPen(CorGradiente(indice(H + i)), 1));
            p.drawLine(centro, QPoint(i, H - 1));
        }
        for (int j = 0; j <= H; ++j) {
            p.setPen(QPen(CorGradiente(indice(W + j)), 1));
            p.drawLine(QPoint(W - 1, j), centro);
            p.setPen(QPen(CorGradiente(indice(j)), 1));
            p.drawLine(centro, QPoint(0, j));
        }
        p.restore();
        return;
    }
    const QList<QRect> faixas = FaixasGradiente(m_gradientStyle, size());
    for (int i = 0; i < faixas.size(); ++i)
        p.fillRect(faixas.at(i), CorGradiente(i));
}

void TGradientButton::DrawFrame(QPainter &p, bool moveInterior)
{
    int RL = 0, RT = 0, RR = width(), RB = height();
    if (m_borderStyle == bsSingle) {
        p.save();
        p.setPen(QPen(m_borderColor, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(RL, RT, RR - RL - 1, RB - RT - 1));
        p.restore();
        ++RL, ++RT, --RR, --RB;
    } else if (m_borderStyle == bsNormal) {
        const QColor a = m_down ? m_borderColor : m_highlightColor;
        const QColor b = m_down ? m_highlightColor : m_borderColor;
        LinhaAte(p, QPoint(RL, RB - 1), QPoint(RL, RT), a);
        LinhaAte(p, QPoint(RL, RT), QPoint(RR - 1, RT), a);
        LinhaAte(p, QPoint(RL, RB - 1), QPoint(RR - 1, RB - 1), b);
        LinhaAte(p, QPoint(RR - 1, RB - 1), QPoint(RR - 1, RT), b);
        ++RL, ++RT, --RR, --RB;
    }

    const QColor superior = m_down ? m_shadowColor : m_highlightColor;
    const QColor inferior = m_down ? m_highlightColor : m_shadowColor;
    for (int k = 0; k < m_bevelWidth; ++k) {
        LinhaAte(p, QPoint(RR - k - 1, RT + k), QPoint(RL + k, RT + k), superior);
        LinhaAte(p, QPoint(RL + k, RT + k), QPoint(RL + k, RB - k - 1), superior);
    }
    for (int k = 0; k < m_bevelWidth; ++k) {
        LinhaAte(p, QPoint(RR - k - 1, RT + k), QPoint(RR - k - 1, RB - k - 1), inferior);
        LinhaAte(p, QPoint(RR - k - 1, RB - k - 1), QPoint(RL + k, RB - k - 1), inferior);
    }

    if (moveInterior) {
        const int bw = m_bevelWidth;
        const QRect origem = m_down ? Bordas(RL + bw, RT + bw, RR - bw - 1, RB - bw - 1)
                                    : Bordas(RL + bw + 1, RT + bw + 1, RR - bw, RB - bw);
        const int desvio = m_down ? 1 : -1;
        if (origem.isValid() && p.device() == &m_tela) {
            const qreal escala = m_tela.devicePixelRatio();
            QPixmap copia = m_tela.copy(QRect((origem.topLeft() * escala), origem.size() * escala));
            copia.setDevicePixelRatio(escala);
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawPixmap(origem.topLeft() + QPoint(desvio, desvio), copia);
            p.restore();
        }
    }
}

void TGradientButton::Pinta(QPainter &p)
{
    const int W = width(), H = height();
    const int recuo = m_bevelWidth + (m_borderStyle == bsFlat ? 0 : 1);
    const QRect interno = Bordas(recuo, recuo, W - recuo, H - recuo);
    p.setFont(font());
    p.fillRect(interno, m_color);

    const bool gradiente = m_gradientStyle != gsNone;
    if (gradiente)
        DrawGradient(p);

    const QString texto = m_caption.left(MaxCaption);
    const QFontMetrics medidas(font());
    EntradaConteudo e;
    e.interno = interno;
    e.glifo = m_glyph.size();
    e.numGlyphs = m_numGlyphs;
    e.temTexto = !texto.isEmpty();
    // Measured as the canvas does, ampersands included.
    e.texto = e.temTexto ? QSize(medidas.horizontalAdvance(texto), medidas.height()) : QSize();
    e.layout = m_layout;
    e.margin = m_margin;
    e.spacing = m_spacing;
    e.topMargin = m_topMargin;
    e.down = m_down;
    e.changeDirection = m_changeDirection;
    e.enabled = isEnabled();
    const PosicaoConteudo pos = PosicionaConteudo(e);

    if (m_numGlyphs > 0 && !m_glyph.isNull() && pos.origemGlifo.width() > 0) {
        QImage imagem = m_glyph.copy(pos.origemGlifo).convertToFormat(QImage::Format_ARGB32);
        // The strip's bottom-left pixel marks what is not drawn: the button colour shows
        // there without a gradient, the gradient with one.
        const QRgb transparente = m_glyph.pixel(0, m_glyph.height() - 1);
        const QRgb fundo = gradiente ? qRgba(0, 0, 0, 0) : m_color.rgb();
        for (int y = 0; y < imagem.height(); ++y) {
            auto *linha = reinterpret_cast<QRgb *>(imagem.scanLine(y));
            for (int x = 0; x < imagem.width(); ++x)
                if (linha[x] == transparente)
                    linha[x] = fundo;
        }
        p.drawImage(pos.glifo.topLeft(), imagem);
    }

    if (e.temTexto) {
        if (!gradiente)
            p.fillRect(pos.texto, m_color);
        // The font colour is the palette's text colour; disabled, the desktop's grey text.
        p.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::WindowText)
                             : QApplication::palette().color(QPalette::Disabled, QPalette::WindowText));
        QRect caixa = pos.texto;
        DrawText(p, texto, caixa, DT::SingleLine | DT::Center | DT::VCenter);
    }

    DrawFrame(p, false);
}

void TGradientButton::paintEvent(QPaintEvent *)
{
    const qreal escala = devicePixelRatioF();
    // A new size always needs a full paint.
    if (!m_telaValida || m_tela.size() != size() * escala) {
        m_tela = QPixmap(size() * escala);
        m_tela.setDevicePixelRatio(escala);
        m_tela.fill(Qt::transparent);
        QPainter p(&m_tela);
        Pinta(p);
        m_telaValida = true;
    }
    QPainter p(this);
    p.drawPixmap(0, 0, m_tela);
}

void TGradientButton::mousePressEvent(QMouseEvent *evento)
{
    const QPoint pos = evento->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, evento->button(), evento->modifiers(), pos.x(), pos.y());
    if (evento->button() != Qt::LeftButton || !isEnabled())
        return;
    m_capturado = true;
    m_pressedFromDown = m_down;
    if (!m_down)
        setDown(true);
    // A delay of 0 would fire without pause; it means no repeats.
    if (m_allowTimer && m_timerDelay > 0) {
        if (!m_repeatTimer) {
            m_repeatTimer = new QTimer(this);
            // A coarse timer may fire a little early; the delays are promises to the user.
            m_repeatTimer->setTimerType(Qt::PreciseTimer);
            connect(m_repeatTimer, &QTimer::timeout, this, &TGradientButton::RepeatTick);
        }
        m_repeatTimer->start(m_timerDelay);
    }
}

void TGradientButton::mouseReleaseEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::LeftButton) {
        m_capturado = false;
        if (isEnabled()) {
            if (m_down && (!m_grouped || (m_pressedFromDown && m_allowAllUp)))
                setDown(false);
            if (m_repeatTimer)
                m_repeatTimer->stop();
            // Wherever the pointer is now: the press began on the button.
            if (OnClick)
                OnClick(this);
        }
    }
    const QPoint pos = evento->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(this, evento->button(), evento->modifiers(), pos.x(), pos.y());
}

void TGradientButton::mouseMoveEvent(QMouseEvent *evento)
{
    const QPoint pos = evento->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, evento->modifiers(), pos.x(), pos.y());
}

void TGradientButton::mouseDoubleClickEvent(QMouseEvent *evento)
{
    // Only a left double click is one; OnDblClick comes first, then its second press presses
    // the button again.
    if (evento->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
    mousePressEvent(evento);
}

void TGradientButton::RepeatTick()
{
    if (m_timerInterval == 0)
        m_repeatTimer->stop();
    else
        m_repeatTimer->start(m_timerInterval);
    if (m_down && isEnabled() && m_capturado && OnClick) {
        try {
            OnClick(this);
        } catch (...) {
            m_repeatTimer->stop();
            throw;
        }
    }
}

void TGradientButton::changeEvent(QEvent *evento)
{
    QWidget::changeEvent(evento);
    switch (evento->type()) {
    case QEvent::EnabledChange:
        if (!m_grouped)
            setDown(false);
        if (!isEnabled()) {
            m_capturado = false;
            if (m_repeatTimer)
                m_repeatTimer->stop();
        }
        Repinta();
        break;
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        Repinta();
        break;
    default:
        break;
    }
}

bool TGradientButton::TeclaDeAtalho(QChar tecla)
{
    if (tecla.isNull() || !IsAccelChar(tecla, m_caption))
        return false;
    Click();
    return true;
}

void TGradientButton::Click()
{
    if (m_grouped && (!m_down || m_allowAllUp)) {
        m_pressedFromDown = m_down;
        setDown(!m_down);
    }
    if (isEnabled() && OnClick)
        OnClick(this);
}

bool TGradientButton::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType() || !isVisible())
        return false;
    auto *alvo = static_cast<QWidget *>(objeto);
    if (alvo->window() != window())
        return false;
    // A key event travels up the parents when unhandled; take it only where it starts.
    QWidget *foco = QApplication::focusWidget();
    if (foco ? alvo != foco : alvo != window())
        return false;
    auto *tecla = static_cast<QKeyEvent *>(evento);
    const bool comAlt = tecla->modifiers() & Qt::AltModifier;
    if (tecla->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    // Without Alt a letter typed into a text field belongs to the field.
    if (!comAlt && foco && CampoDeTexto(foco))
        return false;
    return TeclaDeAtalho(TeclaDoEvento(tecla));
}
