#include "controls/acessivel.h"

#include "controls/gradientbutton.h"
#include "controls/shadowlabel.h"
#include "controls/stringgrid.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QHash>
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

// The columns a reader is offered: those the user can see, leaving out the data columns the
// program keeps for itself and the columns without width.
QList<int> ColunasLidas(const TStringGrid &grade)
{
    QList<int> colunas;
    for (int c = 0; c < grade.ColCount(); ++c)
        if (grade.ColWidths(c) > 0 && !grade.ColunaDeDados(c))
            colunas.push_back(c);
    return colunas;
}

// The header is the last fixed row; the table's rows are the rows below the fixed ones.
bool TemCabecalho(const TStringGrid &grade)
{
    return grade.FixedRows() > 0;
}

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
        return m_grade && m_linha < m_grade->RowCount() && IndiceCelulaAcessivel(*m_grade, m_coluna, m_linha) >= 0;
    }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grade); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text tipo) const override
    {
        if (!m_grade || (tipo != QAccessible::Name && tipo != QAccessible::Value))
            return {};
        return m_grade->Cells(m_coluna, m_linha);
    }
    void setText(QAccessible::Text, const QString &) override { }

    QRect rect() const override
    {
        if (!m_grade)
            return {};
        const QRect r = m_grade->CellRect(m_coluna, m_linha);
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
        if (m_grade->CellRect(m_coluna, m_linha).isEmpty() || !m_grade->isVisible())
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
    int columnIndex() const override { return m_grade ? int(ColunasLidas(*m_grade).indexOf(m_coluna)) : -1; }
    int rowIndex() const override { return m_grade ? m_linha - m_grade->FixedRows() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    static int ColunaDoFoco(const TStringGrid &grade) { return ColunaDoFocoAcessivel(grade); }

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
        if (IndiceCelulaAcessivel(*Grade(), coluna, linha) < 0)
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
        return int(ColunasLidas(*Grade()).size()) * ((TemCabecalho(*Grade()) ? 1 : 0) + rowCount());
    }

    QAccessibleInterface *child(int indice) const override
    {
        const QList<int> colunas = ColunasLidas(*Grade());
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
                return IndiceCelulaAcessivel(*Grade(), int(i.key() & 0xFFFFFFFFu), int(i.key() >> 32));
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        int c = 0;
        int r = 0;
        const QPoint ponto = Grade()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!Grade()->MouseToCell(ponto, c, r))
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
        const QList<int> colunas = ColunasLidas(*Grade());
        if (linha < 0 || linha >= rowCount() || coluna < 0 || coluna >= colunas.size())
            return nullptr;
        return Celula(colunas.at(coluna), Grade()->FixedRows() + linha);
    }
    int selectedCellCount() const override { return int(selectedRows().size() * ColunasLidas(*Grade()).size()); }
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
        const QList<int> colunas = ColunasLidas(*Grade());
        if (!TemCabecalho(*Grade()) || coluna < 0 || coluna >= colunas.size())
            return {};
        return Grade()->Cells(colunas.at(coluna), Grade()->FixedRows() - 1);
    }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return int(selectedRows().size()); }
    int columnCount() const override { return int(ColunasLidas(*Grade()).size()); }
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

QAccessibleInterface *Fabrica(const QString &classe, QObject *objeto)
{
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

int IndiceCelulaAcessivel(const TStringGrid &grade, int ACol, int ARow)
{
    const QList<int> colunas = ColunasLidas(grade);
    const int coluna = int(colunas.indexOf(ACol));
    const int cabecalho = TemCabecalho(grade) ? 1 : 0;
    const int linha = ARow - (grade.FixedRows() - cabecalho);
    if (coluna < 0 || linha < 0 || ARow >= grade.RowCount())
        return -1;
    return linha * int(colunas.size()) + coluna;
}

int ColunaDoFocoAcessivel(const TStringGrid &grade)
{
    const QList<int> colunas = ColunasLidas(grade);
    if (colunas.isEmpty() || (colunas.contains(grade.Col()) && !(grade.Options() & GO::goRowSelect)))
        return grade.Col();
    return colunas.first();
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
}
