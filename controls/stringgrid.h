#pragma once

#include <QAbstractScrollArea>
#include <QBrush>
#include <QColor>
#include <QFont>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QStringList>

#include <functional>

class QPainter;
class QRegion;

// Grid options as a bit set, in the classic order (bit 0 .. bit 14).
namespace GO {
enum TOpcao : unsigned {
    goFixedVertLine = 0x0001,
    goFixedHorzLine = 0x0002,
    goVertLine = 0x0004,
    goHorzLine = 0x0008,
    goRangeSelect = 0x0010,
    goDrawFocusSelected = 0x0020,
    goRowSizing = 0x0040,
    goColSizing = 0x0080,
    goRowMoving = 0x0100,
    goColMoving = 0x0200,
    goEditing = 0x0400,
    goTabs = 0x0800,
    goRowSelect = 0x1000,
    goAlwaysShowEditor = 0x2000,
    goThumbTracking = 0x4000,
};
}
using TGridOptions = unsigned;

// State of a cell being drawn, as a bit set.
namespace GD {
enum TEstado : unsigned {
    gdSelected = 0x01,
    gdFocused = 0x02,
    gdFixed = 0x04,
};
}
using TGridDrawState = unsigned;

// A font that carries its colour, as the canvas font of the cell drawing does.
struct TFont : QFont
{
    TFont() = default;
    TFont(const QFont &fonte, const QColor &cor)
        : QFont(fonte)
        , Color(cor)
    {
    }
    QColor Color = Qt::black;
};

// What a cell is drawn with while the grid paints: the painter and the live brush and font.
// Whatever a hook or callback changes on Brush and Font applies to the cell being drawn.
struct TCanvas
{
    QPainter *Painter = nullptr;
    QBrush Brush;
    TFont Font;

    void FillRect(const QRect &rect);
    // Puts Font (and its colour as the pen) on the painter before text is drawn.
    void AplicaFonte();
};

// A scrolling table of text cells addressed by column and row, with fixed header rows and
// columns. Cell texts are kept past RowCount and ColCount, so text left beyond the end shows
// again when the grid grows.
class TStringGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

    explicit TStringGrid(QWidget *parent = nullptr);
    ~TStringGrid() override;

    QString Cells(int ACol, int ARow) const;
    void setCells(int ACol, int ARow, const QString &texto);

    int ColCount() const { return m_colCount; }
    void setColCount(int valor);
    int RowCount() const { return m_rowCount; }
    // At least one row stays; when the new count is not above FixedRows, FixedRows becomes
    // the count less one.
    void setRowCount(int valor);
    int FixedCols() const { return m_fixedCols; }
    void setFixedCols(int valor); // must stay below ColCount, else ignored
    int FixedRows() const { return m_fixedRows; }
    void setFixedRows(int valor); // must stay below RowCount, else ignored

    int DefaultColWidth() const { return m_defaultColWidth; }
    void setDefaultColWidth(int valor); // resets every column to it
    int ColWidths(int ACol) const;
    void setColWidths(int ACol, int largura);
    int DefaultRowHeight() const { return m_defaultRowHeight; }
    void setDefaultRowHeight(int valor);

    QColor Color() const { return m_color; }
    void setColor(const QColor &cor);
    QColor FixedColor() const { return m_fixedColor; }
    void setFixedColor(const QColor &cor);
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(const QColor &cor);

    TGridOptions Options() const { return m_options; }
    void setOptions(TGridOptions valor);
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void setScrollBars(TScrollStyle valor);
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void setDefaultDrawing(bool valor);

    // The current cell.
    int Col() const { return m_col; }
    void setCol(int valor);
    int Row() const { return m_row; }
    void setRow(int valor);
    // First non-fixed row and column shown.
    int TopRow() const { return m_topRow; }
    void setTopRow(int valor);
    int LeftCol() const { return m_leftCol; }
    void setLeftCol(int valor);
    // The selection as columns left..right and rows top..bottom.
    QRect Selection() const;
    int VisibleRowCount() const; // non-fixed rows wholly shown

    // A data column holds what the program reads back rather than text for the user: screen
    // readers are not offered it, nor a column without width.
    bool ColunaDeDados(int ACol) const { return m_colunasDeDados.contains(ACol); }
    void setColunaDeDados(int ACol, bool valor);
    // The columns screen readers are offered, left to right: those the user can see, leaving
    // out the data columns and the columns without width.
    QList<int> ColunasLidas() const;
    // The child index under which a screen reader knows the cell, or -1 when the cell is not
    // offered (a hidden or data column, a fixed row other than the header).
    int IndiceCelulaAcessivel(int ACol, int ARow) const;
    // The cell of the current row a reader is told has the focus: the current cell, or the
    // row's first offered cell when the grid selects whole rows or the current column is not
    // offered.
    int ColunaDoFocoAcessivel() const;

    // Makes the row current as a click on it would, raising OnClick when it changed. Out of
    // the non-fixed rows nothing happens.
    void EscolheLinha(int ARow);

    QMenu *PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu);

    // Cell rectangle in viewport coordinates; empty when the cell is not shown.
    QRect RetanguloCelula(int ACol, int ARow) const;
    // The cell under a viewport point, or false when none is.
    bool CelulaNoPonto(const QPoint &ponto, int &ACol, int &ARow) const;

    // Raised when the user makes a cell current, by mouse or keyboard.
    std::function<void(QObject *sender)> OnClick;
    // Raised by the base cell drawing with the cell's rectangle; the handler draws on Canvas().
    std::function<void(QObject *sender, int ACol, int ARow, const QRect &Rect, TGridDrawState State)> OnDrawCell;

    // The canvas of the cell being drawn; its Painter is set only while the grid paints. With
    // DefaultDrawing off a paint starts with the grid's colour and font, and what a handler
    // leaves on it carries on to the next cell.
    TCanvas &Canvas() { return m_canvas; }

