#include "controls/qttraybackend.h"

#include "controls/itemstatusnotifier.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>
#include <utility>

std::vector<quintptr> AtividadesDaAtivacao(QSystemTrayIcon::ActivationReason motivo, bool statusNotifier, bool seguida)
{
    using namespace AtividadeBandeja;
    switch (motivo) {
    case QSystemTrayIcon::Trigger:
        if (statusNotifier && !seguida)
            return { LeftDown, LeftUp, LeftDblClk, LeftUp };
        return { LeftDown, LeftUp };
    case QSystemTrayIcon::DoubleClick:
        return { LeftDblClk, LeftUp };
    case QSystemTrayIcon::Context:
        return { RightDown, RightUp };
    case QSystemTrayIcon::MiddleClick:
        return { MiddleDown, MiddleUp };
    case QSystemTrayIcon::Unknown:
        break;
    }
    return {};
}

namespace {

const QString ServicoVigia = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString CaminhoVigia = QStringLiteral("/StatusNotifierWatcher");

bool ServidorX()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

// Whether a panel's StatusNotifier host is registered on the session bus right now.
// Whether a StatusNotifier watcher has a panel's host; none when the watcher did not answer.
std::optional<bool> HospedeStatusNotifier()
{
    QDBusConnection sessao = QDBusConnection::sessionBus();
    if (!sessao.isConnected() || !sessao.interface()->isServiceRegistered(ServicoVigia))
        return false;
    QDBusMessage pedido = QDBusMessage::createMethodCall(
        ServicoVigia, CaminhoVigia, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    pedido << ServicoVigia << QStringLiteral("IsStatusNotifierHostRegistered");
    // A frozen watcher must not freeze the program: 2 s, then no host.
    const QDBusMessage resposta = sessao.call(pedido, QDBus::Block, 2000);
    if (resposta.type() != QDBusMessage::ReplyMessage || resposta.arguments().isEmpty())
        return std::nullopt;
    return qvariant_cast<QDBusVariant>(resposta.arguments().constFirst()).variant().toBool();
}

bool BandejaXEmbed()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *conexao = x11 ? x11->connection() : nullptr;
    if (!conexao)
        return false;
    // The tray of the screen the program runs on (DISPLAY's ".n", 0 without one).
    const QByteArray display = qgetenv("DISPLAY");
    const qsizetype ponto = display.lastIndexOf('.');
    const QByteArray tela = ponto > display.lastIndexOf(':') ? display.mid(ponto + 1) : QByteArray("0");
    const QByteArray nome = "_NET_SYSTEM_TRAY_S" + tela;
    xcb_intern_atom_reply_t *atomo = xcb_intern_atom_reply(
        conexao, xcb_intern_atom(conexao, 0, static_cast<uint16_t>(nome.size()), nome.constData()), nullptr);
    if (!atomo)
        return false;
    xcb_get_selection_owner_reply_t *dono
        = xcb_get_selection_owner_reply(conexao, xcb_get_selection_owner(conexao, atomo->atom), nullptr);
    const bool ha = dono && dono->owner != XCB_NONE;
    std::free(dono);
    std::free(atomo);
    return ha;
}

// A panel that comes up after the program may start its XEmbed tray a moment before its
// StatusNotifier host (lxqt-panel does): this long the program waits for the host before the
// icon goes to the tray (where a host that comes later still takes it).
constexpr int CarenciaHospede = 3000;

} // namespace

TQtTrayBackend::TQtTrayBackend(QWidget *janelaPrincipal)
    : m_janela(janelaPrincipal)
{
    if (m_janela)
        m_janela->installEventFilter(this);
}

TQtTrayBackend::~TQtTrayBackend()
{
    VigiaX(false);
    OuveSessao(false);
    delete m_icone;
    delete m_item;
}

