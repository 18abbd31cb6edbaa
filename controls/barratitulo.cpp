#include "controls/barratitulo.h"

#include <QEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

namespace {

// Buttons as tall as the bar and a little wider; a 16-pixel icon; 6 pixels of margin.
constexpr int LarguraBotao = 28;
constexpr int LadoIcone = 16;
constexpr int Margem = 6;

// The bar in the palette's selection colours while the window has the keyboard, and in a
// darker shade of the window's own colour when it has not, as most desktops draw theirs.
QColor CorFundo(const QWidget *barra)
{
    return barra->isActiveWindow() ? barra->palette().color(QPalette::Active, QPalette::Highlight)
                                   : barra->palette().color(QPalette::Inactive, QPalette::Window).darker(125);
}

QColor CorTexto(const QWidget *barra)
{
    return barra->isActiveWindow() ? barra->palette().color(QPalette::Active, QPalette::HighlightedText)
                                   : barra->palette().color(QPalette::Inactive, QPalette::WindowText);
}

// A flat button that draws its glyph in the bar's text colour, lit under the pointer. Tool
// buttons keep out of the flat painter, and out of the Tab order, as a title bar's do.
class TBotaoBarra : public QToolButton
{
public:
    enum class Glifo { Minimizar, Fechar };

    TBotaoBarra(QWidget *barra, Glifo glifo, const QString &nome)
        : QToolButton(barra)
        , m_glifo(glifo)
    {
        setFocusPolicy(Qt::NoFocus);
        setAccessibleName(nome);
        setAutoRaise(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QWidget *barra = parentWidget();
        if (isDown() || underMouse()) {
            const QColor fundo = CorFundo(barra);
            p.fillRect(rect(), isDown() ? fundo.darker(130) : fundo.lighter(130));
        }
        p.setPen(QPen(CorTexto(barra), 2));
        const QRect glifo(width() / 2 - 4, height() / 2 - 4, 8, 8);
        if (m_glifo == Glifo::Fechar) {
            p.setRenderHint(QPainter::Antialiasing);
            p.drawLine(glifo.topLeft(), glifo.bottomRight() + QPoint(1, 1));
            p.drawLine(glifo.bottomLeft() + QPoint(0, 1), glifo.topRight() + QPoint(1, 0));
        } else {
            p.drawLine(glifo.left(), glifo.bottom(), glifo.right() + 1, glifo.bottom());
        }
    }

private:
    Glifo m_glifo;
};

} // namespace

GeometriaBarraTitulo GeometriaDaBarraTitulo(int largura, bool minimizar, bool fechar)
{
    GeometriaBarraTitulo g;
    int direita = largura;
    if (fechar) {
        direita -= LarguraBotao;
        g.fechar = QRect(direita, 0, LarguraBotao, TBarraTitulo::Altura);
    }
    if (minimizar) {
        direita -= LarguraBotao;
        g.minimizar = QRect(direita, 0, LarguraBotao, TBarraTitulo::Altura);
    }
    g.icone = QRect(Margem, (TBarraTitulo::Altura - LadoIcone) / 2, LadoIcone, LadoIcone);
    const int esquerda = g.icone.right() + 1 + Margem;
    g.titulo = QRect(esquerda, 0, std::max(0, direita - Margem - esquerda), TBarraTitulo::Altura);
    return g;
}

TBarraTitulo::TBarraTitulo(QWidget *janela)
    : QWidget(janela)
    , m_janela(janela)
{
    setObjectName(QStringLiteral("barraTitulo"));
    const Qt::WindowFlags pedidos = janela->windowFlags();
    if (pedidos.testFlag(Qt::WindowMinimizeButtonHint)) {
        m_minimizar = new TBotaoBarra(this, TBotaoBarra::Glifo::Minimizar, QStringLiteral("Minimizar janela"));
        connect(m_minimizar, &QAbstractButton::clicked, janela, &QWidget::showMinimized);
    }
    if (pedidos.testFlag(Qt::WindowCloseButtonHint)) {
        m_fechar = new TBotaoBarra(this, TBotaoBarra::Glifo::Fechar, QStringLiteral("Fechar janela"));
        connect(m_fechar, &QAbstractButton::clicked, janela, &QWidget::close);
    }
    // The toolkit takes a customised frame that asks for minimise or maximise for one that
    // wants a frame after all, so the buttons, now ours, go from the flags.
    janela->setWindowFlags(
        (pedidos & ~(Qt::CustomizeWindowHint | Qt::WindowMinMaxButtonsHint)) | Qt::FramelessWindowHint);
    AbreEspaco(janela);
    Posiciona();
    janela->installEventFilter(this);
    // The title is read by screen readers from the window itself; painted here, it is not
    // read a second time.
    connect(janela, &QWidget::windowTitleChanged, this, qOverload<>(&QWidget::update));
}

void TBarraTitulo::AbreEspaco(QWidget *janela)
{
    if (janela->layout()) {
        QMargins margens = janela->contentsMargins();
        margens.setTop(margens.top() + Altura);
        janela->setContentsMargins(margens);
    } else {
        for (QWidget *filho : janela->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (filho != this && !filho->isWindow())
                filho->move(filho->pos() + QPoint(0, Altura));
    }
    if (janela->minimumHeight() > 0)
        janela->setMinimumHeight(janela->minimumHeight() + Altura);
    if (janela->maximumHeight() < QWIDGETSIZE_MAX)
        janela->setMaximumHeight(janela->maximumHeight() + Altura);
    janela->resize(janela->width(), janela->height() + Altura);
}

void TBarraTitulo::Posiciona()
{
    setGeometry(0, 0, m_janela->width(), Altura);
    const GeometriaBarraTitulo g = GeometriaDaBarraTitulo(width(), m_minimizar != nullptr, m_fechar != nullptr);
    if (m_minimizar)
        m_minimizar->setGeometry(g.minimizar);
    if (m_fechar)
        m_fechar->setGeometry(g.fechar);
    raise();
}

void TBarraTitulo::paintEvent(QPaintEvent *)
{
    const GeometriaBarraTitulo g = GeometriaDaBarraTitulo(width(), m_minimizar != nullptr, m_fechar != nullptr);
    QPainter p(this);
    p.fillRect(rect(), CorFundo(this));
    m_janela->windowIcon().paint(&p, g.icone);
    QFont negrito = font();
    negrito.setBold(true);
    p.setFont(negrito);
    p.setPen(CorTexto(this));
    const QString titulo = p.fontMetrics().elidedText(m_janela->windowTitle(), Qt::ElideRight, g.titulo.width());
    p.drawText(g.titulo, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, titulo);
}

void TBarraTitulo::mousePressEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::LeftButton && m_janela->windowHandle())
        m_janela->windowHandle()->startSystemMove();
}

bool TBarraTitulo::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == m_janela) {
        switch (evento->type()) {
        case QEvent::Resize:
            Posiciona();
            break;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate:
        case QEvent::WindowIconChange:
            update();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(objeto, evento);
}
