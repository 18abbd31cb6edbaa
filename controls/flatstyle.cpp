#include "controls/flatstyle.h"

#include "controls/estilomenusflat.h"
#include "controls/pinturaflat.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

namespace {

bool Elegivel(const QWidget *w)
{
    // Check boxes are hooked like every button control, though nothing is painted on them.
    if (qobject_cast<const QAbstractButton *>(w))
        return !qobject_cast<const QToolButton *>(w);
    return TipoControle(w) != TTipoControle::Nenhum;
}

// Widgets whose children are their own parts rather than controls of the form.
bool EhComposto(const QWidget *w)
{
    if (auto *area = qobject_cast<const QAbstractScrollArea *>(w))
        return !qobject_cast<const QScrollArea *>(area);
    return qobject_cast<const QAbstractSpinBox *>(w) || qobject_cast<const QComboBox *>(w)
        || qobject_cast<const QCalendarWidget *>(w) || qobject_cast<const QLineEdit *>(w)
        || qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QMenuBar *>(w)
        || qobject_cast<const QTabBar *>(w);
}

// The program's own windows; popups, tooltips and the desktop's message boxes are not.
bool EhForma(const QWidget *w)
{
    if (!w->isWindow() || qobject_cast<const QMessageBox *>(w) || qobject_cast<const QMenu *>(w))
        return false;
    switch (w->windowType()) {
    case Qt::Window:
    case Qt::Dialog:
    case Qt::Sheet:
    case Qt::Drawer:
    case Qt::Tool:
        return true;
    default:
        return false;
    }
}

// A menu that is a part of a control (the month list of a calendar) rather than one of the
// window's own menus.
bool DeUmControle(const QWidget *menu, const QWidget *form)
{
    for (const QWidget *w = menu->parentWidget(); w && w != form; w = w->parentWidget())
        if (EhComposto(w))
            return true;
    return false;
}

} // namespace

// ---- TFlatStyle

TFlatStyle::TFlatStyle(QObject *owner)
    : QObject(owner)
{
    if (!qApp)
        return;
    // Every event of the application passes here: new windows announce themselves by their
    // first polish.
    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &TFlatStyle::FormaAtivaMudou);
}

TFlatStyle::~TFlatStyle()
{
    if (qApp)
        qApp->removeEventFilter(this);
    const QList<THookWindowProc *> restantes = Ganchos();
    m_ganchos.clear();
    qDeleteAll(restantes);
    for (const auto &[menu, anterior] : std::as_const(m_menus))
        if (menu && menu->style() == m_estiloMenus)
            menu->setStyle(anterior);
    m_menus.clear();
    delete m_estiloMenus;
}

void TFlatStyle::setActive(bool value)
{
    if (m_active == value)
        return;
    m_active = value;
    if (m_active)
        ProcessAllForms();
}

void TFlatStyle::setSkipTag(int value)
{
    m_skipTag = value;
}

void TFlatStyle::Loaded()
{
    if (m_active)
        ProcessAllForms();
}

void TFlatStyle::ProcessAllForms()
{
    const QWidgetList janelas = QApplication::topLevelWidgets();
    for (QWidget *janela : janelas) {
        if (!EhForma(janela))
            continue;
        HookForm(janela);
        HookMenus(janela);
    }
}

bool TFlatStyle::Pulado(const QObject *objeto) const
{
    if (m_skipTag == 0)
        return false;
    const QVariant tag = objeto->property(PropriedadeTag);
    return tag.isValid() && tag.toInt() == m_skipTag;
}

void TFlatStyle::HookForm(QWidget *container)
{
    if (!container)
        return;
    const QObjectList filhos = container->children();
    for (QObject *filho : filhos) {
        if (!filho->isWidgetType())
            continue;
        auto *controle = static_cast<QWidget *>(filho);
        // Windows owned by this one are forms of their own, processed as such.
        if (controle->isWindow() || Pulado(controle))
            continue;
        if (!THookWindowProc::HookOf(controle)) {
            HookControl(controle);
            controle->update();
        }
        if (!EhComposto(controle))
            HookForm(controle);
    }
}

void TFlatStyle::HookControl(QWidget *control)
{
    if (!control || !Elegivel(control) || THookWindowProc::HookOf(control))
        return;
    m_ganchos.removeIf([](const QPointer<THookWindowProc> &gancho) { return gancho.isNull(); });
    m_ganchos.append(new THookWindowProc(this, control));
}

