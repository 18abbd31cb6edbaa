#include "controls/acessivel.h"

#include "controls/gradientbutton.h"
#include "controls/shadowlabel.h"
#include "controls/stringgrid.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QCalendarWidget>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>

#include <algorithm>
#include <utility>

namespace {

// What a reader says for a caption: "&&" is one ampersand, a single one marks the accelerator
// and is not read.
QString SemAceleradores(const QString &texto)
{
    QString limpo;
    limpo.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto.at(i) == QLatin1Char('&')) {
            if (i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('&'))
                ++i;
            else
                continue;
        }
        limpo += texto.at(i);
    }
    return limpo;
}

// The header is the last fixed row; the table's rows are the rows below the fixed ones.
bool TemCabecalho(const TStringGrid &grade)
{
    return grade.FixedRows() > 0;
}

// Holds, under the grid, what a reader is told of each of its rows.
class TDescricaoLinhas : public QObject
{
public:
    TDescricaoLinhas(TStringGrid *grade, std::function<QString(int)> descricao)
        : QObject(grade)
        , m_descricao(std::move(descricao))
    {
        setObjectName(Nome());
    }
    // The one under the grid, if any (a plain QObject to Qt's lookups, found by its name).
    static TDescricaoLinhas *Da(const TStringGrid &grade)
    {
        return dynamic_cast<TDescricaoLinhas *>(grade.findChild<QObject *>(Nome(), Qt::FindDirectChildrenOnly));
    }
    QString Descricao(int linha) const { return m_descricao ? m_descricao(linha) : QString(); }

private:
    static QString Nome() { return QStringLiteral("zelvano_descricaoLinhas"); }

    std::function<QString(int)> m_descricao;
};

class TTabelaAcessivel;

// One cell of the grid, read live from it; a header cell when it lies in the header row.
class TCelulaAcessivel : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    TCelulaAcessivel(TStringGrid *grade, int coluna, int linha)
        : m_grade(grade)
        , m_coluna(coluna)
        , m_linha(linha)
    {
    }

    bool Cabecalho() const { return m_grade && m_linha == m_grade->FixedRows() - 1; }

    bool isValid() const override
    {
        return m_grade && m_linha < m_grade->RowCount() && m_grade->IndiceCelulaAcessivel(m_coluna, m_linha) >= 0;
    }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grade); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text tipo) const override
    {
        if (!m_grade)
            return {};
        if (tipo == QAccessible::Description && !Cabecalho()) {
            const TDescricaoLinhas *descricao = TDescricaoLinhas::Da(*m_grade);
            return descricao ? descricao->Descricao(m_linha) : QString();
        }
        if (tipo != QAccessible::Name && tipo != QAccessible::Value)
            return {};
        return m_grade->Cells(m_coluna, m_linha);
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!m_grade)
            return {};
        const QRect r = m_grade->RetanguloCelula(m_coluna, m_linha);
        if (r.isEmpty())
            return {};
        return QRect(m_grade->viewport()->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override { return Cabecalho() ? QAccessible::ColumnHeader : QAccessible::Cell; }

    QAccessible::State state() const override
    {
        QAccessible::State estado;
        if (!m_grade)
            return estado;
        if (m_grade->RetanguloCelula(m_coluna, m_linha).isEmpty() || !m_grade->isVisible())
            estado.invisible = estado.offscreen = true;
        if (Cabecalho())
            return estado;
        estado.selectable = estado.focusable = true;
        estado.selected = isSelected();
        estado.focused = m_grade->hasFocus() && m_linha == m_grade->Row() && m_coluna == ColunaDoFoco(*m_grade);
        return estado;
    }

    void *interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::TableCellInterface && !Cabecalho())
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return m_grade && !Cabecalho() && m_grade->Selection().contains(m_coluna, m_linha);
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_grade ? int(m_grade->ColunasLidas().indexOf(m_coluna)) : -1; }
    int rowIndex() const override { return m_grade ? m_linha - m_grade->FixedRows() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    static int ColunaDoFoco(const TStringGrid &grade) { return grade.ColunaDoFocoAcessivel(); }

private:
    QPointer<TStringGrid> m_grade;
    int m_coluna;
    int m_linha;
};