void TQtTrayBackend::Adiciona(const TNotifyIconData &registro)
{
    m_pedido = true;
    m_figura = registro.hIcon;
    m_dica = registro.szTip;
    MostraSePuder();
}

void TQtTrayBackend::Modifica(const TNotifyIconData &registro)
{
    m_figura = registro.hIcon;
    m_dica = registro.szTip;
    if (m_icone) {
        m_icone->setIcon(m_figura);
        m_icone->setToolTip(m_dica);
    }
    if (m_item) {
        m_item->setIcone(m_figura);
        m_item->setDica(m_dica);
    }
}

void TQtTrayBackend::Remove(const TNotifyIconData &)
{
    m_pedido = false;
    VigiaX(false);
    OuveSessao(false);
    TiraDaBandeja();
    TiraDoPainel();
}

void TQtTrayBackend::PublicaMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_item)
        m_item->setMenu(menu);
}

void TQtTrayBackend::MostraSePuder()
{
    if (!m_pedido)
        return;
    OuveSessao(true);
    const bool haviaIcone = m_icone || m_item;
    if (TemHospede() && VaiParaPainel()) {
        VigiaX(false);
    } else if (BandejaXEmbedPronta()) {
        VaiParaBandeja();
        VigiaX(false);
    } else {
        // A program started at logon may be up before the panel: it waits for a notification
        // area to appear instead of giving up on the icon. An item whose panel went stays on
        // the bus for the next one.
        VigiaX(true);
    }
    // A window minimised while there was nowhere to go can go to the tray now.
    if (!haviaIcone && (m_icone || m_item) && m_janela && m_janela->isVisible() && m_minimizacaoPendente)
        AvisaMinimizado();
}

bool TQtTrayBackend::VaiParaPainel()
{
    TiraDaBandeja();
    if (m_item)
        return true;
    m_item = new TItemStatusNotifier(this);
    m_item->setIcone(m_figura);
    m_item->setDica(m_dica);
    m_item->setMenu(m_menu);
    m_item->AoAtivar
        = [this](QSystemTrayIcon::ActivationReason motivo, QPoint ponto) { AtivadoNoPainel(motivo, ponto); };
    if (m_item->Publica())
        return true;
    delete m_item;
    return false;
}

void TQtTrayBackend::VaiParaBandeja()
{
    TiraDoPainel();
    if (m_icone)
        return;
    // Qt settles once per run, at its first tray icon, whether its icons go to a StatusNotifier
    // panel or to an XEmbed tray; it is asked only now, with no host on the bus, so it settles
    // on the XEmbed tray the program needs it for.
    m_icone = new QSystemTrayIcon(m_figura, this);
    m_icone->setToolTip(m_dica);
    // No menu is given: Qt would pop it up on its own at a right click, before the component
    // sees the press.
    connect(m_icone, &QSystemTrayIcon::activated, this, &TQtTrayBackend::Ativado);
    m_icone->show();
}

void TQtTrayBackend::TiraDaBandeja()
{
    if (!m_icone)
        return;
    m_icone->hide();
    m_icone->deleteLater();
    m_icone = nullptr;
}

void TQtTrayBackend::TiraDoPainel()
{
    if (!m_item)
        return;
    // Off the bus now; the object goes once the call being answered (if any) is done.
    m_item->Retira();
    m_item->deleteLater();
    m_item = nullptr;
}

