#include "controls/menudbus.h"

#include "controls/estruturadbus.h"

#include <QAction>
#include <QActionEvent>
#include <QActionGroup>
#include <QApplication>
#include <QDBusMetaType>
#include <QMenu>
#include <QTimer>

QString RotuloDBusMenu(const QString &texto)
{
    QString rotulo;
    rotulo.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('_')) {
            rotulo += QStringLiteral("__");
        } else if (c != QLatin1Char('&')) {
            rotulo += c;
        } else if (i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('&')) {
            rotulo += c;
            ++i;
        } else if (i + 1 < texto.size()) {
            // A lone "&" at the end marks nothing.
            rotulo += QLatin1Char('_');
        }
    }
    return rotulo;
}

QVariantMap PropriedadesDaAcao(const QAction *acao)
{
    QVariantMap p;
    if (acao->isSeparator())
        p.insert(QStringLiteral("type"), QStringLiteral("separator"));
    else
        p.insert(QStringLiteral("label"), RotuloDBusMenu(acao->text()));
    if (!acao->isEnabled())
        p.insert(QStringLiteral("enabled"), false);
    if (!acao->isVisible())
        p.insert(QStringLiteral("visible"), false);
    if (acao->isCheckable()) {
        const bool radio = acao->actionGroup() && acao->actionGroup()->isExclusive();
        p.insert(QStringLiteral("toggle-type"), radio ? QStringLiteral("radio") : QStringLiteral("checkmark"));
        p.insert(QStringLiteral("toggle-state"), acao->isChecked() ? 1 : 0);
    }
    if (acao->menu())
        p.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    return p;
}

QList<ItemMenuDBus> ItensDoMenu(const QMenu *menu, int profundidade, const std::function<int(QAction *)> &idDe)
{
    QList<ItemMenuDBus> itens;
    if (!menu || profundidade == 0)
        return itens;
    for (QAction *acao : menu->actions()) {
        ItemMenuDBus item { idDe(acao), PropriedadesDaAcao(acao), {} };
        if (acao->menu())
            item.filhos = ItensDoMenu(acao->menu(), profundidade < 0 ? -1 : profundidade - 1, idDe);
        itens << item;
    }
    return itens;
}

QDBusArgument &operator<<(QDBusArgument &argumento, const ItemMenuDBus &item)
{
    argumento.beginStructure();
    argumento << item.id << item.propriedades;
    // Each child is a variant holding an item like this one.
    argumento.beginArray(QMetaType::fromType<QDBusVariant>());
    for (const ItemMenuDBus &filho : item.filhos)
        argumento << QDBusVariant(QVariant::fromValue(filho));
    argumento.endArray();
    argumento.endStructure();
    return argumento;
}

const QDBusArgument &operator>>(const QDBusArgument &argumento, ItemMenuDBus &item)
{
    argumento.beginStructure();
    argumento >> item.id >> item.propriedades;
    item.filhos.clear();
    argumento.beginArray();
    while (!argumento.atEnd()) {
        QDBusVariant filho;
        argumento >> filho;
        item.filhos << qdbus_cast<ItemMenuDBus>(filho.variant());
    }
    argumento.endArray();
    argumento.endStructure();
    return argumento;
}

QDBusArgument &operator<<(QDBusArgument &argumento, const PropriedadesDBus &item)
{
    return GravaEstrutura(argumento, item.id, item.propriedades);
}

const QDBusArgument &operator>>(const QDBusArgument &argumento, PropriedadesDBus &item)
{
    return LeEstrutura(argumento, item.id, item.propriedades);
}

QDBusArgument &operator<<(QDBusArgument &argumento, const RemovidasDBus &item)
{
    return GravaEstrutura(argumento, item.id, item.nomes);
}

const QDBusArgument &operator>>(const QDBusArgument &argumento, RemovidasDBus &item)
{
    return LeEstrutura(argumento, item.id, item.nomes);
}

QDBusArgument &operator<<(QDBusArgument &argumento, const EventoDBus &evento)
{
    return GravaEstrutura(argumento, evento.id, evento.tipo, evento.dados, evento.instante);
}

const QDBusArgument &operator>>(const QDBusArgument &argumento, EventoDBus &evento)
{
    return LeEstrutura(argumento, evento.id, evento.tipo, evento.dados, evento.instante);
}