// The grid as a table: the header row's cells come first among the children, then the cells
// of each row below it, row by row.
class TTabelaAcessivel : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit TTabelaAcessivel(TStringGrid *grade)
        : QAccessibleWidget(grade, QAccessible::Table)
    {
    }

    ~TTabelaAcessivel() override { EsqueceCelulas(); }

    TStringGrid *Grade() const { return static_cast<TStringGrid *>(widget()); }

    // The interface of the cell, made once and kept until the grid's rows or columns change.
    QAccessibleInterface *Celula(int coluna, int linha) const
    {
        if (Grade()->IndiceCelulaAcessivel(coluna, linha) < 0)
            return nullptr;
        const quint64 chave = (quint64(quint32(linha)) << 32) | quint32(coluna);
        if (const auto achada = m_celulas.constFind(chave); achada != m_celulas.cend())
            return QAccessible::accessibleInterface(*achada);
        auto *nova = new TCelulaAcessivel(Grade(), coluna, linha);
        m_celulas.insert(chave, QAccessible::registerAccessibleInterface(nova));
        return nova;
    }

    void EsqueceCelulas()
    {
        for (const QAccessible::Id id : std::as_const(m_celulas))
            QAccessible::deleteAccessibleInterface(id);
        m_celulas.clear();
    }

    void *interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(tipo);
    }

    int childCount() const override
    {
        return int(Grade()->ColunasLidas().size()) * ((TemCabecalho(*Grade()) ? 1 : 0) + rowCount());
    }

    QAccessibleInterface *child(int indice) const override
    {
        const QList<int> colunas = Grade()->ColunasLidas();
        if (indice < 0 || colunas.isEmpty() || indice >= childCount())
            return nullptr;
        const int primeira = Grade()->FixedRows() - (TemCabecalho(*Grade()) ? 1 : 0);
        return Celula(colunas.at(indice % colunas.size()), primeira + indice / int(colunas.size()));
    }

    int indexOfChild(const QAccessibleInterface *filho) const override
    {
        if (!filho || filho->parent() != this)
            return -1;
        for (auto i = m_celulas.cbegin(); i != m_celulas.cend(); ++i)
            if (QAccessible::accessibleInterface(i.value()) == filho)
                return Grade()->IndiceCelulaAcessivel(int(i.key() & 0xFFFFFFFFu), int(i.key() >> 32));
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        int c = 0;
        int r = 0;
        const QPoint ponto = Grade()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!Grade()->CelulaNoPonto(ponto, c, r))
            return nullptr;
        return Celula(c, r);
    }

    QAccessibleInterface *focusChild() const override
    {
        if (!Grade()->hasFocus())
            return nullptr;
        return Celula(TCelulaAcessivel::ColunaDoFoco(*Grade()), Grade()->Row());
    }

    // Table
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int linha, int coluna) const override
    {
        const QList<int> colunas = Grade()->ColunasLidas();
        if (linha < 0 || linha >= rowCount() || coluna < 0 || coluna >= colunas.size())
            return nullptr;
        return Celula(colunas.at(coluna), Grade()->FixedRows() + linha);
    }
    int selectedCellCount() const override { return int(selectedRows().size() * Grade()->ColunasLidas().size()); }
    QList<QAccessibleInterface *> selectedCells() const override
    {
        QList<QAccessibleInterface *> celulas;
        for (const int linha : selectedRows())
            for (int c = 0; c < columnCount(); ++c)
                celulas.push_back(cellAt(linha, c));
        return celulas;
    }
    QString columnDescription(int coluna) const override
    {
        const QList<int> colunas = Grade()->ColunasLidas();
        if (!TemCabecalho(*Grade()) || coluna < 0 || coluna >= colunas.size())
            return {};
        return Grade()->Cells(colunas.at(coluna), Grade()->FixedRows() - 1);
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return int(Grade()->ColunasLidas().size()); }
    int rowCount() const override { return std::max(Grade()->RowCount() - Grade()->FixedRows(), 0); }
    QList<int> selectedColumns() const override { return {}; }
    // Rows count as selected when the grid selects whole rows.
    QList<int> selectedRows() const override
    {
        QList<int> linhas;
        if (!(Grade()->Options() & GO::goRowSelect))
            return linhas;
        const QRect selecao = Grade()->Selection();
        for (int r = std::max(selecao.top(), Grade()->FixedRows()); r <= selecao.bottom() && r < Grade()->RowCount();
             ++r)
            linhas.push_back(r - Grade()->FixedRows());
        return linhas;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int linha) const override { return selectedRows().contains(linha); }
    // Choosing a row from a reader is the user's choice, as a click on it would be.
    bool selectRow(int linha) override
    {
        if (linha < 0 || linha >= rowCount())
            return false;
        Grade()->EscolheLinha(Grade()->FixedRows() + linha);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override { EsqueceCelulas(); }

private:
    // Cell interfaces by (row << 32 | column); the accessibility cache owns them.
    mutable QHash<quint64, QAccessible::Id> m_celulas;
};