void TFlatStyle::HookMenus(QWidget *form)
{
    if (!form)
        return;
    QList<QWidget *> menus;
    for (QMenuBar *barra : form->findChildren<QMenuBar *>())
        menus.append(barra);
    for (QMenu *menu : form->findChildren<QMenu *>())
        menus.append(menu);
    for (QWidget *menu : std::as_const(menus)) {
        // A sub-menu follows the menu it hangs from.
        QWidget *raiz = menu;
        while (QWidget *pai = raiz->parentWidget()) {
            if (!qobject_cast<QMenu *>(pai) && !qobject_cast<QMenuBar *>(pai))
                break;
            raiz = pai;
        }
        if (Pulado(raiz) || DeUmControle(raiz, form))
            continue;
        QStyle *estilo = EstiloMenus();
        if (menu->style() == estilo)
            continue;
        m_menus.append({ menu, menu->testAttribute(Qt::WA_SetStyle) ? menu->style() : nullptr });
        menu->setStyle(estilo);
    }
}

QStyle *TFlatStyle::EstiloMenus() const
{
    if (!m_estiloMenus)
        const_cast<TFlatStyle *>(this)->m_estiloMenus = new TEstiloMenusFlat;
    return m_estiloMenus;
}

void TFlatStyle::Notification(QWidget *form, TOperacao operacao)
{
    if (!form)
        return;
    auto remove = [form](QList<QPointer<QWidget>> &lista) {
        lista.removeIf([form](const QPointer<QWidget> &p) { return p.isNull() || p.data() == form; });
    };
    const bool pendente = m_controlesPendentes.contains(form) || m_menusPendentes.contains(form);
    if (operacao == TOperacao::Remocao || pendente) {
        remove(m_controlesPendentes);
        remove(m_menusPendentes);
        return;
    }
    if (!m_active)
        return;
    m_controlesPendentes.append(form);
    m_menusPendentes.append(form);
    // Once destroyed the form is gone from both lists (its QPointer is already null then).
    connect(form, &QObject::destroyed, this, [this] {
        auto vazio = [](const QPointer<QWidget> &p) { return p.isNull(); };
        m_controlesPendentes.removeIf(vazio);
        m_menusPendentes.removeIf(vazio);
    });
    // The menus follow at the next turn of the event loop, once the window is built.
    if (!m_menusAgendados) {
        m_menusAgendados = true;
        QMetaObject::invokeMethod(this, &TFlatStyle::ProcessaMenusPendentes, Qt::QueuedConnection);
    }
}

namespace {

// The forms of a pending list that still exist.
QList<QWidget *> FormasVivas(const QList<QPointer<QWidget>> &pendentes)
{
    QList<QWidget *> lista;
    for (const QPointer<QWidget> &p : pendentes)
        if (p)
            lista.append(p);
    return lista;
}

} // namespace

QList<QWidget *> TFlatStyle::ControlesPendentes() const
{
    return FormasVivas(m_controlesPendentes);
}

QList<QWidget *> TFlatStyle::MenusPendentes() const
{
    return FormasVivas(m_menusPendentes);
}

QList<THookWindowProc *> TFlatStyle::Ganchos() const
{
    QList<THookWindowProc *> vivos;
    for (const QPointer<THookWindowProc> &gancho : m_ganchos)
        if (gancho)
            vivos.append(gancho);
    return vivos;
}

bool TFlatStyle::eventFilter(QObject *objeto, QEvent *evento)
{
    if (evento->type() == QEvent::Polish && objeto->isWidgetType()) {
        auto *janela = static_cast<QWidget *>(objeto);
        if (EhForma(janela))
            Notification(janela, TOperacao::Insercao);
    }
    return false;
}

void TFlatStyle::FormaAtivaMudou()
{
    while (!m_controlesPendentes.isEmpty()) {
        const QPointer<QWidget> forma = m_controlesPendentes.takeFirst();
        if (forma)
            HookForm(forma);
    }
}

void TFlatStyle::ProcessaMenusPendentes()
{
    m_menusAgendados = false;
    while (!m_menusPendentes.isEmpty()) {
        const QPointer<QWidget> forma = m_menusPendentes.takeFirst();
        if (forma)
            HookMenus(forma);
    }
}