void TQtTrayBackend::VigiaX(bool ligado)
{
    if (m_vigiandoX == ligado || !QCoreApplication::instance() || !ServidorX())
        return;
    m_vigiandoX = ligado;
    if (ligado)
        QCoreApplication::instance()->installNativeEventFilter(this);
    else
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void TQtTrayBackend::OuveSessao(bool ligado)
{
    if (m_ouvindoSessao == ligado || !QCoreApplication::instance())
        return;
    m_ouvindoSessao = ligado;
    m_hospede.reset();
    // A panel announces its host on the session bus, with or without X; a watcher that goes
    // (a panel that ends or restarts) takes its host with it.
    QDBusConnection sessao = QDBusConnection::sessionBus();
    for (const QString &sinal :
        { QStringLiteral("StatusNotifierHostRegistered"), QStringLiteral("StatusNotifierHostUnregistered") }) {
        if (ligado)
            sessao.connect(QString(), CaminhoVigia, ServicoVigia, sinal, this, SLOT(PainelMudou()));
        else
            sessao.disconnect(QString(), CaminhoVigia, ServicoVigia, sinal, this, SLOT(PainelMudou()));
    }
    delete m_vigiaPainel;
    m_vigiaPainel = nullptr;
    if (ligado) {
        m_vigiaPainel = new QDBusServiceWatcher(ServicoVigia, sessao, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_vigiaPainel, &QDBusServiceWatcher::serviceOwnerChanged, this, &TQtTrayBackend::PainelMudou);
    }
}

bool TQtTrayBackend::TemHospede()
{
    if (m_hospede)
        return *m_hospede;
    const std::optional<bool> resposta = HospedeStatusNotifier();
    // Kept only while the session bus is heard: then every change comes as a signal.
    if (m_ouvindoSessao)
        m_hospede = resposta;
    return resposta.value_or(false);
}

void TQtTrayBackend::PainelMudou()
{
    m_hospede.reset();
    QTimer::singleShot(0, this, &TQtTrayBackend::MostraSePuder);
}

bool TQtTrayBackend::nativeEventFilter(const QByteArray &tipo, void *mensagem, qintptr *)
{
    // A notification area on X announces itself with a client message to the root window
    // (MANAGER, for the _NET_SYSTEM_TRAY_S<n> selection). Client messages are rare, so any of
    // them is reason enough to look again; the look waits until Qt has seen the message too.
    // Nothing wakes the program while it waits.
    constexpr quint8 ClientMessage = 33; // X protocol event code; the high bit marks sent events
    if (tipo == "xcb_generic_event_t" && (static_cast<const quint8 *>(mensagem)[0] & 0x7f) == ClientMessage)
        QTimer::singleShot(0, this, &TQtTrayBackend::MostraSePuder);
    return false;
}

void TQtTrayBackend::Ativado(QSystemTrayIcon::ActivationReason motivo)
{
    Entrega(AtividadesDaAtivacao(motivo, false, false));
}

void TQtTrayBackend::AtivadoNoPainel(QSystemTrayIcon::ActivationReason motivo, QPoint ponto)
{
    bool seguida = false;
    if (motivo == QSystemTrayIcon::Trigger) {
        seguida = m_ultimaAtivacao.isValid() && !m_ultimaAtivacao.hasExpired(QApplication::doubleClickInterval());
        m_ultimaAtivacao.start();
    }
    // The panel's D-Bus call is waiting for this handler to return: it gets its answer first,
    // and what the activity does (a menu above all) comes after.
    QTimer::singleShot(0, this, [this, ponto, atividades = AtividadesDaAtivacao(motivo, true, seguida)] {
        QPointer<TQtTrayBackend> vivo(this);
        const std::optional<QPoint> antes = std::exchange(m_pontoDoPainel, ponto);
        Entrega(atividades);
        if (vivo)
            m_pontoDoPainel = antes;
    });
}

void TQtTrayBackend::Entrega(const std::vector<quintptr> &atividades)
{
    QPointer<TQtTrayBackend> vivo(this);
    for (quintptr atividade : atividades) {
        if (!vivo || !AoAtividade)
            return;
        AoAtividade(atividade);
    }
}

QPoint TQtTrayBackend::PosicaoCursor()
{
    // On X a panel's call carries the point on the screen it was made at; without X a program
    // knows no screen coordinates, and panels send none worth having.
    if (m_pontoDoPainel && ServidorX())
        return *m_pontoDoPainel;
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
    // Whether the main window had the user's input before it was brought forward.
    const bool sobreJanela = m_janela && m_janela->isVisible() && m_janela->isActiveWindow();
    if (m_janela && m_janela->isVisible()) {
        m_janela->raise();
        m_janela->activateWindow();
    }
    if (!m_pontoDoPainel) {
        menu->exec(posicao);
        return;
    }
    // A StatusNotifier panel asked over D-Bus: the menu pops up and the program goes on.
    // Without X a popup needs a parent surface that has the user's input, and a call from a
    // panel brings none: the compositor would map the menu as a window of its own, or not at
    // all. Only over the main window in use can it show; elsewhere the panel's own drawing of
    // the menu (over dbusmenu) is the menu.
    if (ServidorX())
        menu->popup(posicao);
    else if (sobreJanela)
        menu->popup(m_janela->mapToGlobal(m_janela->rect().center()));
}

void TQtTrayBackend::OcultaAplicacao()
{
    MostraSePuder();
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
    return TemHospede() || BandejaXEmbedPronta();
}

bool TQtTrayBackend::BandejaXEmbedPronta()
{
    if (!ServidorX())
        return false;
    if (!BandejaXEmbed()) {
        m_semArea = true;
        return false;
    }
    // A tray that came after the program (a panel starting at logon) may be followed by the
    // same panel's host in a moment: the icon waits for it a while rather than flash in the tray.
    if (m_semArea && !m_icone && !m_item && QDBusConnection::sessionBus().isConnected()) {
        if (!m_soXEmbed.isValid()) {
            m_soXEmbed.start();
            QTimer::singleShot(CarenciaHospede, this, &TQtTrayBackend::MostraSePuder);
        }
        if (!m_soXEmbed.hasExpired(CarenciaHospede))
            return false;
    }
    return true;
}

bool TQtTrayBackend::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto != m_janela)
        return QObject::eventFilter(objeto, evento);
    if (evento->type() == QEvent::Show)
        AcompanhaJanelaNativa();
    if (evento->type() == QEvent::WindowStateChange && m_janela->isMinimized()) {
        MinimizacaoPedida();
    } else if (evento->type() == QEvent::WindowStateChange && ServidorX()) {
        // X reports the user's un-minimising; Wayland reports none.
        m_minimizacaoPendente = false;
    } else if (evento->type() == QEvent::Hide && !evento->spontaneous()) {
        // Hidden by the program (to the tray, or closing); a minimised window gets a hide of
        // its own from the desktop.
        m_minimizacaoPendente = false;
    }
    return QObject::eventFilter(objeto, evento);
}

