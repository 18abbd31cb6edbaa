#include "controls/stringgrid.h"

#include "controls/drawtext.h"

#include <QAccessible>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

namespace {

const QColor CorLinha(0xC0, 0xC0, 0xC0); // lines between ordinary cells
const QColor CorLinhaFixa(0x00, 0x00, 0x00); // lines between fixed cells
const QColor CorBorda3DClara(0xFF, 0xFF, 0xFF);
const QColor CorBorda3DEscura(0x80, 0x80, 0x80);

} // namespace

void TCanvas::FillRect(const QRect &rect)
{
    if (Painter)
        Painter->fillRect(rect, Brush);
}

void TCanvas::AplicaFonte()
{
    if (!Painter)
        return;
    Painter->setFont(Font);
    Painter->setPen(Font.Color);
}

TStringGrid::TStringGrid(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    m_colWidths = QList<int>(m_colCount, m_defaultColWidth);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    AtualizaBarras();
}

TStringGrid::~TStringGrid() = default;

QString TStringGrid::Cells(int ACol, int ARow) const
{
    if (ARow < 0 || ARow >= m_celulas.size() || ACol < 0)
        return {};
    const QStringList &linha = m_celulas.at(ARow);
    return ACol < linha.size() ? linha.at(ACol) : QString();
}

void TStringGrid::setCells(int ACol, int ARow, const QString &texto)
{
    if (ACol < 0 || ARow < 0)
        return;
    if (ARow >= m_celulas.size()) {
        if (texto.isEmpty())
            return; // nothing stored there reads as empty already
        m_celulas.resize(ARow + 1);
    }
    QStringList &linha = m_celulas[ARow];
    if (ACol >= linha.size()) {
        if (texto.isEmpty())
            return;
        linha.resize(ACol + 1);
    }
    if (linha.at(ACol) == texto)
        return;
    linha[ACol] = texto;
    AtualizaCelula(ACol, ARow);
    AnunciaMudanca();
}

void TStringGrid::setColCount(int valor)
{
    valor = std::max(valor, 1);
    if (valor == m_colCount)
        return;
    if (valor <= m_fixedCols) {
        m_fixedCols = valor - 1;
        m_leftCol = m_fixedCols;
    }
    m_colCount = valor;
    while (m_colWidths.size() < m_colCount)
        m_colWidths.push_back(m_defaultColWidth);
    m_col = std::clamp(m_col, m_fixedCols, m_colCount - 1);
    m_ancoraCol = std::clamp(m_ancoraCol, m_fixedCols, m_colCount - 1);
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, MaxLeftCol());
    AtualizaBarras();
    viewport()->update();
    AnunciaMudanca();
}

void TStringGrid::setRowCount(int valor)
{
    valor = std::max(valor, 1);
    if (valor == m_rowCount)
        return;
    if (valor <= m_fixedRows) {
        m_fixedRows = valor - 1;
        m_topRow = m_fixedRows;
    }
    m_rowCount = valor;
    m_row = std::clamp(m_row, m_fixedRows, m_rowCount - 1);
    m_ancoraRow = std::clamp(m_ancoraRow, m_fixedRows, m_rowCount - 1);
    m_topRow = std::clamp(m_topRow, m_fixedRows, MaxTopRow());
    AtualizaBarras();
    viewport()->update();
    AnunciaMudanca();
}

void TStringGrid::setFixedCols(int valor)
{
    if (valor == m_fixedCols || valor < 0 || valor >= m_colCount)
        return;
    m_fixedCols = valor;
    m_col = std::max(m_col, m_fixedCols);
    m_ancoraCol = std::max(m_ancoraCol, m_fixedCols);
    m_leftCol = m_fixedCols; // back to the first scrolling column
    AtualizaBarras();
    viewport()->update();
    AnunciaMudanca();
}

void TStringGrid::setFixedRows(int valor)
{
    if (valor == m_fixedRows || valor < 0 || valor >= m_rowCount)
        return;
    m_fixedRows = valor;
    m_row = std::max(m_row, m_fixedRows);
    m_ancoraRow = std::max(m_ancoraRow, m_fixedRows);
    m_topRow = m_fixedRows; // back to the first scrolling row
    AtualizaBarras();
    viewport()->update();
    AnunciaMudanca();
}

