#include "controls/drawtext.h"
#include "controls/tarvogrid.h"
#include "support/gradedesenhavel.h"
#include "support/pixels.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Rows given as "c0|c1|..." texts.
void Preenche(TtarvoGrid &g, const QStringList &linhas)
{
    g.setRowCount(static_cast<int>(linhas.size()));
    for (int r = 0; r < linhas.size(); ++r) {
        const QStringList celulas = linhas.at(r).split(QLatin1Char('|'));
        for (int c = 0; c < g.ColCount(); ++c)
            g.setCells(c, r, c < celulas.size() ? celulas.at(c) : QString());
    }
}

QStringList Conteudo(const TtarvoGrid &g)
{
    QStringList linhas;
    for (int r = 0; r < g.RowCount(); ++r) {
        QStringList celulas;
        for (int c = 0; c < g.ColCount(); ++c)
            celulas << g.Cells(c, r);
        linhas << celulas.join(QLatin1Char('|'));
    }
    return linhas;
}

// The bare grid in the font of the main window's grid.
std::unique_ptr<TtarvoGrid> GradeDesenhavel(int colunas, int linhas, int largura = 80)
{
    QFont fonte(QStringLiteral("MS Sans Serif"));
    fonte.setPixelSize(13);
    return GradeNua<TtarvoGrid>(colunas, linhas, largura, fonte);
}