void TQtTrayBackend::MinimizacaoPedida()
{
    // Wayland forgets the minimised state at the compositor's next word about the window,
    // so the request is remembered until the window leaves the screen.
    m_minimizacaoPendente = true;
    // showMinimized() makes the window visible again right after changing its state, so
    // hiding it has to wait until the minimise is over.
    QTimer::singleShot(0, this, [this] {
        if (m_janela && m_janela->isVisible() && m_minimizacaoPendente)
            AvisaMinimizado();
    });
}

void TQtTrayBackend::AcompanhaJanelaNativa()
{
    QWindow *nativa = m_janela->windowHandle();
    if (!nativa || nativa == m_janelaNativa)
        return;
    m_janelaNativa = nativa;
    // The minimise button of the title bar Qt draws itself under Wayland (on GNOME) minimises
    // the native window and tells the compositor, never the widget: only the native window's
    // state shows it. X tells the widget as well (just after this signal).
    if (ServidorX())
        return;
    connect(nativa, &QWindow::windowStateChanged, this, [this](Qt::WindowState estado) {
        if (estado == Qt::WindowMinimized && m_janela && !m_janela->isMinimized())
            MinimizacaoPedida();
    });
}

void TQtTrayBackend::AvisaMinimizado()
{
    if (AoMinimizar)
        AoMinimizar();
}