QList<QAccessibleInterface *> TCelulaAcessivel::columnHeaderCells() const
{
    if (!m_grade || !TemCabecalho(*m_grade))
        return {};
    if (auto *tabela = dynamic_cast<TTabelaAcessivel *>(parent()))
        if (QAccessibleInterface *topo = tabela->Celula(m_coluna, m_grade->FixedRows() - 1))
            return { topo };
    return {};
}

// A push button whose caption is its name and whose press action clicks it.
class TBotaoAcessivel : public QAccessibleWidget
{
public:
    explicit TBotaoAcessivel(TGradientButton *botao)
        : QAccessibleWidget(botao, QAccessible::Button)
    {
    }
    TGradientButton *Botao() const { return static_cast<TGradientButton *>(widget()); }

    QString text(QAccessible::Text tipo) const override
    {
        if (tipo == QAccessible::Name && Botao()->accessibleName().isEmpty())
            return SemAceleradores(Botao()->Caption());
        return QAccessibleWidget::text(tipo);
    }
    QAccessible::State state() const override
    {
        QAccessible::State estado = QAccessibleWidget::state();
        estado.pressed = Botao()->Down();
        estado.checkable = Botao()->Grouped();
        estado.checked = Botao()->Grouped() && Botao()->Down();
        return estado;
    }
    QStringList actionNames() const override
    {
        return QStringList { pressAction() } + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &acao) override
    {
        if (acao == pressAction())
            Botao()->Click();
        else
            QAccessibleWidget::doAction(acao);
    }
};

// Static text whose caption is its name; it labels the control its accelerator focuses.
class TRotuloAcessivel : public QAccessibleWidget
{
public:
    explicit TRotuloAcessivel(TCustomShadowLabel *rotulo)
        : QAccessibleWidget(rotulo, QAccessible::StaticText)
    {
    }
    TCustomShadowLabel *Rotulo() const { return static_cast<TCustomShadowLabel *>(widget()); }

    QString text(QAccessible::Text tipo) const override
    {
        if (tipo == QAccessible::Name && Rotulo()->accessibleName().isEmpty())
            return SemAceleradores(Rotulo()->Caption());
        return QAccessibleWidget::text(tipo);
    }
    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>> relations(
        QAccessible::Relation filtro) const override
    {
        auto lista = QAccessibleWidget::relations(filtro);
        if ((filtro & QAccessible::Labelled) && Rotulo()->FocusControl())
            if (QAccessibleInterface *alvo = QAccessible::queryAccessibleInterface(Rotulo()->FocusControl()))
                lista.push_back({ alvo, QAccessible::Labelled });
        return lista;
    }
};

QCalendarWidget *CalendarioDaVista(QWidget *vista)
{
    return vista ? qobject_cast<QCalendarWidget *>(vista->parentWidget()) : nullptr;
}

// A day of the calendar, the one item of its list of days.
class TDiaAcessivel : public QAccessibleInterface
{
public:
    TDiaAcessivel(QAbstractItemView *vista, QDate dia)
        : m_vista(vista)
        , m_dia(dia)
    {
    }
    QDate Dia() const { return m_dia; }
    bool isValid() const override { return CalendarioDaVista(m_vista) != nullptr; }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_vista); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QString text(QAccessible::Text tipo) const override
    {
        const QCalendarWidget *calendario = CalendarioDaVista(m_vista);
        if (!calendario || (tipo != QAccessible::Name && tipo != QAccessible::Value))
            return {};
        return calendario->locale().toString(m_dia, QLocale::LongFormat);
    }
    void setText(QAccessible::Text, const QString &) override { }
    QRect rect() const override
    {
        const auto *vista = qobject_cast<const QAbstractItemView *>(m_vista.data());
        if (!vista)
            return {};
        const QRect r = vista->visualRect(vista->currentIndex());
        return QRect(vista->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State estado;
        estado.focusable = estado.selectable = estado.selected = true;
        estado.focused = m_vista && m_vista->hasFocus();
        estado.invisible = !m_vista || !m_vista->isVisible();
        return estado;
    }

private:
    // Held as a widget: asked while the view is being destroyed, it is no view any more.
    QPointer<QWidget> m_vista;
    QDate m_dia;
};

