#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusVariant>
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class QAction;
class QMenu;

// A caption as dbusmenu writes it: "_" before the mnemonic, "__" for an underscore of the text
// (where Qt writes "&" and "&&").
QString RotuloDBusMenu(const QString &texto);

// One item of a menu as a panel reads it over dbusmenu, with the items under it. Properties
// at the values panels assume when they are missing (enabled, visible, a standard item) are
// left out.
struct ItemMenuDBus
{
    int id = 0;
    QVariantMap propriedades;
    QList<ItemMenuDBus> filhos;
};

// What panels show for one of a menu's actions.
QVariantMap PropriedadesDaAcao(const QAction *acao);

// The items of one menu, with those of its submenus down to `profundidade` levels (-1: all;
// 0: none), each numbered by `idDe`.
QList<ItemMenuDBus> ItensDoMenu(const QMenu *menu, int profundidade, const std::function<int(QAction *)> &idDe);

// An item's properties alone; the names of properties an item no longer has; one of a batch
// of events a panel sends.
struct PropriedadesDBus
{
    int id = 0;
    QVariantMap propriedades;
};
struct RemovidasDBus
{
    int id = 0;
    QStringList nomes;
};
struct EventoDBus
{
    int id = 0;
    QString tipo;
    QDBusVariant dados;
    uint instante = 0;
};

Q_DECLARE_METATYPE(ItemMenuDBus)
Q_DECLARE_METATYPE(PropriedadesDBus)
Q_DECLARE_METATYPE(RemovidasDBus)
Q_DECLARE_METATYPE(EventoDBus)

QDBusArgument &operator<<(QDBusArgument &argumento, const ItemMenuDBus &item);
const QDBusArgument &operator>>(const QDBusArgument &argumento, ItemMenuDBus &item);
QDBusArgument &operator<<(QDBusArgument &argumento, const PropriedadesDBus &item);
const QDBusArgument &operator>>(const QDBusArgument &argumento, PropriedadesDBus &item);
QDBusArgument &operator<<(QDBusArgument &argumento, const RemovidasDBus &item);
const QDBusArgument &operator>>(const QDBusArgument &argumento, RemovidasDBus &item);
QDBusArgument &operator<<(QDBusArgument &argumento, const EventoDBus &evento);
const QDBusArgument &operator>>(const QDBusArgument &argumento, EventoDBus &evento);

// A menu of the program as a panel reads and uses it on the session bus (com.canonical.dbusmenu):
// its layout, kept up as the menu changes, and a choice made on the panel run as the same
// choice in the menu itself. Every call is answered at once; what a choice runs comes after.
// (Qt hands the call's context to the object an adaptor serves, so the errors go from here.)
class TMenuDBus : public QObject, public QDBusContext
{
    Q_OBJECT
public:
    explicit TMenuDBus(QObject *parent = nullptr);

    void setMenu(QMenu *menu);
    QMenu *Menu() const { return m_menu; }

    uint Revisao() const { return m_revisao; }
    ItemMenuDBus Layout(int idPai, int profundidade, const QStringList &nomes);
    QList<PropriedadesDBus> Propriedades(const QList<int> &ids, const QStringList &nomes);
    // False for an id no item has.
    bool Evento(int id, const QString &tipo);
    // Whether the layout changed while the menu got ready to show.
    bool AntesDeMostrar(int id);
    bool Existe(int id) const;

signals:
    void LayoutMudou(uint revisao, int idPai);
    void PropriedadesMudaram(const QList<PropriedadesDBus> &mudadas, const QList<RemovidasDBus> &removidas);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    int IdDe(QAction *acao);
    QMenu *MenuDe(int id) const;
    void Vigia(QMenu *menu);
    void MudouLayout();
    void AvisaLayout();
    void AvisaPropriedades();

    QPointer<QMenu> m_menu;
    uint m_revisao = 1;
    int m_proximoId = 1;
    QHash<QAction *, int> m_ids;
    QHash<int, QPointer<QAction>> m_acoes;
    // What changed since the panel last heard of it: every change in one notice.
    bool m_layoutPendente = false;
    QSet<int> m_mudadas;
};

// com.canonical.dbusmenu on the bus, answered by the menu above.
class TAdaptadorDBusMenu : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ Version)
    Q_PROPERTY(QString TextDirection READ TextDirection)
    Q_PROPERTY(QString Status READ Status)
    Q_PROPERTY(QStringList IconThemePath READ IconThemePath)
public:
    explicit TAdaptadorDBusMenu(TMenuDBus *menu);

    uint Version() const { return 3; }
    QString TextDirection() const;
    QString Status() const { return QStringLiteral("normal"); }
    QStringList IconThemePath() const { return {}; }

public slots:
    uint GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames, ItemMenuDBus &layout);
    QList<PropriedadesDBus> GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames);
    QDBusVariant GetProperty(int id, const QString &name);
    void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
    QList<int> EventGroup(const QList<EventoDBus> &events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

signals:
    void ItemsPropertiesUpdated(const QList<PropriedadesDBus> &updatedProps, const QList<RemovidasDBus> &removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    TMenuDBus *m_menu;
};

// The D-Bus types above, known to Qt's marshalling (once per run).
void RegistraTiposDBusMenu();