void TStringGrid::setColunaDeDados(int ACol, bool valor)
{
    if (ACol < 0 || ColunaDeDados(ACol) == valor)
        return;
    if (valor)
        m_colunasDeDados.push_back(ACol);
    else
        m_colunasDeDados.removeAll(ACol);
    AnunciaMudanca();
}

void TStringGrid::EscolheLinha(int ARow)
{
    if (ARow < m_fixedRows || ARow >= m_rowCount)
        return;
    if (MoveAtual(m_col, ARow, false))
        Clicou();
}

void TStringGrid::setDefaultColWidth(int valor)
{
    if (valor == m_defaultColWidth || valor < 0)
        return;
    m_defaultColWidth = valor;
    m_colWidths.fill(valor);
    AtualizaBarras();
    viewport()->update();
}

int TStringGrid::ColWidths(int ACol) const
{
    return ACol >= 0 && ACol < m_colWidths.size() ? m_colWidths.at(ACol) : m_defaultColWidth;
}

void TStringGrid::setColWidths(int ACol, int largura)
{
    if (ACol < 0 || ACol >= m_colCount || largura < 0 || m_colWidths.at(ACol) == largura)
        return;
    m_colWidths[ACol] = largura;
    AtualizaBarras();
    viewport()->update();
    AnunciaMudanca();
}

void TStringGrid::setDefaultRowHeight(int valor)
{
    if (valor == m_defaultRowHeight || valor < 0)
        return;
    m_defaultRowHeight = valor;
    AtualizaBarras();
    viewport()->update();
}

void TStringGrid::setColor(const QColor &cor)
{
    if (cor == m_color)
        return;
    m_color = cor;
    viewport()->update();
}

void TStringGrid::setFixedColor(const QColor &cor)
{
    if (cor == m_fixedColor)
        return;
    m_fixedColor = cor;
    viewport()->update();
}

void TStringGrid::setFontColor(const QColor &cor)
{
    if (cor == m_fontColor)
        return;
    m_fontColor = cor;
    viewport()->update();
}

void TStringGrid::setOptions(TGridOptions valor)
{
    if (valor == m_options)
        return;
    m_options = valor;
    if (!(m_options & GO::goRangeSelect)) {
        m_ancoraCol = m_col;
        m_ancoraRow = m_row;
    }
    AtualizaBarras();
    viewport()->update();
}

void TStringGrid::setScrollBars(TScrollStyle valor)
{
    if (valor == m_scrollBars)
        return;
    m_scrollBars = valor;
    const bool vertical = valor == ssVertical || valor == ssBoth;
    const bool horizontal = valor == ssHorizontal || valor == ssBoth;
    setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    AtualizaBarras();
}

void TStringGrid::setDefaultDrawing(bool valor)
{
    if (valor == m_defaultDrawing)
        return;
    m_defaultDrawing = valor;
    viewport()->update();
}

void TStringGrid::setCol(int valor)
{
    if (valor < m_fixedCols || valor >= m_colCount)
        return;
    MoveAtual(valor, m_row, false);
}

void TStringGrid::setRow(int valor)
{
    if (valor < m_fixedRows || valor >= m_rowCount)
        return;
    MoveAtual(m_col, valor, false);
}

void TStringGrid::setTopRow(int valor)
{
    valor = std::clamp(valor, m_fixedRows, MaxTopRow());
    if (valor == m_topRow)
        return;
    m_topRow = valor;
    AtualizaBarras();
    viewport()->update();
}

void TStringGrid::setLeftCol(int valor)
{
    valor = std::clamp(valor, m_fixedCols, MaxLeftCol());
    if (valor == m_leftCol)
        return;
    m_leftCol = valor;
    AtualizaBarras();
    viewport()->update();
}

QRect TStringGrid::Selection() const
{
    if (m_options & GO::goRowSelect)
        return QRect(
            QPoint(m_fixedCols, std::min(m_row, m_ancoraRow)), QPoint(m_colCount - 1, std::max(m_row, m_ancoraRow)));
    return QRect(QPoint(std::min(m_col, m_ancoraCol), std::min(m_row, m_ancoraRow)),
        QPoint(std::max(m_col, m_ancoraCol), std::max(m_row, m_ancoraRow)));
}