// The calendar's days as a list named after the calendar, holding the chosen day alone: the
// keys move the date, so the day that has it is the one worth telling. Each date is an object
// of its own, so that a reader, told the focus went to another object, reads the new date (it
// ignores a list item whose name changes).
class TDiasAcessiveis : public QAccessibleWidget
{
public:
    explicit TDiasAcessiveis(QAbstractItemView *vista)
        : QAccessibleWidget(vista, QAccessible::List)
    {
    }
    ~TDiasAcessiveis() override
    {
        if (m_dia)
            QAccessible::deleteAccessibleInterface(m_dia);
    }
    QAccessibleInterface *Dia() const
    {
        const QCalendarWidget *calendario = CalendarioDaVista(widget());
        if (!calendario)
            return nullptr;
        auto *atual = static_cast<TDiaAcessivel *>(QAccessible::accessibleInterface(m_dia));
        if (atual && atual->Dia() == calendario->selectedDate())
            return atual;
        if (m_dia)
            QAccessible::deleteAccessibleInterface(m_dia);
        auto *novo = new TDiaAcessivel(static_cast<QAbstractItemView *>(widget()), calendario->selectedDate());
        m_dia = QAccessible::registerAccessibleInterface(novo);
        return novo;
    }
    QString text(QAccessible::Text tipo) const override
    {
        const QCalendarWidget *calendario = CalendarioDaVista(widget());
        if (tipo == QAccessible::Name && widget()->accessibleName().isEmpty() && calendario)
            return calendario->accessibleName();
        return QAccessibleWidget::text(tipo);
    }
    int childCount() const override { return 1; }
    // Qt's table view tells of its current cell by the cell's index in a table; whichever
    // cell it names, that cell is the chosen day.
    QAccessibleInterface *child(int indice) const override { return indice >= 0 ? Dia() : nullptr; }
    int indexOfChild(const QAccessibleInterface *filho) const override { return filho && filho == Dia() ? 0 : -1; }
    QAccessibleInterface *focusChild() const override { return widget()->hasFocus() ? Dia() : nullptr; }
    QAccessibleInterface *childAt(int x, int y) const override { return rect().contains(x, y) ? Dia() : nullptr; }

private:
    mutable QAccessible::Id m_dia = 0;
};

// Tells a reader of the chosen day when the days take the focus (Qt tells of the list only)
// and when the date changes by other means than the keys (the month arrows, the year).
class TAnunciaDia : public QObject
{
public:
    TAnunciaDia(QCalendarWidget *calendario, QAbstractItemView *vista)
        : QObject(calendario)
        , m_vista(vista)
    {
        vista->installEventFilter(this);
        connect(calendario, &QCalendarWidget::selectionChanged, this, &TAnunciaDia::Anuncia);
    }

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        // Qt tells of the focus after the widget has handled it: the day's turn comes next.
        if (objeto == m_vista && evento->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(this, &TAnunciaDia::Anuncia, Qt::QueuedConnection);
        return false;
    }

private:
    void Anuncia()
    {
        if (!QAccessible::isActive() || !m_vista || !m_vista->hasFocus())
            return;
        if (auto *dias = dynamic_cast<TDiasAcessiveis *>(QAccessible::queryAccessibleInterface(m_vista))) {
            QAccessibleEvent evento(dias->Dia(), QAccessible::Focus);
            QAccessible::updateAccessibility(&evento);
        }
    }

    // Held as a widget: its events come until its destruction is over, when it is no view.
    QPointer<QWidget> m_vista;
};