void RegistraTiposDBusMenu()
{
    static const bool feito = [] {
        qDBusRegisterMetaType<ItemMenuDBus>();
        qDBusRegisterMetaType<PropriedadesDBus>();
        qDBusRegisterMetaType<QList<PropriedadesDBus>>();
        qDBusRegisterMetaType<RemovidasDBus>();
        qDBusRegisterMetaType<QList<RemovidasDBus>>();
        qDBusRegisterMetaType<EventoDBus>();
        qDBusRegisterMetaType<QList<EventoDBus>>();
        return true;
    }();
    Q_UNUSED(feito);
}

namespace {

QVariantMap SoAs(const QVariantMap &propriedades, const QStringList &nomes)
{
    if (nomes.isEmpty())
        return propriedades;
    QVariantMap escolhidas;
    for (const QString &nome : nomes)
        if (propriedades.contains(nome))
            escolhidas.insert(nome, propriedades.value(nome));
    return escolhidas;
}

void FiltraPropriedades(ItemMenuDBus &item, const QStringList &nomes)
{
    item.propriedades = SoAs(item.propriedades, nomes);
    for (ItemMenuDBus &filho : item.filhos)
        FiltraPropriedades(filho, nomes);
}

} // namespace

TMenuDBus::TMenuDBus(QObject *parent)
    : QObject(parent)
{
    RegistraTiposDBusMenu();
}

void TMenuDBus::setMenu(QMenu *menu)
{
    if (m_menu == menu)
        return;
    if (m_menu)
        m_menu->removeEventFilter(this);
    if (m_menu)
        disconnect(m_menu, nullptr, this, nullptr);
    m_menu = menu;
    if (m_menu) {
        Vigia(m_menu);
        // A menu destroyed under the panel leaves it an empty one.
        connect(m_menu, &QObject::destroyed, this, &TMenuDBus::MudouLayout);
    }
    MudouLayout();
}

void TMenuDBus::Vigia(QMenu *menu)
{
    // Installing again moves the filter first, and it is never installed twice.
    menu->installEventFilter(this);
}

int TMenuDBus::IdDe(QAction *acao)
{
    auto achado = m_ids.constFind(acao);
    if (achado != m_ids.constEnd() && m_acoes.value(*achado) == acao)
        return *achado;
    // An action seen for the first time (or a new one at a freed address) gets the next id:
    // a panel never confuses it with one it knew.
    const int id = m_proximoId++;
    m_ids.insert(acao, id);
    m_acoes.insert(id, acao);
    if (acao->menu())
        Vigia(acao->menu());
    return id;
}

QMenu *TMenuDBus::MenuDe(int id) const
{
    if (id == 0)
        return m_menu;
    const QPointer<QAction> acao = m_acoes.value(id);
    return acao ? acao->menu() : nullptr;
}

bool TMenuDBus::Existe(int id) const
{
    return id == 0 || m_acoes.value(id);
}

ItemMenuDBus TMenuDBus::Layout(int idPai, int profundidade, const QStringList &nomes)
{
    ItemMenuDBus raiz { idPai, {}, {} };
    if (idPai == 0)
        raiz.propriedades.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    else if (const QPointer<QAction> acao = m_acoes.value(idPai))
        raiz.propriedades = PropriedadesDaAcao(acao);
    raiz.filhos = ItensDoMenu(MenuDe(idPai), profundidade, [this](QAction *acao) { return IdDe(acao); });
    FiltraPropriedades(raiz, nomes);
    return raiz;
}

QList<PropriedadesDBus> TMenuDBus::Propriedades(const QList<int> &ids, const QStringList &nomes)
{
    QList<PropriedadesDBus> lista;
    for (int id : ids) {
        if (id == 0) {
            lista << PropriedadesDBus { 0,
                SoAs({ { QStringLiteral("children-display"), QStringLiteral("submenu") } }, nomes) };
        } else if (const QPointer<QAction> acao = m_acoes.value(id)) {
            lista << PropriedadesDBus { id, SoAs(PropriedadesDaAcao(acao), nomes) };
        }
    }
    return lista;
}

bool TMenuDBus::Evento(int id, const QString &tipo)
{
    if (!Existe(id))
        return false;
    const QPointer<QAction> acao = m_acoes.value(id);
    if (tipo == QLatin1String("clicked") && acao && !acao->menu()) {
        // The panel's call is answered first; what the choice does (a window, the end of the
        // program) comes after, as when the item is chosen in the program's own menu.
        QTimer::singleShot(0, acao, [acao] {
            if (acao)
                acao->trigger();
        });
    }
    return true;
}

bool TMenuDBus::AntesDeMostrar(int id)
{
    QMenu *menu = MenuDe(id);
    if (!menu)
        return false;
    const uint antes = m_revisao;
    // The menu's owner may bring its items up to date now, as before the menu pops up.
    emit menu->aboutToShow();
    return m_revisao != antes;
}