int TStringGrid::VisibleRowCount() const
{
    const int passo = m_defaultRowHeight + LarguraLinhaH();
    if (passo <= 0)
        return 0;
    const int livre = viewport()->height() - AlturaFixa();
    int linhas = std::max(livre / passo, 0);
    // A last row whose grid line is cut off still counts as wholly shown.
    if (livre - linhas * passo >= m_defaultRowHeight)
        ++linhas;
    return std::min(linhas, m_rowCount - m_topRow);
}

void TStringGrid::setPopupMenu(QMenu *menu)
{
    if (menu == m_popupMenu)
        return;
    m_popupMenu = menu; // a QPointer: cleared when the menu is destroyed
}

int TStringGrid::LarguraLinhaV() const
{
    return (m_options & (GO::goFixedVertLine | GO::goVertLine)) ? 1 : 0;
}

int TStringGrid::LarguraLinhaH() const
{
    return (m_options & (GO::goFixedHorzLine | GO::goHorzLine)) ? 1 : 0;
}

int TStringGrid::LarguraFixa() const
{
    int x = 0;
    for (int c = 0; c < m_fixedCols; ++c)
        x += ColWidths(c) + LarguraLinhaV();
    return x;
}

int TStringGrid::AlturaFixa() const
{
    return m_fixedRows * (m_defaultRowHeight + LarguraLinhaH());
}

int TStringGrid::XColuna(int ACol) const
{
    if (ACol < m_fixedCols) {
        int x = 0;
        for (int c = 0; c < ACol; ++c)
            x += ColWidths(c) + LarguraLinhaV();
        return x;
    }
    int x = LarguraFixa();
    for (int c = m_leftCol; c < ACol; ++c)
        x += ColWidths(c) + LarguraLinhaV();
    return x;
}

int TStringGrid::YLinha(int ARow) const
{
    const int passo = m_defaultRowHeight + LarguraLinhaH();
    if (ARow < m_fixedRows)
        return ARow * passo;
    return AlturaFixa() + (ARow - m_topRow) * passo;
}

QRect TStringGrid::RetanguloCelula(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= m_colCount || ARow < 0 || ARow >= m_rowCount)
        return {};
    if ((ACol >= m_fixedCols && ACol < m_leftCol) || (ARow >= m_fixedRows && ARow < m_topRow))
        return {};
    const QRect celula(XColuna(ACol), YLinha(ARow), ColWidths(ACol), m_defaultRowHeight);
    if (celula.left() >= viewport()->width() || celula.top() >= viewport()->height())
        return {};
    return celula;
}

bool TStringGrid::CelulaNoPonto(const QPoint &ponto, int &ACol, int &ARow) const
{
    if (ponto.x() < 0 || ponto.y() < 0)
        return false;
    int coluna = -1;
    for (int c = 0; c < m_colCount; ++c) {
        if (c >= m_fixedCols && c < m_leftCol)
            continue;
        const int x = XColuna(c);
        if (x > ponto.x())
            break;
        if (ponto.x() < x + ColWidths(c) + LarguraLinhaV()) {
            coluna = c;
            break;
        }
    }
    const int passo = m_defaultRowHeight + LarguraLinhaH();
    int linha = -1;
    if (passo > 0) {
        if (ponto.y() < AlturaFixa())
            linha = ponto.y() / passo;
        else
            linha = m_topRow + (ponto.y() - AlturaFixa()) / passo;
    }
    if (coluna < 0 || linha < 0 || linha >= m_rowCount)
        return false;
    ACol = coluna;
    ARow = linha;
    return true;
}

int TStringGrid::MaxTopRow() const
{
    const int passo = m_defaultRowHeight + LarguraLinhaH();
    if (passo <= 0)
        return m_fixedRows;
    const int livre = viewport()->height() - AlturaFixa();
    int cabem = std::max(livre / passo, 1);
    if (livre - cabem * passo >= m_defaultRowHeight)
        ++cabem;
    return std::max(m_fixedRows, m_rowCount - cabem);
}

