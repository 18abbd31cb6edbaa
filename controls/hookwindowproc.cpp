#include "controls/hookwindowproc.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <utility>

namespace {

QHash<const QWidget *, THookWindowProc *> &RegistroGanchos()
{
    static QHash<const QWidget *, THookWindowProc *> registro;
    return registro;
}

} // namespace

THookWindowProc::THookWindowProc(QObject *owner, QWidget *control)
    : QObject(owner)
    , m_control(control)
{
    RegistroGanchos().insert(control, this);
    control->installEventFilter(this);
    // Should the destroy event never reach the hook, the destruction itself still frees it.
    connect(control, &QObject::destroyed, this, [this] {
        RegistroGanchos().remove(m_control);
        m_control = nullptr;
        Solta();
    });
}

THookWindowProc::~THookWindowProc()
{
    if (m_control) {
        m_control->removeEventFilter(this);
        RegistroGanchos().remove(m_control);
        m_control->update();
    }
}

void THookWindowProc::Solta()
{
    delete this;
}

THookWindowProc *THookWindowProc::HookOf(const QWidget *control)
{
    return RegistroGanchos().value(control, nullptr);
}

// The events the flat look follows. Handing an event to the control from here skips every
// filter the window put on the control before the painter came (the entry window's Enter and
// Esc keys), so all others go their usual way.
namespace {
bool SegueEvento(const QEvent *evento)
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

TEventoExcecao::TEventoExcecao(std::exception_ptr erro)
    : QEvent(Tipo())
    , m_erro(std::move(erro))
{
}

QEvent::Type TEventoExcecao::Tipo()
{
    static const auto tipo = static_cast<QEvent::Type>(QEvent::registerEventType());
    return tipo;
}

bool THookWindowProc::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto != m_control || !m_control || !SegueEvento(evento))
        return false;
    // The control handles the event first, as it always did. What its handling throws (a
    // click handler that cannot read the reminders) is caught here, never let through Qt, and
    // goes to the application's error report; the look and its flags are still brought up to
    // date, so the control keeps working.
    const QPointer<THookWindowProc> vivo(this);
    try {
        static_cast<QObject *>(m_control)->event(evento);
    } catch (...) {
        QCoreApplication::postEvent(QCoreApplication::instance(), new TEventoExcecao(std::current_exception()));
    }
    // A handler that deleted the control or the painter took this hook with it.
    if (!vivo || !m_control)
        return true;
    if (evento->type() == QEvent::Destroy) {
        m_control->removeEventFilter(this);
        RegistroGanchos().remove(m_control);
        m_control = nullptr;
        Solta();
        return true;
    }
    try {
        HookedWindowProc(evento);
    } catch (...) {
        // A look that fails to paint is a look not painted: the control under it is whole, and
        // a report here would come back at every repaint.
    }
    // Already delivered: the accepted flag the control left tells Qt whether to propagate.
    return true;
}

void THookWindowProc::HookedWindowProc(QEvent *evento)
{
    m_ultimaMensagem = evento->type();
    switch (evento->type()) {
    case QEvent::Paint:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::PaletteChange:
        PaintFlat(evento);
        break;
    case QEvent::KeyPress: {
        auto *tecla = static_cast<QKeyEvent *>(evento);
        if (tecla->key() == Qt::Key_Space && !m_estado.espaco) {
            m_estado.espaco = true;
            PaintFlat(evento);
        }
        break;
    }
    case QEvent::KeyRelease: {
        // Held keys repeat as release-press pairs; only the real release counts.
        auto *tecla = static_cast<QKeyEvent *>(evento);
        if (tecla->key() == Qt::Key_Space && !tecla->isAutoRepeat()) {
            m_estado.espaco = false;
            PaintFlat(evento);
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(evento);
        m_estado.posicaoMouse = mouse->position().toPoint();
        if (!m_control->isEnabled())
            break;
        // Qt holds back enter and leave while a button is held, yet the pressed look must
        // follow the pointer in and out.
        if (m_estado.pressionado) {
            const bool dentro = m_control->rect().contains(m_estado.posicaoMouse);
            if (dentro != m_estado.quente) {
                m_estado.quente = dentro;
                PaintFlat(evento);
                break;
            }
        }
        if (TipoControle(m_control) == TTipoControle::UpDown)
            PaintFlat(evento);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton) {
            m_estado.pressionado = true;
            m_estado.posicaoMouse = static_cast<QMouseEvent *>(evento)->position().toPoint();
            PaintFlat(evento);
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton) {
            m_estado.pressionado = false;
            PaintFlat(evento);
        }
        break;
    case QEvent::EnabledChange:
        if (!m_control->isEnabled())
            m_estado.quente = false;
        PaintFlat(evento);
        break;
    case QEvent::Enter:
        if (m_control->isEnabled()) {
            m_estado.quente = true;
            m_estado.posicaoMouse = static_cast<QEnterEvent *>(evento)->position().toPoint();
            PaintFlat(evento);
        }
        break;
    case QEvent::Leave:
        if (m_control->isEnabled()) {
            m_estado.quente = false;
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
    const TTipoControle tipo = TipoControle(m_control);
    if (tipo == TTipoControle::Nenhum)
        return;
    if (tipo == TTipoControle::Grupo
        && (m_ultimaMensagem == QEvent::MouseMove || m_ultimaMensagem == QEvent::MouseButtonRelease
            || m_ultimaMensagem == QEvent::Enter || m_ultimaMensagem == QEvent::Leave))
        return;
    if (evento->type() == QEvent::Paint)
        Pinta();
    else
        m_control->update();
}

void THookWindowProc::Pinta()
{
    QPainter p(m_control);
    switch (TipoControle(m_control)) {
    case TTipoControle::Edit:
        PaintEditFrame(p, m_control);
        break;
    case TTipoControle::BitBtn:
        PaintBitButton(p, static_cast<QPushButton *>(m_control), m_estado);
        break;
    case TTipoControle::Botao:
        PaintPushButton(p, static_cast<QPushButton *>(m_control), m_estado);
        break;
    case TTipoControle::Radio:
        PaintRadioButton(p, static_cast<QRadioButton *>(m_control), m_estado);
        break;
    case TTipoControle::Grupo:
        PaintGroupBox(p, static_cast<QGroupBox *>(m_control), m_estado);
        break;
    case TTipoControle::UpDown:
        PaintUpDown(p, m_control, m_estado);
        break;
    case TTipoControle::Gauge:
        PaintGauge(p, m_control);
        break;
    case TTipoControle::Combo:
        PaintComboButton(p, m_control, m_estado);
        break;
    case TTipoControle::Nenhum:
        break;
    }
}