// A line edit read whole (see ExpoeTextoInteiro).
class TEdicaoAcessivel : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TEdicaoAcessivel(QLineEdit *edicao)
        : QAccessibleWidget(edicao, QAccessible::EditableText)
    {
    }
    QLineEdit *Edicao() const { return static_cast<QLineEdit *>(widget()); }
    QString Texto() const { return Edicao()->displayText(); }

    void *interface_cast(QAccessible::InterfaceType tipo) override
    {
        if (tipo == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(tipo);
    }
    QString text(QAccessible::Text tipo) const override
    {
        if (tipo == QAccessible::Value)
            return Texto();
        return QAccessibleWidget::text(tipo);
    }
    QAccessible::State state() const override
    {
        QAccessible::State estado = QAccessibleWidget::state();
        estado.editable = !Edicao()->isReadOnly();
        estado.readOnly = Edicao()->isReadOnly();
        estado.selectableText = true;
        return estado;
    }

    // Text
    void selection(int indice, int *inicio, int *fim) const override
    {
        *inicio = *fim = 0;
        if (indice == 0 && Edicao()->hasSelectedText()) {
            *inicio = Edicao()->selectionStart();
            *fim = *inicio + Edicao()->selectionLength();
        }
    }
    int selectionCount() const override { return Edicao()->hasSelectedText() ? 1 : 0; }
    void addSelection(int inicio, int fim) override { setSelection(0, inicio, fim); }
    void removeSelection(int) override { Edicao()->deselect(); }
    void setSelection(int, int inicio, int fim) override { Edicao()->setSelection(inicio, fim - inicio); }
    int cursorPosition() const override { return Edicao()->cursorPosition(); }
    void setCursorPosition(int posicao) override { Edicao()->setCursorPosition(posicao); }
    QString text(int inicio, int fim) const override { return Texto().mid(inicio, fim - inicio); }
    int characterCount() const override { return int(Texto().size()); }
    QRect characterRect(int posicao) const override
    {
        const QFontMetrics medida(Edicao()->font());
        const QRect area = Edicao()->contentsRect();
        const int x = area.left() + medida.horizontalAdvance(Texto().left(posicao));
        const QRect r(x, area.top() + (area.height() - medida.height()) / 2,
            medida.horizontalAdvance(Texto().mid(posicao, 1)), medida.height());
        return QRect(Edicao()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &ponto) const override
    {
        return Edicao()->cursorPositionAt(Edicao()->mapFromGlobal(ponto));
    }
    void scrollToSubstring(int, int) override { }
    // One run over the whole text, without attributes.
    QString attributes(int, int *inicio, int *fim) const override
    {
        *inicio = 0;
        *fim = characterCount();
        return {};
    }
};

// A label read as a link: activating it from a reader presses Enter on it.
class TLinkAcessivel : public QAccessibleWidget
{
public:
    explicit TLinkAcessivel(QLabel *rotulo)
        : QAccessibleWidget(rotulo, QAccessible::Link)
    {
    }
    QString text(QAccessible::Text tipo) const override
    {
        const auto *rotulo = static_cast<QLabel *>(widget());
        if (tipo == QAccessible::Name && rotulo->accessibleName().isEmpty())
            return rotulo->text();
        return QAccessibleWidget::text(tipo);
    }
    QAccessible::State state() const override
    {
        QAccessible::State estado = QAccessibleWidget::state();
        estado.linked = true;
        return estado;
    }
    QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString &acao) override
    {
        if (acao != pressAction())
            return;
        QKeyEvent aperta(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QKeyEvent solta(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &aperta);
        QCoreApplication::sendEvent(widget(), &solta);
    }
};

// Qt moves a masked edit's cursor to its first blank as Tab brings the focus in, before it
// tells a reader of the focus: Orca takes the cursor's move for the focus and reads nothing.
// Out of focus the cursor waits at the start already, so that nothing moves then.
class TCursorNoInicio : public QObject
{
public:
    explicit TCursorNoInicio(QLineEdit *edicao)
        : QObject(edicao)
        , m_edicao(edicao)
    {
        connect(edicao, &QLineEdit::textChanged, this, &TCursorNoInicio::VoltaAoInicio);
        // At once when the focus leaves (the next key may bring it back), and whatever event
        // filters the edit has: the flat look's hooks take the focus events for themselves.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *antes, QWidget *) {
            if (antes == m_edicao)
                VoltaAoInicio();
        });
        VoltaAoInicio();
    }

private:
    void VoltaAoInicio()
    {
        if (m_edicao && !m_edicao->hasFocus() && !m_edicao->inputMask().isEmpty())
            m_edicao->setCursorPosition(0);
    }

    QPointer<QLineEdit> m_edicao;
};

const char *const PropriedadeLink = "zelvanoLink";
const char *const PropriedadeTextoInteiro = "zelvanoTextoInteiro";

// The interface already made for the object, if it is not of the type wanted, is dropped:
// Qt makes one at the first accessibility event (a text set, a mask), and would keep it.
template <typename Tipo> void TrocaInterface(QObject *objeto)
{
    QAccessibleInterface *atual = QAccessible::queryAccessibleInterface(objeto);
    if (atual && !dynamic_cast<Tipo *>(atual))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(atual));
}