int TStringGrid::MaxLeftCol() const
{
    int livre = viewport()->width() - LarguraFixa();
    int c = m_colCount - 1;
    // Walk back from the last column while the columns still fit.
    while (c > m_fixedCols && livre - (ColWidths(c) + LarguraLinhaV()) >= ColWidths(c - 1)) {
        livre -= ColWidths(c) + LarguraLinhaV();
        --c;
    }
    return std::clamp(c, m_fixedCols, std::max(m_fixedCols, m_colCount - 1));
}

// The scroll bars count rows and columns, not pixels.
void TStringGrid::AtualizaBarras()
{
    m_topRow = std::clamp(m_topRow, m_fixedRows, MaxTopRow());
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, MaxLeftCol());
    // Not blocking the bars' signals: the scroll area shows and hides them on rangeChanged.
    m_ajustandoBarras = true;
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, MaxTopRow() - m_fixedRows);
    v->setPageStep(std::max(VisibleRowCount(), 1));
    v->setSingleStep(1);
    v->setValue(m_topRow - m_fixedRows);
    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, MaxLeftCol() - m_fixedCols);
    h->setPageStep(1);
    h->setSingleStep(1);
    h->setValue(m_leftCol - m_fixedCols);
    m_ajustandoBarras = false;
}

void TStringGrid::AtualizaCelula(int ACol, int ARow)
{
    const QRect celula = RetanguloCelula(ACol, ARow);
    if (!celula.isEmpty())
        viewport()->update(celula.adjusted(0, 0, 1, 1));
}

bool TStringGrid::MoveAtual(int ACol, int ARow, bool estende)
{
    ACol = std::clamp(ACol, m_fixedCols, m_colCount - 1);
    ARow = std::clamp(ARow, m_fixedRows, m_rowCount - 1);
    if (ACol < 0 || ARow < 0)
        return false;
    const bool mudou = ACol != m_col || ARow != m_row;
    const bool estendendo = estende && (m_options & GO::goRangeSelect);
    const bool ancoraMudou = !estendendo && (m_ancoraCol != ACol || m_ancoraRow != ARow);
    m_col = ACol;
    m_row = ARow;
    if (!estendendo) {
        m_ancoraCol = ACol;
        m_ancoraRow = ARow;
    }
    if (mudou || ancoraMudou || estendendo) {
        MostraAtual();
        viewport()->update();
        AnunciaAtual();
    }
    return mudou;
}

QList<int> TStringGrid::ColunasLidas() const
{
    QList<int> colunas;
    for (int c = 0; c < m_colCount; ++c)
        if (ColWidths(c) > 0 && !ColunaDeDados(c))
            colunas.push_back(c);
    return colunas;
}

int TStringGrid::IndiceCelulaAcessivel(int ACol, int ARow) const
{
    const QList<int> colunas = ColunasLidas();
    const int coluna = int(colunas.indexOf(ACol));
    // The header is the last fixed row; the table's rows are the rows below the fixed ones.
    const int cabecalho = m_fixedRows > 0 ? 1 : 0;
    const int linha = ARow - (m_fixedRows - cabecalho);
    if (coluna < 0 || linha < 0 || ARow >= RowCount())
        return -1;
    return linha * int(colunas.size()) + coluna;
}

int TStringGrid::ColunaDoFocoAcessivel() const
{
    const QList<int> colunas = ColunasLidas();
    if (colunas.isEmpty() || (colunas.contains(m_col) && !(m_options & GO::goRowSelect)))
        return m_col;
    return colunas.first();
}

void TStringGrid::AnunciaAtual()
{
    if (!QAccessible::isActive())
        return;
    const int indice = IndiceCelulaAcessivel(ColunaDoFocoAcessivel(), m_row);
    if (indice < 0)
        return;
    QAccessibleEvent selecao(this, QAccessible::Selection);
    selecao.setChild(indice);
    QAccessible::updateAccessibility(&selecao);
    if (hasFocus()) {
        QAccessibleEvent foco(this, QAccessible::Focus);
        foco.setChild(indice);
        QAccessible::updateAccessibility(&foco);
    }
}

