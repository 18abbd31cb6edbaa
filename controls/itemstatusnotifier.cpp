#include "controls/itemstatusnotifier.h"

#include "controls/estruturadbus.h"
#include "controls/menudbus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusServiceWatcher>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QtEndian>

namespace {

const QString ServicoVigia = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString CaminhoItem = QStringLiteral("/StatusNotifierItem");
const QString CaminhoMenu = QStringLiteral("/MenuBar");

} // namespace

QDBusArgument &operator<<(QDBusArgument &argumento, const PixmapDBus &pixmap)
{
    return GravaEstrutura(argumento, pixmap.largura, pixmap.altura, pixmap.pixels);
}

const QDBusArgument &operator>>(const QDBusArgument &argumento, PixmapDBus &pixmap)
{
    return LeEstrutura(argumento, pixmap.largura, pixmap.altura, pixmap.pixels);
}

QDBusArgument &operator<<(QDBusArgument &argumento, const DicaDBus &dica)
{
    return GravaEstrutura(argumento, dica.nomeIcone, dica.pixmaps, dica.titulo, dica.texto);
}

const QDBusArgument &operator>>(const QDBusArgument &argumento, DicaDBus &dica)
{
    return LeEstrutura(argumento, dica.nomeIcone, dica.pixmaps, dica.titulo, dica.texto);
}

QByteArray PixelsDeRede(const QImage &imagem)
{
    const QImage argb = imagem.convertToFormat(QImage::Format_ARGB32);
    QByteArray pixels(qsizetype(argb.width()) * argb.height() * 4, Qt::Uninitialized);
    auto *saida = reinterpret_cast<uchar *>(pixels.data());
    for (int y = 0; y < argb.height(); ++y) {
        const auto *linha = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x, saida += 4)
            qToBigEndian<quint32>(linha[x], saida);
    }
    return pixels;
}

QList<PixmapDBus> PixmapsDoIcone(const QIcon &icone)
{
    QList<PixmapDBus> pixmaps;
    if (icone.isNull())
        return pixmaps;
    // The sizes panels draw at; a larger picture would only weigh on every call.
    for (const int lado : { 16, 22, 24, 32, 48, 64 }) {
        const QImage imagem = icone.pixmap(QSize(lado, lado)).toImage();
        if (!imagem.isNull())
            pixmaps << PixmapDBus { imagem.width(), imagem.height(), PixelsDeRede(imagem) };
    }
    return pixmaps;
}

TItemStatusNotifier::TItemStatusNotifier(QObject *parent)
    : QObject(parent)
    , m_menu(new TMenuDBus(this))
    , m_vigia(new QDBusServiceWatcher(
          ServicoVigia, QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForRegistration, this))
{
    static const bool registrados = [] {
        qDBusRegisterMetaType<PixmapDBus>();
        qDBusRegisterMetaType<QList<PixmapDBus>>();
        qDBusRegisterMetaType<DicaDBus>();
        return true;
    }();
    Q_UNUSED(registrados);
    // Each item its own name: a watcher still holding an item that went must never take a new
    // one for it.
    static int itens = 0;
    m_servico = QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(QCoreApplication::applicationPid()).arg(++itens);
    new TAdaptadorStatusNotifier(this);
    new TAdaptadorDBusMenu(m_menu);
    // A watcher that restarts (a panel restarted) knows no items: it hears of this one again.
    connect(m_vigia, &QDBusServiceWatcher::serviceRegistered, this, &TItemStatusNotifier::AnunciaAoVigia);
}

TItemStatusNotifier::~TItemStatusNotifier()
{
    Retira();
}

void TItemStatusNotifier::Retira()
{
    if (!m_publicado)
        return;
    m_publicado = false;
    // The name goes last: the watcher forgets the item when its name leaves the bus.
    QDBusConnection sessao = QDBusConnection::sessionBus();
    sessao.unregisterObject(CaminhoMenu);
    sessao.unregisterObject(CaminhoItem);
    sessao.unregisterService(m_servico);
}

bool TItemStatusNotifier::Publica()
{
    if (m_publicado)
        return true;
    QDBusConnection sessao = QDBusConnection::sessionBus();
    if (!sessao.isConnected())
        return false;
    if (!sessao.registerObject(CaminhoItem, this, QDBusConnection::ExportAdaptors)
        || !sessao.registerObject(CaminhoMenu, m_menu, QDBusConnection::ExportAdaptors)) {
        sessao.unregisterObject(CaminhoItem);
        return false;
    }
    if (!sessao.registerService(m_servico)) {
        sessao.unregisterObject(CaminhoMenu);
        sessao.unregisterObject(CaminhoItem);
        return false;
    }
    m_publicado = true;
    AnunciaAoVigia();
    return true;
}

void TItemStatusNotifier::AnunciaAoVigia()
{
    if (!m_publicado)
        return;
    // No answer is waited for: a frozen watcher must not freeze the program.
    QDBusMessage pedido = QDBusMessage::createMethodCall(ServicoVigia, QStringLiteral("/StatusNotifierWatcher"),
        ServicoVigia, QStringLiteral("RegisterStatusNotifierItem"));
    pedido << m_servico;
    QDBusConnection::sessionBus().send(pedido);
}

void TItemStatusNotifier::setIcone(const QIcon &icone)
{
    m_pixmaps = PixmapsDoIcone(icone);
    emit IconeMudou();
}

void TItemStatusNotifier::setDica(const QString &dica)
{
    if (m_dica == dica)
        return;
    m_dica = dica;
    emit DicaMudou();
}

void TItemStatusNotifier::setMenu(QMenu *menu)
{
    m_menu->setMenu(menu);
}

TAdaptadorStatusNotifier::TAdaptadorStatusNotifier(TItemStatusNotifier *item)
    : QDBusAbstractAdaptor(item)
    , m_item(item)
{
    setAutoRelaySignals(false);
    connect(item, &TItemStatusNotifier::IconeMudou, this, [this] {
        emit NewIcon();
        emit NewToolTip();
    });
    connect(item, &TItemStatusNotifier::DicaMudou, this, &TAdaptadorStatusNotifier::NewToolTip);
}

QString TAdaptadorStatusNotifier::Id() const
{
    // Unique for the program and the same from run to run.
    return QCoreApplication::applicationName();
}

QString TAdaptadorStatusNotifier::Title() const
{
    return QGuiApplication::applicationDisplayName();
}

DicaDBus TAdaptadorStatusNotifier::ToolTip() const
{
    return DicaDBus { QString(), m_item->Pixmaps(), m_item->Dica(), QString() };
}

QDBusObjectPath TAdaptadorStatusNotifier::Menu() const
{
    return QDBusObjectPath(CaminhoMenu);
}

void TAdaptadorStatusNotifier::Activate(int x, int y)
{
    Ativa(QSystemTrayIcon::Trigger, x, y);
}

void TAdaptadorStatusNotifier::SecondaryActivate(int x, int y)
{
    Ativa(QSystemTrayIcon::MiddleClick, x, y);
}

void TAdaptadorStatusNotifier::ContextMenu(int x, int y)
{
    Ativa(QSystemTrayIcon::Context, x, y);
}

void TAdaptadorStatusNotifier::Scroll(int, const QString &)
{
    // The icon has nothing to scroll.
}

void TAdaptadorStatusNotifier::Ativa(QSystemTrayIcon::ActivationReason motivo, int x, int y)
{
    if (m_item->AoAtivar)
        m_item->AoAtivar(motivo, QPoint(x, y));
}