QImage Desenha(TtarvoGrid &g)
{
    return g.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Bounding box of the pixels inside a cell that differ from its fill colour (which the left
// margin always shows).
QRect Tinta(const QImage &img, const QRect &celula)
{
    return CaixaDaTinta(img, img.pixelColor(celula.topLeft()), celula);
}

} // namespace

TEST(TtarvoGrid, StartsLeftAlignedAndVerticallyCentredWithoutWrapping)
{
    TtarvoGrid g;
    EXPECT_EQ(g.Options(), 0x00DFu);
    EXPECT_EQ(g.Alignment(), taLeftJustify);
    EXPECT_EQ(g.VerticalAlignment(), vaCenter);
    EXPECT_FALSE(g.MultiLinea());
}

TEST(TtarvoGrid, GridCountCountsRowsWithColumnZeroText)
{
    const struct
    {
        QStringList linhas;
        int esperado;
    } casos[] = {
        { { "|x", "|y" }, 0 },
        { { "Hora|Modalidade", "09:30|a", "10:00|b", "11:00|c" }, 4 },
        { { "Hora", "09:30", "|so coluna 1", "11:00" }, 3 }, // a blank row between filled ones
        { { "Hora", " \t ", "\t" }, 1 },
        { { "Hora", " x " }, 2 },
    };
    for (const auto &c : casos) {
        TtarvoGrid g;
        g.setColCount(2);
        Preenche(g, c.linhas);
        EXPECT_EQ(g.GridCount(), c.esperado) << c.linhas.join('/').toStdString();
    }

    // Text kept past RowCount is not counted until the grid grows over it again.
    TtarvoGrid g;
    g.setColCount(2);
    Preenche(g, { "Hora", "09:30", "10:00" });
    g.setRowCount(2);
    EXPECT_EQ(g.GridCount(), 2);
    g.setRowCount(3);
    EXPECT_EQ(g.GridCount(), 3);
    EXPECT_EQ(g.Cells(0, 2), "10:00");
}

TEST(TtarvoGrid, RowOperationsMoveTextsAndCounts)
{
    enum Operacao { Insere, Exclui, Limpa };
    const QStringList cabecalhoAB = { "Hora|H1", "A|a", "B|b" };
    const struct
    {
        const char *nome;
        QStringList antes;
        Operacao op;
        int linha;
        QStringList depois;
        int fixas;
    } casos[] = {
        { "insert without column-0 text", { "|h", "|a" }, Insere, 1, { "|h", "|a" }, 1 },
        { "delete without column-0 text", { "|h", "|a" }, Exclui, 1, { "|h", "|a" }, 1 },
        { "clear without column-0 text", { "|h", "|a" }, Limpa, 0, { "|h", "|a" }, 1 },
        { "insert appends at RowCount", cabecalhoAB, Insere, 3, { "Hora|H1", "A|a", "B|b", "|" }, 1 },
        { "insert in the middle", cabecalhoAB, Insere, 1, { "Hora|H1", "|", "A|a", "B|b" }, 1 },
        { "insert at 0 keeps row 0 fixed", cabecalhoAB, Insere, 0, { "|", "Hora|H1", "A|a", "B|b" }, 1 },
        { "insert past RowCount", cabecalhoAB, Insere, 4, cabecalhoAB, 1 },
        { "delete row 1", cabecalhoAB, Exclui, 1, { "Hora|H1", "B|b" }, 1 },
        { "delete at RowCount drops the last row", cabecalhoAB, Exclui, 3, { "Hora|H1", "A|a" }, 1 },
        { "delete past RowCount", cabecalhoAB, Exclui, 4, cabecalhoAB, 1 },
        { "delete to one row unfixes the header", { "Hora|H1", "A|a" }, Exclui, 1, { "Hora|H1" }, 0 },
        { "clear blanks the header too", cabecalhoAB, Limpa, 0, { "|", "|", "|" }, 1 },
    };
    for (const auto &c : casos) {
        TtarvoGrid g;
        g.setColCount(2);
        g.setFixedCols(0);
        Preenche(g, c.antes);
        g.setFixedRows(1);
        switch (c.op) {
        case Insere:
            g.Insere_linhagrid(c.linha);
            break;
        case Exclui:
            g.Delete_linhagrid(c.linha);
            break;
        case Limpa:
            g.ClearAll();
            break;
        }
        EXPECT_EQ(Conteudo(g), c.depois) << c.nome;
        EXPECT_EQ(g.FixedRows(), c.fixas) << c.nome;
        // Every row and column is still in view, whatever became of the fixed ones.
        g.resize(200, 200);
        for (int r = 0; r < g.RowCount(); ++r)
            EXPECT_FALSE(g.RetanguloCelula(0, r).isEmpty()) << c.nome << " row " << r;
    }

    // What a delete at RowCount hides stays stored and shows again when the grid grows.
    TtarvoGrid g;
    g.setColCount(2);
    Preenche(g, cabecalhoAB);
    g.Delete_linhagrid(3);
    g.setRowCount(3);
    EXPECT_EQ(Conteudo(g), cabecalhoAB);
}

TEST(TtarvoGrid, AlignmentPlacesTextInTheCell)
{
    const struct
    {
        int alturaTexto;
        TVerticalAlignment vertical;
        int topo;
        int altura;
    } casos[] = {
        { 16, vaTop, 10, 17 },
        { 16, vaCenter, 10, 16 },
        { 15, vaCenter, 11, 15 },
        { 15, vaBottom, 12, 15 },
        { 17, vaCenter, 10, 17 },
        { 18, vaCenter, 10, 17 },
        { 32, vaBottom, 10, 17 },
        { 0, vaCenter, 18, 0 },
    };
    const QRect interno(2, 10, 70, 17);
    for (const auto &c : casos) {
        const QRect r = PosicionaTexto(interno, c.alturaTexto, c.vertical);
        EXPECT_EQ(r, QRect(2, c.topo, 70, c.altura)) << c.alturaTexto << " " << int(c.vertical);
    }
}

TEST(TtarvoGrid, ColourCallbackBrushCoversWholeCellEvenWhenSelected)
{
    auto g = GradeDesenhavel(2, 5);
    g->setOptions(g->Options() | GO::goRowSelect);
    Preenche(*g, { "Hora|Tipo", "a|b", "c|d", "e|", "g|h" });
    g->setRow(3);
    std::vector<std::pair<int, int>> chamadas;
    g->OnGetCellColor = [&](QObject *sender, int ARow, int ACol, TGridDrawState estado, QBrush &pincel, TFont &) {
        EXPECT_EQ(sender, g.get());
        chamadas.emplace_back(ARow, ACol);
        if (ARow == 3) {
            EXPECT_TRUE(estado & GD::gdSelected);
            pincel = QBrush(Qt::red);
        }
    };
    const QImage img = Desenha(*g);
    for (int c = 0; c < 2; ++c) {
        const QRect celula = g->RetanguloCelula(c, 3);
        // Column 1 of row 3 is empty, so all of it is red; column 0 has text, so its margins.
        const QRect provada = c == 1 ? celula : celula.adjusted(0, 0, -(celula.width() - 2), 0);
        EXPECT_EQ(PixelsDiferentes(img, provada, Qt::red), 0) << c;
        EXPECT_EQ(PixelsDiferentes(img, QRect(celula.right() - 1, celula.top(), 2, celula.height()), Qt::red), 0);
    }
    EXPECT_EQ(img.pixelColor(g->RetanguloCelula(1, 1).center()), Creme);
    ASSERT_FALSE(chamadas.empty());
    EXPECT_NE(std::find(chamadas.begin(), chamadas.end(), std::make_pair(3, 1)), chamadas.end());
}

TEST(TtarvoGrid, OneLineSitsAtTheTopMiddleOrBottomOfASeventeenPixelRow)
{
    auto g = GradeDesenhavel(1, 2);
    Preenche(*g, { "Hora", "Hg" });
    QRect medida(0, 0, 76, 17);
    const int h = MedeTexto(g->font(), QStringLiteral("Hg"), medida, DT::VCenter | DT::CalcRect);
    ASSERT_LT(h, 17);

    auto topoDaTinta = [&](TVerticalAlignment v) {
        g->setVerticalAlignment(v);
        return Tinta(Desenha(*g), g->RetanguloCelula(0, 1)).top() - g->RetanguloCelula(0, 1).top();
    };
    const int topo = topoDaTinta(vaTop);
    EXPECT_EQ(topoDaTinta(vaCenter) - topo, (17 - h) / 2);
    EXPECT_EQ(topoDaTinta(vaBottom) - topo, 17 - h);
}

TEST(TtarvoGrid, AlignmentCallbackMovesOnlyItsCell)
{
    auto g = GradeDesenhavel(3, 3, 60);
    Preenche(*g, { "Hora|x|y", "ab|ab|ab", "ab|ab|ab" });
    std::vector<std::pair<int, int>> chamadas;
    g->OnGetCellAlignment = [&](QObject *, int ARow, int ACol, TAlignment &hor, TVerticalAlignment &ver) {
        chamadas.emplace_back(ARow, ACol);
        if (ARow == 2 && ACol == 1) {
            hor = taRightJustify;
            ver = vaBottom;
        }
    };
    const QImage img = Desenha(*g);
    const QRect movida = g->RetanguloCelula(1, 2);
    const QRect vizinha = g->RetanguloCelula(2, 1);
    const QRect tMovida = Tinta(img, movida);
    const QRect tVizinha = Tinta(img, vizinha);
    EXPECT_GT(tMovida.left() - movida.left(), movida.width() / 2);
    EXPECT_LE(tMovida.right(), movida.right() - 2);
    EXPECT_GE(tMovida.right(), movida.right() - 4);
    EXPECT_LT(tVizinha.left() - vizinha.left(), 5);
    EXPECT_GT(tMovida.top() - movida.top(), tVizinha.top() - vizinha.top());
    for (int c : { 0, 2 }) {
        const QRect outra = g->RetanguloCelula(c, 2);
        EXPECT_EQ(Tinta(img, outra).translated(-outra.topLeft()), tVizinha.translated(-vizinha.topLeft()));
    }
    EXPECT_NE(std::find(chamadas.begin(), chamadas.end(), std::make_pair(2, 1)), chamadas.end());
}

TEST(TtarvoGrid, WrappedTextStaysTopAlignedAndClipped)
{
    auto g = GradeDesenhavel(1, 3, 60);
    Preenche(*g, { "Hora", "palavra palavra", "" });
    g->setMultiLinea(true);
    g->setVerticalAlignment(vaBottom);
    QImage img = Desenha(*g);
    const QRect celula = g->RetanguloCelula(0, 1);
    const QRect embrulhado = Tinta(img, celula);
    EXPECT_EQ(PixelsDiferentes(img, g->RetanguloCelula(0, 2), Creme), 0) << "text must not spill into the next row";

    g->setCells(0, 1, QStringLiteral("palavra"));
    g->setVerticalAlignment(vaTop);
    img = Desenha(*g);
    EXPECT_EQ(embrulhado.top(), Tinta(img, celula).top());

    // Without wrapping the long line is cut at the inner right edge.
    g->setMultiLinea(false);
    g->setCells(0, 1, QStringLiteral("palavra palavra palavra"));
    img = Desenha(*g);
    const QRect cortado = Tinta(img, celula);
    EXPECT_LE(cortado.right(), celula.right() - 2);
    EXPECT_EQ(PixelsDiferentes(
                  img, QRect(celula.right() - 1, celula.top(), 2, celula.height()), img.pixelColor(celula.topLeft())),
        0);
}

TEST(TtarvoGrid, AmpersandUnderlinesTheNextLetter)
{
    auto g = GradeDesenhavel(1, 4);
    Preenche(*g, { "Hora", "AB", "A&B", "A&&B" });
    const QImage img = Desenha(*g);
    const QRect simples = Tinta(img, g->RetanguloCelula(0, 1)).translated(0, -g->RetanguloCelula(0, 1).top());
    const QRect marcado = Tinta(img, g->RetanguloCelula(0, 2)).translated(0, -g->RetanguloCelula(0, 2).top());
    const QRect duplo = Tinta(img, g->RetanguloCelula(0, 3)).translated(0, -g->RetanguloCelula(0, 3).top());

    EXPECT_EQ(marcado.left(), simples.left());
    EXPECT_NEAR(marcado.right(), simples.right(), 1); // the underline runs to the advance of B
    ASSERT_GT(marcado.bottom(), simples.bottom()) << "an underline below the letters";
    // The underline is under B only: nothing below the letters on A's half.
    const QRect abaixo(simples.left(), g->RetanguloCelula(0, 2).top() + simples.bottom() + 1, simples.width() / 2 - 1,
        marcado.bottom() - simples.bottom());
    EXPECT_EQ(PixelsDiferentes(img, abaixo, Creme), 0);
    EXPECT_GT(PixelsDiferentes(img, abaixo.translated(simples.width() / 2 + 1, 0), Creme), 0);

    EXPECT_GT(duplo.width(), simples.width()) << "one ampersand drawn";
    EXPECT_EQ(duplo.bottom(), simples.bottom()) << "and nothing underlined";
}

TEST(TtarvoGrid, WithoutDefaultDrawingTheHandlerGetsTheNarrowedFilledCell)
{
    auto g = GradeDesenhavel(2, 2);
    Preenche(*g, { "Hora|x", "a|b" });
    g->setDefaultDrawing(false);
    std::vector<QRect> recebidos;
    g->OnDrawCell = [&](QObject *, int ACol, int ARow, const QRect &r, TGridDrawState) {
        if (ACol == 1 && ARow == 1)
            recebidos.push_back(r);
    };
    g->OnGetCellColor = [&](QObject *, int, int, TGridDrawState, QBrush &pincel, TFont &) { pincel = Qt::blue; };
    const QImage img = Desenha(*g);
    ASSERT_EQ(recebidos.size(), 1u);
    EXPECT_EQ(recebidos[0], g->RetanguloCelula(1, 1).adjusted(2, 0, -2, 0));
    EXPECT_EQ(PixelsDiferentes(img, g->RetanguloCelula(1, 1), Qt::blue), 0) << "filled, and no text drawn";

    // Without a colour callback the cells are filled with the grid's colour, and the handler
    // draws on the grid's canvas.
    g->OnGetCellColor = nullptr;
    g->setColor(Qt::green);
    g->OnDrawCell = [&](QObject *, int ACol, int ARow, const QRect &r, TGridDrawState) {
        if (ACol == 1 && ARow == 1)
            g->Canvas().Painter->fillRect(r.adjusted(0, 0, -(r.width() - 3), 0), Qt::red);
    };
    const QImage propria = Desenha(*g);
    const QRect celula = g->RetanguloCelula(1, 1);
    EXPECT_EQ(PixelsDiferentes(propria, QRect(celula.left() + 2, celula.top(), 3, celula.height()), Qt::red), 0);
    EXPECT_EQ(PixelsDiferentes(propria, celula.adjusted(5, 0, 0, 0), Qt::green), 0);
    EXPECT_EQ(PixelsDiferentes(propria, g->RetanguloCelula(0, 1), Qt::green), 0);
}