void TStringGrid::AnunciaMudanca()
{
    if (m_mudancaPendente || !QAccessible::isActive())
        return;
    // A refresh writes many cells; readers hear of it once, when it is done.
    m_mudancaPendente = true;
    QTimer::singleShot(0, this, [this] {
        m_mudancaPendente = false;
        QAccessibleTableModelChangeEvent mudanca(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&mudanca);
        AnunciaAtual();
    });
}

void TStringGrid::MostraAtual()
{
    if (m_row >= m_fixedRows) {
        if (m_row < m_topRow)
            setTopRow(m_row);
        else if (m_row >= m_topRow + std::max(VisibleRowCount(), 1))
            setTopRow(m_row - std::max(VisibleRowCount(), 1) + 1);
    }
    if (!(m_options & GO::goRowSelect) && m_col >= m_fixedCols) {
        if (m_col < m_leftCol)
            setLeftCol(m_col);
        else
            while (m_leftCol < m_col && XColuna(m_col) + ColWidths(m_col) > viewport()->width())
                setLeftCol(m_leftCol + 1);
    }
}

void TStringGrid::Clicou()
{
    if (OnClick)
        OnClick(this);
}

void TStringGrid::DrawCell(int ACol, int ARow, QRect ARect, TGridDrawState AState)
{
    if (m_defaultDrawing) {
        // The plain grid writes the text as it stands, 2 pixels in from the corner.
        m_canvas.AplicaFonte();
        QRect texto = ARect.adjusted(2, 2, 0, 0);
        m_canvas.Painter->save();
        m_canvas.Painter->setClipRect(ARect, Qt::IntersectClip);
        DrawText(*m_canvas.Painter, Cells(ACol, ARow), texto, DT::Left | DT::SingleLine | DT::NoPrefix);
        m_canvas.Painter->restore();
    }
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

bool TStringGrid::event(QEvent *evento)
{
    // The popup menu's shortcut keys belong to the grid while it has the focus.
    if (evento->type() == QEvent::ShortcutOverride && AtalhoDoMenu(static_cast<QKeyEvent *>(evento))) {
        evento->accept();
        return true;
    }
    return QAbstractScrollArea::event(evento);
}

QAction *TStringGrid::AtalhoDoMenu(const QKeyEvent *evento) const
{
    if (!m_popupMenu)
        return nullptr;
    const QKeySequence tecla(evento->keyCombination());
    for (QAction *acao : m_popupMenu->actions()) {
        if (!acao->isEnabled() || !acao->isVisible())
            continue;
        for (const QKeySequence &atalho : acao->shortcuts())
            if (atalho.matches(tecla) == QKeySequence::ExactMatch)
                return acao;
    }
    return nullptr;
}

void TStringGrid::paintEvent(QPaintEvent *evento)
{
    QPainter painter(viewport());
    painter.setClipRegion(evento->region());
    m_canvas.Painter = &painter;
    m_canvas.Brush = QBrush(m_color);
    m_canvas.Font = TFont(font(), m_fontColor);

    const QList<int> linhas = LinhasMostradas();
    const QList<int> colunas = ColunasMostradas();
    for (int r : linhas)
        for (int c : colunas)
            PintaCelula(painter, evento->region(), c, r);
    const QPoint fim = FimDasCelulas(colunas, linhas);
    DesenhaLinhas(painter, fim.x(), fim.y());
    PintaAlemDasCelulas(painter, fim);
    MarcaLinhaAtual(painter, fim.x());
    m_canvas.Painter = nullptr;
    RedesenhaMoldura(painter);
}

// At a fractional scale (1.5) the style draws the frame's bottom line half a pixel up, on device
// pixels that the viewport, painted after the frame, covers: the line was lost. The frame is
// drawn again over what the viewport shares with it; at whole scales they share nothing and
// the clip leaves every pixel as it was.
void TStringGrid::RedesenhaMoldura(QPainter &painter)
{
    if (frameShape() == QFrame::NoFrame)
        return;
    painter.save();
    painter.translate(-viewport()->pos());
    drawFrame(&painter);
    painter.restore();
}

QList<int> TStringGrid::LinhasMostradas() const
{
    QList<int> linhas;
    for (int r = 0; r < m_fixedRows; ++r)
        linhas.push_back(r);
    for (int r = m_topRow; r < m_rowCount && YLinha(r) < viewport()->height(); ++r)
        linhas.push_back(r);
    return linhas;
}

QList<int> TStringGrid::ColunasMostradas() const
{
    QList<int> colunas;
    for (int c = 0; c < m_fixedCols; ++c)
        colunas.push_back(c);
    for (int c = m_leftCol; c < m_colCount && XColuna(c) < viewport()->width(); ++c)
        colunas.push_back(c);
    return colunas;
}

QPoint TStringGrid::FimDasCelulas(const QList<int> &colunas, const QList<int> &linhas) const
{
    // Without a cell shown there is nothing to end: the whole viewport is beyond.
    if (colunas.isEmpty() || linhas.isEmpty())
        return {};
    int direita = 0;
    for (int c : colunas)
        direita = std::max(direita, XColuna(c) + ColWidths(c) + LarguraLinhaV());
    int base = 0;
    for (int r : linhas)
        base = std::max(base, YLinha(r) + m_defaultRowHeight + LarguraLinhaH());
    return { direita, base };
}

TGridDrawState TStringGrid::EstadoDaCelula(int ACol, int ARow) const
{
    if (ACol < m_fixedCols || ARow < m_fixedRows)
        return GD::gdFixed;
    TGridDrawState estado = 0;
    if (hasFocus() && ACol == m_col && ARow == m_row)
        estado |= GD::gdFocused;
    if (Selection().contains(ACol, ARow))
        estado |= GD::gdSelected;
    return estado;
}

void TStringGrid::PintaCelula(QPainter &painter, const QRegion &regiao, int ACol, int ARow)
{
    const QRect celula(XColuna(ACol), YLinha(ARow), ColWidths(ACol), m_defaultRowHeight);
    if (!regiao.intersects(celula))
        return;
    const TGridDrawState estado = EstadoDaCelula(ACol, ARow);
    const bool fixa = estado & GD::gdFixed;
    painter.save();
    if (m_defaultDrawing) {
        const bool destacaFocado = m_options & (GO::goDrawFocusSelected | GO::goRowSelect);
        m_canvas.Font = TFont(font(), m_fontColor);
        if (fixa)
            m_canvas.Brush = QBrush(m_fixedColor);
        else if ((estado & GD::gdSelected) && (!(estado & GD::gdFocused) || destacaFocado)) {
            m_canvas.Brush = QBrush(palette().color(QPalette::Highlight));
            m_canvas.Font.Color = palette().color(QPalette::HighlightedText);
        } else
            m_canvas.Brush = QBrush(m_color);
        m_canvas.FillRect(celula);
    }
    DrawCell(ACol, ARow, celula, estado);
    painter.restore();
    if (m_defaultDrawing && fixa) {
        // Raised edge: light on the top and left, shadow on the bottom and right.
        painter.setPen(CorBorda3DClara);
        painter.drawLine(celula.topLeft(), celula.topRight());
        painter.drawLine(celula.topLeft(), celula.bottomLeft());
        painter.setPen(CorBorda3DEscura);
        painter.drawLine(celula.bottomLeft(), celula.bottomRight());
        painter.drawLine(celula.topRight(), celula.bottomRight());
    }
    if (m_defaultDrawing && (estado & GD::gdFocused) && !(m_options & GO::goRowSelect))
        RetanguloDeFoco(painter, celula);
}

void TStringGrid::PintaAlemDasCelulas(QPainter &painter, QPoint fim)
{
    // Beyond the last column and row the grid shows its own colour.
    QRegion fora(viewport()->rect());
    fora -= QRect(0, 0, fim.x(), fim.y());
    for (const QRect &r : fora)
        painter.fillRect(r, m_color);
}

void TStringGrid::MarcaLinhaAtual(QPainter &painter, int direita)
{
    if (!m_defaultDrawing || !hasFocus() || !(m_options & GO::goRowSelect) || m_row < m_topRow)
        return;
    const QRect primeira = RetanguloCelula(std::max(m_leftCol, m_fixedCols), m_row);
    if (primeira.isEmpty())
        return;
    RetanguloDeFoco(painter,
        QRect(primeira.left(), primeira.top(), direita - primeira.left() - LarguraLinhaV(), m_defaultRowHeight));
}

// The dotted focus outline drawn just inside the rectangle, inverting what lies under it.
void TStringGrid::RetanguloDeFoco(QPainter &painter, const QRect &r)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
    painter.drawRect(r.adjusted(0, 0, -1, -1));
    painter.restore();
}

