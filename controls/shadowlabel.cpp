#include "controls/shadowlabel.h"

#include "controls/drawtext.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

int Direita(const QRect &r)
{
    return r.x() + r.width();
}
int Base(const QRect &r)
{
    return r.y() + r.height();
}

// Both rectangles by their edges, empty ones included (a measured blank is still a place).
QRect Uniao(const QRect &a, const QRect &b)
{
    const int l = std::min(a.x(), b.x()), t = std::min(a.y(), b.y());
    return QRect(l, t, std::max(Direita(a), Direita(b)) - l, std::max(Base(a), Base(b)) - t);
}

QColor CinzaDesabilitado()
{
    return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
}
QColor RealceDeBotao()
{
    return QApplication::palette().color(QPalette::Active, QPalette::Light);
}

} // namespace

QRect DeslocaSombra(const QRect &r, TShadowPosition posicao, int s)
{
    switch (posicao) {
    case spLeftTop:
        return r.translated(-s, -s);
    case spLeftBottom:
        return r.translated(-s, s);
    case spRightBottom:
        return r.translated(s, s);
    case spRightTop:
        return r.translated(s, -s);
    }
    return r;
}

int DrawShadowText(QPainter *painter, const QFont &fonte, const QString &texto, QRect &r, unsigned formato, int s,
    const QColor &corSombra, const QColor &corTexto, TShadowPosition posicao)
{
    auto desenha = [&](QRect &alvo, const QColor &cor) {
        if (!painter)
            return MedeTexto(fonte, texto, alvo, formato);
        painter->setPen(cor);
        return DrawText(*painter, texto, alvo, formato);
    };
    QRect rt = r;
    QRect rs = DeslocaSombra(r, posicao, s);
    int h = desenha(rs, corSombra); // the shadow first, the text over it
    if (h > 0)
        h += s;
    desenha(rt, corTexto);
    r = Uniao(rt, rs);
    return h;
}

QChar TeclaAceleradora(const QString &texto)
{
    for (qsizetype i = 0; i + 1 < texto.size(); ++i) {
        if (texto.at(i) != QLatin1Char('&'))
            continue;
        if (texto.at(i + 1) != QLatin1Char('&'))
            return texto.at(i + 1);
        ++i; // "&&" is a plain ampersand
    }
    return {};
}

TCustomShadowLabel::TCustomShadowLabel(QWidget *parent)
    : QWidget(parent)
    , m_shadowColor(RealceDeBotao())
{
    setFocusPolicy(Qt::NoFocus);
    // OnMouseMove follows the pointer over the label with or without a button held.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaco);
    resize(65, 17);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *novo) { FocoMudou(novo); });
    // The accelerator is typed wherever the focus is; the label listens for it.
    qApp->installEventFilter(this);
    AdjustBounds();
}

TCustomShadowLabel::~TCustomShadowLabel()
{
    qApp->removeEventFilter(this);
}

void TCustomShadowLabel::setFocusControl(QWidget *valor)
{
    disconnect(m_avisoDestruicao);
    m_focusControl = valor;
    if (valor)
        m_avisoDestruicao = connect(valor, &QObject::destroyed, this, [this] { setFocusControl(nullptr); });
    if (m_showFocus)
        update();
}

void TCustomShadowLabel::setAlignment(TAlignment valor)
{
    if (m_alignment == valor)
        return;
    m_alignment = valor;
    update();
}

void TCustomShadowLabel::setAutoSize(bool valor)
{
    m_autoSize = valor;
    AdjustBounds();
}

void TCustomShadowLabel::setLayout(TTextLayout valor)
{
    if (m_layout == valor)
        return;
    m_layout = valor;
    update();
}

void TCustomShadowLabel::setShadowColor(const QColor &valor)
{
    if (m_shadowColor == valor)
        return;
    m_shadowColor = valor;
    update();
}

void TCustomShadowLabel::setShadowSize(quint8 valor)
{
    if (m_shadowSize == valor)
        return;
    m_shadowSize = valor;
    AdjustBounds();
    update();
}

void TCustomShadowLabel::setShadowPos(TShadowPosition valor)
{
    if (m_shadowPos == valor)
        return;
    m_shadowPos = valor;
    update();
}

void TCustomShadowLabel::setWordWrap(bool valor)
{
    if (m_wordWrap == valor)
        return;
    m_wordWrap = valor;
    AdjustBounds();
    update();
}

void TCustomShadowLabel::setShowAccelChar(bool valor)
{
    if (m_showAccelChar == valor)
        return;
    m_showAccelChar = valor;
    update();
}

void TCustomShadowLabel::setShowFocus(bool valor)
{
    if (m_showFocus == valor)
        return;
    m_showFocus = valor;
    update();
}