protected:
    // Draws one cell. When DefaultDrawing is on the grid has already set Canvas().Font to the
    // grid's font, chosen the brush (highlight, fixed colour or cell colour) and filled the
    // cell; after this returns it draws the raised edges of fixed cells and the focus
    // rectangle. This base version writes the cell text and raises OnDrawCell.
    virtual void DrawCell(int ACol, int ARow, QRect ARect, TGridDrawState AState);

    bool event(QEvent *evento) override;
    void paintEvent(QPaintEvent *evento) override;
    void resizeEvent(QResizeEvent *evento) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *evento) override;
    void mouseMoveEvent(QMouseEvent *evento) override;
    void mouseReleaseEvent(QMouseEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
    void contextMenuEvent(QContextMenuEvent *evento) override;
    void focusInEvent(QFocusEvent *evento) override;
    void focusOutEvent(QFocusEvent *evento) override;
    void changeEvent(QEvent *evento) override;

private:
    int LarguraLinhaV() const; // width of a vertical grid line, 0 or 1
    int LarguraLinhaH() const; // height of a horizontal grid line, 0 or 1
    int XColuna(int ACol) const;
    int YLinha(int ARow) const;
    int LarguraFixa() const;
    int AlturaFixa() const;
    int MaxTopRow() const;
    int MaxLeftCol() const;
    void AtualizaBarras();
    void AtualizaCelula(int ACol, int ARow);
    // Moves the current cell; extends the selection from its anchor when asked. True when
    // the current cell changed.
    bool MoveAtual(int ACol, int ARow, bool estende);
    void MostraAtual();
    void Clicou();
    // Tell screen readers about the current cell (focus and selection), and once the changes
    // of this turn of the event loop are done, that rows, columns or texts changed.
    void AnunciaAtual();
    void AnunciaMudanca();
    QAction *AtalhoDoMenu(const QKeyEvent *evento) const;
    // The steps of a paint: the rows and columns shown (fixed ones first), each cell, the
    // right and bottom edges past the last cell shown (its grid line included), the grid
    // lines, the grid's colour beyond the cells, and the current row's focus outline.
    QList<int> LinhasMostradas() const;
    QList<int> ColunasMostradas() const;
    TGridDrawState EstadoDaCelula(int ACol, int ARow) const;
    void PintaCelula(QPainter &painter, const QRegion &regiao, int ACol, int ARow);
    QPoint FimDasCelulas(const QList<int> &colunas, const QList<int> &linhas) const;
    void DesenhaLinhas(QPainter &painter, int direita, int base);
    void PintaAlemDasCelulas(QPainter &painter, QPoint fim);
    void MarcaLinhaAtual(QPainter &painter, int direita);
    void RedesenhaMoldura(QPainter &painter);
    static void RetanguloDeFoco(QPainter &painter, const QRect &r);

    QList<QStringList> m_celulas; // by row, then column; grows on write, never shrinks
    int m_colCount = 5;
    int m_rowCount = 5;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    QList<int> m_colWidths;
    QColor m_color = Qt::white;
    QColor m_fixedColor { 0xD4, 0xD0, 0xC8 };
    QColor m_fontColor = Qt::black;
    TGridOptions m_options
        = GO::goFixedVertLine | GO::goFixedHorzLine | GO::goVertLine | GO::goHorzLine | GO::goRangeSelect;
    TScrollStyle m_scrollBars = ssBoth;
    bool m_defaultDrawing = true;
    int m_col = 1;
    int m_row = 1;
    int m_ancoraCol = 1; // the other corner of a range selection
    int m_ancoraRow = 1;
    int m_topRow = 1;
    int m_leftCol = 1;
    bool m_selecionando = false;
    bool m_ajustandoBarras = false;
    QList<int> m_colunasDeDados;
    bool m_mudancaPendente = false;
    QPointer<QMenu> m_popupMenu;
    TCanvas m_canvas;
};