void TStringGrid::DesenhaLinhas(QPainter &painter, int direita, int base)
{
    const int lv = LarguraLinhaV();
    const int lh = LarguraLinhaH();
    const int fixaX = LarguraFixa();
    const int fixaY = AlturaFixa();
    auto linhaV = [&](int x, int y0, int y1, const QColor &cor) {
        if (y1 > y0)
            painter.fillRect(QRect(x, y0, 1, y1 - y0), cor);
    };
    auto linhaH = [&](int y, int x0, int x1, const QColor &cor) {
        if (x1 > x0)
            painter.fillRect(QRect(x0, y, x1 - x0, 1), cor);
    };
    if (lv) {
        for (int c = 0; c < m_colCount; ++c) {
            if (c >= m_fixedCols && c < m_leftCol)
                continue;
            const int x = XColuna(c) + ColWidths(c);
            if (x >= direita)
                break;
            const bool colunaFixa = c < m_fixedCols;
            // A fixed column's line runs the whole height; a scrolling column's line crosses the
            // fixed rows too, drawn as a fixed line there.
            if (colunaFixa) {
                if (m_options & GO::goFixedVertLine)
                    linhaV(x, 0, base, CorLinhaFixa);
            } else {
                if (m_options & GO::goFixedVertLine)
                    linhaV(x, 0, fixaY, CorLinhaFixa);
                if (m_options & GO::goVertLine)
                    linhaV(x, fixaY, base, CorLinha);
            }
        }
    }
    if (lh) {
        for (int i = 0; i < m_rowCount; ++i) {
            if (i >= m_fixedRows && i < m_topRow)
                continue;
            const int y = YLinha(i) + m_defaultRowHeight;
            if (y >= base)
                break;
            if (i < m_fixedRows) {
                if (m_options & GO::goFixedHorzLine)
                    linhaH(y, 0, direita, CorLinhaFixa);
            } else {
                if (m_options & GO::goFixedHorzLine)
                    linhaH(y, 0, fixaX, CorLinhaFixa);
                if (m_options & GO::goHorzLine)
                    linhaH(y, fixaX, direita, CorLinha);
            }
        }
    }
}

