#include "controls/trayicon.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindow>

QString CortaDica(const QString &dica)
{
    int fim = 0;
    for (int caracteres = 0; fim < dica.size() && caracteres < TNotifyIconData::TamanhoDica - 1; ++caracteres)
        fim += dica.at(fim).isHighSurrogate() && fim + 1 < dica.size() ? 2 : 1;
    return dica.left(fim);
}

// ---------------------------------------------------------------------------------------------
// The real notification area

TQtTrayBackend::TQtTrayBackend(QWidget *janelaPrincipal)
    : m_janela(janelaPrincipal)
{
    if (m_janela)
        m_janela->installEventFilter(this);
}

TQtTrayBackend::~TQtTrayBackend()
{
    vigia(false);
    delete m_icone;
}

void TQtTrayBackend::Adiciona(const TNotifyIconData &registro)
{
    m_pedido = true;
    m_figura = registro.hIcon;
    m_dica = registro.szTip;
    mostraSePuder();
}

void TQtTrayBackend::Modifica(const TNotifyIconData &registro)
{
    m_figura = registro.hIcon;
    m_dica = registro.szTip;
    if (m_icone) {
        m_icone->setIcon(m_figura);
        m_icone->setToolTip(m_dica);
    }
}

void TQtTrayBackend::Remove(const TNotifyIconData &)
{
    m_pedido = false;
    vigia(false);
    if (m_icone) {
        m_icone->hide();
        m_icone->deleteLater();
        m_icone = nullptr;
    }
}

void TQtTrayBackend::mostraSePuder()
{
    if (!m_pedido || m_icone)
        return;
    // A program started at logon may be up before the panel: wait for a notification area to
    // appear instead of giving up on the icon.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        vigia(true);
        return;
    }
    vigia(false);
    m_icone = new QSystemTrayIcon(m_figura, this);
    m_icone->setToolTip(m_dica);
    connect(m_icone, &QSystemTrayIcon::activated, this, &TQtTrayBackend::ativado);
    m_icone->show();
    // A window minimised while there was nowhere to go can go to the tray now.
    if (m_janela && m_janela->isVisible() && m_janela->isMinimized())
        avisaMinimizado();
}