void TCustomShadowLabel::setTransparent(bool valor)
{
    if (Transparent() == valor)
        return;
    m_opaco = !valor;
    // An opaque label paints every pixel itself; a transparent one lets the parent show.
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaco);
    update();
}

void TCustomShadowLabel::setCaption(const QString &valor)
{
    if (m_caption == valor)
        return;
    m_caption = valor;
    update();
    // A screen reader reads the caption as the name.
    QAccessibleEvent nome(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nome);
    AdjustBounds();
}

QColor TCustomShadowLabel::Color() const
{
    return m_color.isValid() ? m_color : palette().color(QPalette::Window);
}

void TCustomShadowLabel::setColor(const QColor &valor)
{
    if (m_color == valor)
        return;
    m_color = valor;
    update();
}

unsigned TCustomShadowLabel::FlagsTexto() const
{
    unsigned f = DT::ExpandTabs;
    if (m_wordWrap)
        f |= DT::WordBreak;
    switch (m_alignment) {
    case taLeftJustify:
        f |= DT::Left;
        break;
    case taRightJustify:
        f |= DT::Right;
        break;
    case taCenter:
        f |= DT::Center;
        break;
    }
    return f;
}

int TCustomShadowLabel::DoDrawText(QPainter *painter, QRect &r, unsigned formato) const
{
    QString texto = GetLabelText();
    // An empty caption (or a lone accelerator mark) still measures one line high.
    if ((formato & DT::CalcRect) && (texto.isEmpty() || (m_showAccelChar && texto == QStringLiteral("&"))))
        texto += QLatin1Char(' ');
    if (!m_showAccelChar)
        formato |= DT::NoPrefix;
    // Right to left mirrors the alignment.
    if (layoutDirection() == Qt::RightToLeft && !(formato & DT::Center)) {
        formato ^= DT::Right;
    }
    if (painter)
        painter->setFont(font());

    QColor corTexto = GetDefaultFontColor();
    TShadowPosition posicao = m_shadowPos;
    int tamanho = m_shadowSize;
    QColor corSombra = m_shadowColor;
    if (!isEnabled()) {
        // Engraved: without a shadow of its own, a 1-pixel light copy down and right.
        if (tamanho == 0) {
            posicao = spRightBottom;
            tamanho = 1;
        }
        corTexto = CinzaDesabilitado();
        corSombra = RealceDeBotao();
    }
    return DrawShadowText(painter, font(), texto, r, formato, tamanho, corSombra.toRgb(), corTexto, posicao);
}

void TCustomShadowLabel::AdjustBounds()
{
    if (!m_autoSize)
        return;
    QRect r(1, 0, width() - 2, height());
    DoDrawText(nullptr, r, DT::ExpandTabs | (m_wordWrap ? DT::WordBreak : 0u) | DT::CalcRect);
    r.adjust(-1, 0, 1, 0);
    int x = this->x();
    TAlignment alinhamento = m_alignment;
    if (layoutDirection() == Qt::RightToLeft && alinhamento != taCenter)
        alinhamento = alinhamento == taLeftJustify ? taRightJustify : taLeftJustify;
    // A right-aligned label keeps its right edge in place.
    if (alinhamento == taRightJustify)
        x += width() - Direita(r);
    // Measured from the client origin: a shadow to the right or below adds to the size.
    setGeometry(x, y(), Direita(r), Base(r));
}

void TCustomShadowLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!isEnabled())
        m_dragging = false;
    if (!Transparent())
        p.fillRect(rect(), Color());
    p.setBrush(Qt::NoBrush);

    const unsigned f = FlagsTexto();
    QRect r(1, 0, width() - 2, height());
    if (m_layout != tlTop) {
        DoDrawText(&p, r, f | DT::CalcRect);
        r.setLeft(0);
        r.setRight(width() - 1);
        const int folga = height() - Base(r);
        r.translate(0, m_layout == tlBottom ? folga : folga / 2);
    }
    DoDrawText(&p, r, f);

    if (m_showFocus && m_focusControl && m_focused) {
        r.adjust(-1, 0, 1, 0);
        p.setPen(QPen(GetDefaultFontColor(), 1, Qt::DotLine));
        p.setBackground(Color());
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void TCustomShadowLabel::MouseEnter()
{
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TCustomShadowLabel::MouseLeave()
{
    if (OnMouseLeave)
        OnMouseLeave(this);
}

namespace {

// The program is the one the user works with: one of its windows is active.
bool EmPrimeiroPlano()
{
    return QApplication::activeWindow() != nullptr;
}

} // namespace

void TCustomShadowLabel::enterEvent(QEnterEvent *evento)
{
    QWidget::enterEvent(evento);
    if (!m_mouseInControl && isEnabled() && EmPrimeiroPlano()) {
        m_mouseInControl = true;
        MouseEnter();
    }
}

void TCustomShadowLabel::leaveEvent(QEvent *evento)
{
    QWidget::leaveEvent(evento);
    // While the left button is held after a press here the pointer still belongs to us.
    if (m_mouseInControl && isEnabled() && !m_dragging) {
        m_mouseInControl = false;
        MouseLeave();
    }
}

void TCustomShadowLabel::Reconfere()
{
    const bool dentro = isEnabled() && QApplication::widgetAt(QCursor::pos()) == this && EmPrimeiroPlano();
    if (dentro == m_mouseInControl)
        return;
    m_mouseInControl = dentro;
    if (dentro)
        MouseEnter();
    else
        MouseLeave();
}

void TCustomShadowLabel::mousePressEvent(QMouseEvent *evento)
{
    QWidget::mousePressEvent(evento);
    if (evento->button() == Qt::LeftButton)
        m_pressionado = true;
    const QPoint pos = evento->position().toPoint();
    if (OnMouseDown)
        OnMouseDown(this, evento->button(), evento->modifiers(), pos.x(), pos.y());
    if (evento->button() == Qt::LeftButton) {
        if (isEnabled())
            m_dragging = true;
    } else if (evento->button() == Qt::RightButton) {
        Reconfere();
    }
}

void TCustomShadowLabel::mouseReleaseEvent(QMouseEvent *evento)
{
    QWidget::mouseReleaseEvent(evento);
    const QPoint pos = evento->position().toPoint();
    // The click comes first, then OnMouseUp, then a leave that the held button put off.
    if (evento->button() == Qt::LeftButton) {
        const bool clique = m_pressionado && rect().contains(pos);
        m_pressionado = false;
        if (clique && OnClick)
            OnClick(this);
    }
    if (OnMouseUp)
        OnMouseUp(this, evento->button(), evento->modifiers(), pos.x(), pos.y());
    if (evento->button() == Qt::LeftButton) {
        m_dragging = false;
        Reconfere();
    } else if (evento->button() == Qt::RightButton) {
        Reconfere();
    }
}

void TCustomShadowLabel::mouseMoveEvent(QMouseEvent *evento)
{
    QWidget::mouseMoveEvent(evento);
    const QPoint pos = evento->position().toPoint();
    if (OnMouseMove)
        OnMouseMove(this, evento->modifiers(), pos.x(), pos.y());
}

void TCustomShadowLabel::mouseDoubleClickEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
    mousePressEvent(evento);
    // The release that ends a double click is not a click of its own.
    m_pressionado = false;
}

void TCustomShadowLabel::showEvent(QShowEvent *evento)
{
    QWidget::showEvent(evento);
    Reconfere();
}

void TCustomShadowLabel::changeEvent(QEvent *evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::EnabledChange) {
        Reconfere();
        update();
    } else if (evento->type() == QEvent::FontChange) {
        AdjustBounds();
    } else if (evento->type() == QEvent::PaletteChange) {
        update();
    }
}

void TCustomShadowLabel::FocoMudou(QWidget *novo)
{
    const bool focado = m_focusControl && m_focusControl == novo;
    if (focado == m_focused)
        return;
    m_focused = focado;
    if (m_showFocus)
        update();
}

bool TCustomShadowLabel::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType())
        return false;
    auto *tecla = static_cast<QKeyEvent *>(evento);
    if (!(tecla->modifiers() & Qt::AltModifier) || !m_focusControl || !isEnabled() || !m_showAccelChar)
        return false;
    auto *alvo = static_cast<QWidget *>(objeto);
    // A key event travels up the parents when unhandled; take it only where it starts.
    QWidget *foco = QApplication::focusWidget();
    if (alvo->window() != window() || (foco ? alvo != foco : alvo != window()))
        return false;
    const QChar letra = TeclaAceleradora(GetLabelText());
    if (letra.isNull())
        return false;
    const int codigo = tecla->key();
    const QChar digitada = codigo >= Qt::Key_A && codigo <= Qt::Key_Z ? QChar('a' + (codigo - Qt::Key_A))
        : tecla->text().size() == 1                                   ? tecla->text().at(0)
                                                                      : QChar();
    if (digitada.isNull() || digitada.toLower() != letra.toLower())
        return false;
    QWidget *controle = m_focusControl;
    if (!controle->isEnabled() || !controle->isVisible() || controle->focusPolicy() == Qt::NoFocus)
        return false;
    controle->setFocus(Qt::ShortcutFocusReason);
    return true;
}