void TStringGrid::resizeEvent(QResizeEvent *evento)
{
    QAbstractScrollArea::resizeEvent(evento);
    AtualizaBarras();
}

void TStringGrid::scrollContentsBy(int, int)
{
    if (m_ajustandoBarras)
        return;
    const int topo = m_fixedRows + verticalScrollBar()->value();
    const int esquerda = m_fixedCols + horizontalScrollBar()->value();
    if (topo == m_topRow && esquerda == m_leftCol)
        return;
    m_topRow = topo;
    m_leftCol = esquerda;
    viewport()->update();
}

void TStringGrid::mousePressEvent(QMouseEvent *evento)
{
    if (evento->button() == Qt::RightButton) {
        // The popup menu acts on the current row, so the row under the pointer becomes current
        // before the menu opens, as a left press would make it; a press on a fixed cell or
        // past the last row leaves the current row as it was.
        int c = 0;
        int r = 0;
        setFocus(Qt::MouseFocusReason);
        if (CelulaNoPonto(evento->position().toPoint(), c, r) && c >= m_fixedCols && r >= m_fixedRows
            && MoveAtual(c, r, false))
            Clicou();
        QAbstractScrollArea::mousePressEvent(evento);
        return;
    }
    if (evento->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(evento);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    int c = 0;
    int r = 0;
    if (!CelulaNoPonto(evento->position().toPoint(), c, r) || c < m_fixedCols || r < m_fixedRows)
        return;
    m_selecionando = true;
    MoveAtual(c, r, evento->modifiers() & Qt::ShiftModifier);
}

void TStringGrid::mouseMoveEvent(QMouseEvent *evento)
{
    if (!m_selecionando || !(evento->buttons() & Qt::LeftButton))
        return;
    int c = 0;
    int r = 0;
    const QPoint ponto = evento->position().toPoint();
    if (!CelulaNoPonto(ponto, c, r)) {
        // Dragging past the edge keeps scrolling towards it.
        if (ponto.y() >= viewport()->height())
            r = std::min(m_row + 1, m_rowCount - 1);
        else if (ponto.y() < AlturaFixa())
            r = std::max(m_row - 1, m_fixedRows);
        else
            return;
        c = m_col;
    }
    MoveAtual(std::max(c, m_fixedCols), std::max(r, m_fixedRows), true);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *evento)
{
    evento->accept();
    if (evento->button() == Qt::LeftButton && m_selecionando) {
        m_selecionando = false;
        Clicou();
    }
}

void TStringGrid::keyPressEvent(QKeyEvent *evento)
{
    if (QAction *acao = AtalhoDoMenu(evento)) {
        acao->trigger();
        evento->accept();
        return;
    }
    // The menu key and Shift+F10 open the popup menu on the current row.
    const bool teclaDeMenu = evento->key() == Qt::Key_Menu && evento->modifiers() == Qt::NoModifier;
    if ((teclaDeMenu || (evento->key() == Qt::Key_F10 && evento->modifiers() == Qt::ShiftModifier)) && m_popupMenu) {
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, QPoint(), QPoint());
        contextMenuEvent(&menu);
        return;
    }
    const bool ctrl = evento->modifiers() & Qt::ControlModifier;
    const bool shift = evento->modifiers() & Qt::ShiftModifier;
    const bool porLinha = m_options & GO::goRowSelect;
    const int pagina = std::max(VisibleRowCount(), 1);
    int c = m_col;
    int r = m_row;
    switch (evento->key()) {
    case Qt::Key_Up:
        --r;
        break;
    case Qt::Key_Down:
        ++r;
        break;
    case Qt::Key_Left:
        if (porLinha) {
            setLeftCol(m_leftCol - 1);
            return;
        }
        --c;
        break;
    case Qt::Key_Right:
        if (porLinha) {
            setLeftCol(m_leftCol + 1);
            return;
        }
        ++c;
        break;
    case Qt::Key_PageUp:
        r -= pagina;
        setTopRow(m_topRow - pagina);
        break;
    case Qt::Key_PageDown:
        r += pagina;
        setTopRow(m_topRow + pagina);
        break;
    case Qt::Key_Home:
        // With whole rows selected there is no column to go to: Home goes to the first row.
        if (ctrl || porLinha)
            r = m_fixedRows;
        c = m_fixedCols;
        break;
    case Qt::Key_End:
        if (ctrl || porLinha)
            r = m_rowCount - 1;
        c = m_colCount - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(evento);
        return;
    }
    evento->accept();
    if (MoveAtual(c, r, shift))
        Clicou();
}

void TStringGrid::contextMenuEvent(QContextMenuEvent *evento)
{
    if (!m_popupMenu) {
        QAbstractScrollArea::contextMenuEvent(evento);
        return;
    }
    // From the keyboard the menu opens on the current cell, the one it acts on.
    QPoint ponto = evento->globalPos();
    if (evento->reason() == QContextMenuEvent::Keyboard) {
        const QRect celula = RetanguloCelula(std::max(m_col, m_leftCol), m_row);
        ponto = viewport()->mapToGlobal(celula.isEmpty() ? QPoint(0, 0) : celula.bottomLeft());
    }
    m_popupMenu->popup(ponto);
    evento->accept();
}

void TStringGrid::focusInEvent(QFocusEvent *evento)
{
    QAbstractScrollArea::focusInEvent(evento);
    viewport()->update();
    AnunciaAtual();
}

void TStringGrid::focusOutEvent(QFocusEvent *evento)
{
    QAbstractScrollArea::focusOutEvent(evento);
    viewport()->update();
}

void TStringGrid::changeEvent(QEvent *evento)
{
    QAbstractScrollArea::changeEvent(evento);
    if (evento->type() == QEvent::FontChange || evento->type() == QEvent::PaletteChange)
        viewport()->update();
}