// Paints a dotted rectangle over the control (or the inside of a scrolled one) while it has
// the focus.
class TMostraFoco : public QObject
{
public:
    TMostraFoco(QWidget *controle, const QColor &cor)
        : QObject(controle)
        , m_controle(controle)
        , m_cor(cor)
    {
        auto *rolagem = qobject_cast<QAbstractScrollArea *>(controle);
        m_tela = rolagem ? rolagem->viewport() : controle;
        m_tela->installEventFilter(this);
        // Not the control's focus events: the flat look's hooks may take them for themselves.
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget *antes, QWidget *agora) {
            if (antes == m_controle || agora == m_controle)
                m_tela->update();
        });
    }

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        if (objeto != m_tela || evento->type() != QEvent::Paint || !m_controle->hasFocus())
            return false;
        // The control paints itself first; the rectangle goes over what it drew.
        static_cast<QObject *>(m_tela)->event(evento);
        QPainter pintor(m_tela);
        pintor.setPen(QPen(m_cor, 1, Qt::DotLine));
        pintor.drawRect(m_tela->rect().adjusted(0, 0, -1, -1));
        return true;
    }

private:
    QWidget *m_controle;
    QWidget *m_tela;
    QColor m_cor;
};

QAccessibleInterface *Fabrica(const QString &classe, QObject *objeto)
{
    if (classe == QLatin1String("QCalendarView"))
        if (auto *vista = qobject_cast<QAbstractItemView *>(objeto); CalendarioDaVista(vista))
            return new TDiasAcessiveis(vista);
    if (classe == QLatin1String("QLineEdit") && objeto->property(PropriedadeTextoInteiro).toBool())
        return new TEdicaoAcessivel(static_cast<QLineEdit *>(objeto));
    if (classe == QLatin1String("QLabel") && objeto->property(PropriedadeLink).toBool())
        return new TLinkAcessivel(static_cast<QLabel *>(objeto));
    if (classe == QLatin1String("TStringGrid"))
        if (auto *grade = qobject_cast<TStringGrid *>(objeto))
            return new TTabelaAcessivel(grade);
    if (classe == QLatin1String("TGradientButton"))
        if (auto *botao = qobject_cast<TGradientButton *>(objeto))
            return new TBotaoAcessivel(botao);
    if (classe == QLatin1String("TCustomShadowLabel"))
        if (auto *rotulo = qobject_cast<TCustomShadowLabel *>(objeto))
            return new TRotuloAcessivel(rotulo);
    return nullptr;
}

} // namespace

void RegistraAcessiveis()
{
    static const bool instalada = [] {
        QAccessible::installFactory(Fabrica);
        return true;
    }();
    (void)instalada;
}

void NomeiaCalendario(QCalendarWidget *calendario)
{
    const struct
    {
        const char *objeto;
        QString nome;
    } partes[] = {
        { "qt_calendar_prevmonth", QStringLiteral("Mês anterior") },
        { "qt_calendar_nextmonth", QStringLiteral("Próximo mês") },
        { "qt_calendar_yearedit", QStringLiteral("Ano") },
    };
    for (const auto &parte : partes)
        if (auto *w = calendario->findChild<QWidget *>(QLatin1String(parte.objeto)))
            w->setAccessibleName(parte.nome);
    if (auto *vista = calendario->findChild<QAbstractItemView *>(QStringLiteral("qt_calendar_calendarview")))
        new TAnunciaDia(calendario, vista);
}

QString DataFalada(const QCalendarWidget &calendario)
{
    return calendario.locale().toString(calendario.selectedDate(), QLocale::LongFormat);
}

void DescreveLinhas(TStringGrid *grade, std::function<QString(int ARow)> descricao)
{
    delete TDescricaoLinhas::Da(*grade);
    new TDescricaoLinhas(grade, std::move(descricao));
}

void ExpoeComoLink(QLabel *rotulo)
{
    rotulo->setProperty(PropriedadeLink, true);
    TrocaInterface<TLinkAcessivel>(rotulo);
}

void ExpoeTextoInteiro(QLineEdit *edicao)
{
    edicao->setProperty(PropriedadeTextoInteiro, true);
    TrocaInterface<TEdicaoAcessivel>(edicao);
    new TCursorNoInicio(edicao);
}

void MostraFoco(QWidget *controle, const QColor &cor)
{
    new TMostraFoco(controle, cor);
}
