#pragma once

#include <QByteArray>
#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QIcon>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QSystemTrayIcon>

#include <functional>

class QDBusServiceWatcher;
class QMenu;
class TMenuDBus;

// One picture of the icon as a StatusNotifier panel takes it: its size and its ARGB32 pixels
// in network byte order. And the tooltip: an icon name, pictures, a title and a text.
struct PixmapDBus
{
    int largura = 0;
    int altura = 0;
    QByteArray pixels;
};
struct DicaDBus
{
    QString nomeIcone;
    QList<PixmapDBus> pixmaps;
    QString titulo;
    QString texto;
};
Q_DECLARE_METATYPE(PixmapDBus)
Q_DECLARE_METATYPE(DicaDBus)

QDBusArgument &operator<<(QDBusArgument &argumento, const PixmapDBus &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argumento, PixmapDBus &pixmap);
QDBusArgument &operator<<(QDBusArgument &argumento, const DicaDBus &dica);
const QDBusArgument &operator>>(const QDBusArgument &argumento, DicaDBus &dica);

// A picture's pixels as a StatusNotifier item sends them: row after row, each pixel's alpha,
// red, green and blue bytes in that order (not premultiplied), whatever the machine's order.
QByteArray PixelsDeRede(const QImage &imagem);
// The icon at the sizes panels draw it (none larger than 64 pixels).
QList<PixmapDBus> PixmapsDoIcone(const QIcon &icone);

// The program's icon as a StatusNotifier item of its own (org.kde.StatusNotifierItem) with its
// menu (com.canonical.dbusmenu), on the session bus and announced to the panels' watcher, again
// whenever a watcher starts. A panel's activations come out as Qt's activation reasons with
// the point the panel gives.
class TItemStatusNotifier : public QObject
{
    Q_OBJECT
public:
    explicit TItemStatusNotifier(QObject *parent = nullptr);
    ~TItemStatusNotifier() override;

    // Takes the item's bus name, exports it and announces it; false when the bus refuses.
    bool Publica();
    // Takes the item off the bus at once (the object itself may go later).
    void Retira();
    QString Servico() const { return m_servico; }

    void setIcone(const QIcon &icone);
    void setDica(const QString &dica);
    void setMenu(QMenu *menu);

    QList<PixmapDBus> Pixmaps() const { return m_pixmaps; }
    QString Dica() const { return m_dica; }

    // A panel's click: Trigger (Activate), MiddleClick (SecondaryActivate), Context
    // (ContextMenu), with the point the panel sent. Called while the panel waits for its answer.
    std::function<void(QSystemTrayIcon::ActivationReason motivo, QPoint ponto)> AoAtivar;

signals:
    void IconeMudou();
    void DicaMudou();

private:
    void AnunciaAoVigia();

    QString m_servico;
    bool m_publicado = false;
    QList<PixmapDBus> m_pixmaps;
    QString m_dica;
    TMenuDBus *m_menu;
    QDBusServiceWatcher *m_vigia;
};

// org.kde.StatusNotifierItem on the bus, answered by the item above.
class TAdaptadorStatusNotifier : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ Category)
    Q_PROPERTY(QString Id READ Id)
    Q_PROPERTY(QString Title READ Title)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(int WindowId READ WindowId)
    Q_PROPERTY(QString IconThemePath READ Vazio)
    Q_PROPERTY(QString IconName READ Vazio)
    Q_PROPERTY(QList<PixmapDBus> IconPixmap READ IconPixmap)
    Q_PROPERTY(QString OverlayIconName READ Vazio)
    Q_PROPERTY(QList<PixmapDBus> OverlayIconPixmap READ Nenhum)
    Q_PROPERTY(QString AttentionIconName READ Vazio)
    Q_PROPERTY(QList<PixmapDBus> AttentionIconPixmap READ Nenhum)
    Q_PROPERTY(QString AttentionMovieName READ Vazio)
    Q_PROPERTY(DicaDBus ToolTip READ ToolTip)
    Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ Menu)
public:
    explicit TAdaptadorStatusNotifier(TItemStatusNotifier *item);

    QString Category() const { return QStringLiteral("ApplicationStatus"); }
    QString Id() const;
    QString Title() const;
    QString Status() const { return QStringLiteral("Active"); }
    int WindowId() const { return 0; }
    QString Vazio() const { return {}; }
    QList<PixmapDBus> IconPixmap() const { return m_item->Pixmaps(); }
    QList<PixmapDBus> Nenhum() const { return {}; }
    DicaDBus ToolTip() const;
    bool ItemIsMenu() const { return false; }
    QDBusObjectPath Menu() const;

public slots:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString &orientation);

signals:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString &status);

private:
    void Ativa(QSystemTrayIcon::ActivationReason motivo, int x, int y);

    TItemStatusNotifier *m_item;
};