void TQtTrayBackend::vigia(bool ligado)
{
    if (m_vigiando == ligado || !QCoreApplication::instance())
        return;
    m_vigiando = ligado;
    if (ligado)
        QCoreApplication::instance()->installNativeEventFilter(this);
    else
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool TQtTrayBackend::nativeEventFilter(const QByteArray &tipo, void *mensagem, qintptr *)
{
    // A notification area on X announces itself with a client message to the root window
    // (MANAGER, for the _NET_SYSTEM_TRAY_S<n> selection). Client messages are rare, so any of
    // them is reason enough to look again; the look waits until Qt has seen the message too.
    // Nothing wakes the program while it waits. Elsewhere Qt settles once per run whether a
    // notification area exists, so there is nothing to watch for.
    constexpr quint8 ClientMessage = 33; // X protocol event code; the high bit marks sent events
    if (tipo == "xcb_generic_event_t" && (static_cast<const quint8 *>(mensagem)[0] & 0x7f) == ClientMessage)
        QTimer::singleShot(0, this, &TQtTrayBackend::mostraSePuder);
    return false;
}

void TQtTrayBackend::ativado(QSystemTrayIcon::ActivationReason motivo)
{
    using namespace AtividadeBandeja;
    QPointer<TQtTrayBackend> vivo(this);
    auto par = [&](quintptr pressiona, quintptr solta) {
        if (AoAtividade)
            AoAtividade(pressiona);
        if (vivo && AoAtividade)
            AoAtividade(solta);
    };
    switch (motivo) {
    case QSystemTrayIcon::Trigger:
        par(LeftDown, LeftUp);
        break;
    case QSystemTrayIcon::DoubleClick:
        par(LeftDblClk, LeftUp);
        break;
    case QSystemTrayIcon::Context:
        par(RightDown, RightUp);
        break;
    case QSystemTrayIcon::MiddleClick:
        par(MiddleDown, MiddleUp);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

QPoint TQtTrayBackend::PosicaoCursor()
{
    return QCursor::pos();
}

TShiftState TQtTrayBackend::EstadoTeclado()
{
    const Qt::KeyboardModifiers teclas = QGuiApplication::queryKeyboardModifiers();
    TShiftState estado = 0;
    if (teclas & Qt::ShiftModifier)
        estado |= ssShift;
    if (teclas & Qt::ControlModifier)
        estado |= ssCtrl;
    if (teclas & Qt::AltModifier)
        estado |= ssAlt;
    return estado;
}

void TQtTrayBackend::ProcessaMensagens()
{
    QCoreApplication::processEvents();
}

void TQtTrayBackend::MostraMenu(QMenu *menu, const QPoint &posicao)
{
    if (m_janela && m_janela->isVisible()) {
        m_janela->raise();
        m_janela->activateWindow();
    }
    menu->exec(posicao);
}

void TQtTrayBackend::OcultaAplicacao()
{
    mostraSePuder();
    if (!m_janela)
        return;
    // The window leaves the minimised state before it goes (un-minimising a hidden window would
    // map it behind Qt's back), and its native window goes with it: the X window keeps believing
    // it is minimised until a window manager says otherwise, and without one it would come back
    // minimised and vanish again. A fresh one is made when the window is shown.
    m_janela->setWindowState(m_janela->windowState() & ~Qt::WindowMinimized);
    m_janela->hide();
    if (QWindow *nativa = m_janela->windowHandle())
        nativa->destroy();
}

bool TQtTrayBackend::AreaDisponivel()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TQtTrayBackend::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == m_janela && evento->type() == QEvent::WindowStateChange && m_janela->isMinimized()) {
        // showMinimized() makes the window visible again right after changing its state, so
        // hiding it has to wait until the minimise is over.
        QTimer::singleShot(0, this, [this] {
            if (m_janela && m_janela->isVisible() && m_janela->isMinimized())
                avisaMinimizado();
        });
    }
    return QObject::eventFilter(objeto, evento);
}

void TQtTrayBackend::avisaMinimizado()
{
    if (AoMinimizar)
        AoMinimizar();
}

// ---------------------------------------------------------------------------------------------
// The component

TBaseComponent::TBaseComponent(QObject *owner)
    : QObject(owner)
{
}

namespace {

QWidget *janelaDe(QObject *owner)
{
    for (QObject *o = owner; o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<QWidget *>(o)->window();
    return nullptr;
}

} // namespace

TCustomTrayIcon::TCustomTrayIcon(QObject *owner, std::unique_ptr<TTrayBackend> backend)
    : TBaseComponent(owner)
    , m_backend(std::move(backend))
{
    if (!m_backend)
        m_backend = std::make_unique<TQtTrayBackend>(janelaDe(owner));
    m_registro.hWnd = this;
    liga();
}

TCustomTrayIcon::~TCustomTrayIcon()
{
    setVisible(false);
}

void TCustomTrayIcon::liga()
{
    m_backend->AoAtividade = [this](quintptr atividade) { WndProc(WM_TRAYNOTIFY, atividade); };
    m_backend->AoMinimizar = [this] { Minimizado(); };
}

void TCustomTrayIcon::setBackend(std::unique_ptr<TTrayBackend> backend)
{
    if (!backend)
        return;
    m_backend = std::move(backend);
    liga();
    if (m_adicionado)
        m_backend->Adiciona(m_registro);
}

void TCustomTrayIcon::setIcon(const QIcon &icone)
{
    // Like a freshly loaded picture, every assignment is passed on to the notification area.
    m_icon = icone;
    Atualiza();
}

void TCustomTrayIcon::setVisible(bool valor)
{
    if (m_visible == valor)
        return;
    m_visible = valor;
    Atualiza();
}

void TCustomTrayIcon::setHint(const QString &texto)
{
    if (m_hint == texto)
        return;
    m_hint = texto;
    AtualizaDica();
}

void TCustomTrayIcon::setShowHint(bool valor)
{
    if (m_showHint == valor)
        return;
    m_showHint = valor;
    AtualizaDica();
}

void TCustomTrayIcon::Atualiza()
{
    // Without a picture there is nothing to show, and nothing to take away either.
    if (m_icon.isNull())
        return;
    if (!m_visible) {
        if (m_adicionado) {
            m_backend->Remove(m_registro);
            m_adicionado = false;
        }
        return;
    }
    m_registro.hIcon = m_icon;
    if (m_adicionado) {
        m_backend->Modifica(m_registro);
    } else {
        m_backend->Adiciona(m_registro);
        m_adicionado = true;
    }
}

void TCustomTrayIcon::AtualizaDica()
{
    m_registro.szTip = !m_hint.isEmpty() && m_showHint ? CortaDica(m_hint) : QString();
    Atualiza();
}

void TCustomTrayIcon::WndProc(unsigned mensagem, quintptr lParam)
{
    using namespace AtividadeBandeja;
    if (mensagem != WM_TRAYNOTIFY || !m_enabled)
        return;
    auto cursor = [this] { return m_backend->PosicaoCursor(); };
    switch (lParam) {
    case Move: {
        const QPoint p = cursor();
        MouseMove(m_backend->EstadoTeclado(), p.x(), p.y());
        break;
    }
    case LeftDown: {
        const QPoint p = cursor();
        MouseDown(mbLeft, m_backend->EstadoTeclado() | ssLeft, p.x(), p.y());
        m_clicado = true;
        if (m_leftBtnPopup) {
            m_clicado = false;
            MostraPopup();
        }
        break;
    }
    case LeftUp: {
        if (m_clicado) {
            m_clicado = false;
            Click();
        }
        const QPoint p = cursor();
        MouseUp(mbLeft, m_backend->EstadoTeclado() | ssLeft, p.x(), p.y());
        break;
    }
    case RightDown: {
        const QPoint p = cursor();
        MouseDown(mbRight, m_backend->EstadoTeclado() | ssRight, p.x(), p.y());
        MostraPopup();
        break;
    }
    case RightUp: {
        const QPoint p = cursor();
        MouseUp(mbRight, m_backend->EstadoTeclado() | ssRight, p.x(), p.y());
        break;
    }
    case MiddleDown: {
        const QPoint p = cursor();
        MouseDown(mbMiddle, m_backend->EstadoTeclado() | ssMiddle, p.x(), p.y());
        break;
    }
    case MiddleUp: {
        const QPoint p = cursor();
        MouseUp(mbMiddle, m_backend->EstadoTeclado() | ssMiddle, p.x(), p.y());
        break;
    }
    case LeftDblClk:
    case RightDblClk:
    case MiddleDblClk:
        DblClick();
        break;
    default:
        break;
    }
}

void TCustomTrayIcon::MostraPopup()
{
    if (!m_popupMenu)
        return;
    const QPoint posicao = m_backend->PosicaoCursor();
    m_backend->ProcessaMensagens();
    // The menu may have gone while the pending messages ran.
    if (m_popupMenu)
        m_backend->MostraMenu(m_popupMenu, posicao);
}

void TCustomTrayIcon::Minimizado()
{
    if (!m_hideTaskBtn)
        return;
    // Hidden with no notification area, the window could never be brought back: then it
    // just stays minimised in the taskbar, and moves to the tray once an area appears.
    if (m_backend->AreaDisponivel())
        m_backend->OcultaAplicacao();
    setVisible(true);
}

void TCustomTrayIcon::Click()
{
    if (OnClick)
        OnClick(this);
}

void TCustomTrayIcon::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomTrayIcon::MouseDown(TMouseButton botao, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, botao, shift, x, y);
}

void TCustomTrayIcon::MouseUp(TMouseButton botao, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, botao, shift, x, y);
}

void TCustomTrayIcon::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}