bool TMenuDBus::eventFilter(QObject *objeto, QEvent *evento)
{
    switch (evento->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
        MudouLayout();
        break;
    case QEvent::ActionChanged:
        if (QAction *acao = static_cast<QActionEvent *>(evento)->action(); acao && m_ids.contains(acao)) {
            m_mudadas.insert(m_ids.value(acao));
            QTimer::singleShot(0, this, &TMenuDBus::AvisaPropriedades);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(objeto, evento);
}

void TMenuDBus::MudouLayout()
{
    ++m_revisao;
    if (m_layoutPendente)
        return;
    m_layoutPendente = true;
    QTimer::singleShot(0, this, &TMenuDBus::AvisaLayout);
}

void TMenuDBus::AvisaLayout()
{
    m_layoutPendente = false;
    emit LayoutMudou(m_revisao, 0);
}

void TMenuDBus::AvisaPropriedades()
{
    if (m_mudadas.isEmpty())
        return;
    QList<PropriedadesDBus> mudadas;
    QList<RemovidasDBus> removidas;
    for (int id : std::as_const(m_mudadas)) {
        const QPointer<QAction> acao = m_acoes.value(id);
        if (!acao)
            continue;
        const QVariantMap agora = PropriedadesDaAcao(acao);
        mudadas << PropriedadesDBus { id, agora };
        // A property back at its default is no longer listed: the panel is told to forget it.
        QStringList foram;
        for (const QString &nome : { QStringLiteral("enabled"), QStringLiteral("visible") })
            if (!agora.contains(nome))
                foram << nome;
        removidas << RemovidasDBus { id, foram };
    }
    m_mudadas.clear();
    emit PropriedadesMudaram(mudadas, removidas);
}

TAdaptadorDBusMenu::TAdaptadorDBusMenu(TMenuDBus *menu)
    : QDBusAbstractAdaptor(menu)
    , m_menu(menu)
{
    setAutoRelaySignals(false);
    connect(menu, &TMenuDBus::LayoutMudou, this, &TAdaptadorDBusMenu::LayoutUpdated);
    connect(menu, &TMenuDBus::PropriedadesMudaram, this, &TAdaptadorDBusMenu::ItemsPropertiesUpdated);
}

QString TAdaptadorDBusMenu::TextDirection() const
{
    return QApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

uint TAdaptadorDBusMenu::GetLayout(
    int parentId, int recursionDepth, const QStringList &propertyNames, ItemMenuDBus &layout)
{
    if (!m_menu->Existe(parentId) && m_menu->calledFromDBus())
        m_menu->sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no item %1").arg(parentId));
    layout = m_menu->Layout(parentId, recursionDepth, propertyNames);
    return m_menu->Revisao();
}

QList<PropriedadesDBus> TAdaptadorDBusMenu::GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames)
{
    return m_menu->Propriedades(ids, propertyNames);
}

QDBusVariant TAdaptadorDBusMenu::GetProperty(int id, const QString &name)
{
    const QList<PropriedadesDBus> achadas = m_menu->Propriedades({ id }, { name });
    if (achadas.isEmpty() || !achadas.constFirst().propriedades.contains(name)) {
        if (m_menu->calledFromDBus())
            m_menu->sendErrorReply(
                QDBusError::InvalidArgs, QStringLiteral("no property %1 of item %2").arg(name).arg(id));
        return QDBusVariant(QString());
    }
    return QDBusVariant(achadas.constFirst().propriedades.value(name));
}

void TAdaptadorDBusMenu::Event(int id, const QString &eventId, const QDBusVariant &, uint)
{
    if (!m_menu->Evento(id, eventId) && m_menu->calledFromDBus())
        m_menu->sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("no item %1").arg(id));
}

QList<int> TAdaptadorDBusMenu::EventGroup(const QList<EventoDBus> &events)
{
    QList<int> erros;
    for (const EventoDBus &evento : events)
        if (!m_menu->Evento(evento.id, evento.tipo))
            erros << evento.id;
    return erros;
}

bool TAdaptadorDBusMenu::AboutToShow(int id)
{
    return m_menu->AntesDeMostrar(id);
}

QList<int> TAdaptadorDBusMenu::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors)
{
    QList<int> mudaram;
    for (int id : ids) {
        if (!m_menu->Existe(id))
            idErrors << id;
        else if (m_menu->AntesDeMostrar(id))
            mudaram << id;
    }
    return mudaram;
}
