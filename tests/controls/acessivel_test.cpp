#include "controls/acessivel.h"
#include "controls/gradientbutton.h"
#include "controls/radiogroup.h"
#include "controls/shadowlabel.h"
#include "controls/tarvogrid.h"

#include <QAccessible>
#include <QApplication>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QString Texto(QAccessibleInterface *i)
{
    return i ? i->text(QAccessible::Name) : QStringLiteral("<none>");
}

// The application installs what readers see of the controls once, at start.
class Acessivel : public testing::Test
{
protected:
    Acessivel() { RegistraAcessiveis(); }
};

} // namespace

TEST_F(Acessivel, GridIsATableOfItsShownColumns)
{
    QWidget janela;
    auto *g = new TtarvoGrid(&janela);
    g->setGeometry(0, 0, 300, 120);
    g->setColCount(5);
    g->setFixedCols(0);
    g->setOptions(g->Options() | GO::goRowSelect);
    g->setColWidths(2, 0); // out of sight
    g->setColunaDeDados(3, true);
    g->setRowCount(3);
    const QStringList linhas[]
        = { { "Hora", "Modalidade", "x", "Arquivo", "Ano" }, { "09:30", "Data Específica", "x", "a.txt", "2007" },
              { "09:30", "Mensal - Todo dia 05", "x", "b.txt", "2007" } };
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c)
            g->setCells(c, r, linhas[r][c]);
    int cliques = 0;
    g->OnClick = [&](QObject *) { ++cliques; };
    janela.show();

    QAccessibleInterface *tabela = QAccessible::queryAccessibleInterface(g);
    ASSERT_NE(tabela, nullptr);
    EXPECT_EQ(tabela->role(), QAccessible::Table);
    QAccessibleTableInterface *t = tabela->tableInterface();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->rowCount(), 2);
    EXPECT_EQ(t->columnCount(), 3) << "the zero-width and the data column are left out";
    EXPECT_EQ(t->columnDescription(2), "Ano");
    EXPECT_EQ(tabela->childCount(), 9) << "the header row, then two rows";
    EXPECT_EQ(tabela->child(0)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(Texto(tabela->child(4)), "Data Específica");
    EXPECT_EQ(tabela->indexOfChild(tabela->child(4)), 4);
    QAccessibleInterface *celula = t->cellAt(1, 1);
    EXPECT_EQ(Texto(celula), "Mensal - Todo dia 05");
    EXPECT_EQ(celula->role(), QAccessible::Cell);
    EXPECT_EQ(celula->parent(), tabela);
    EXPECT_EQ(celula->tableCellInterface()->rowIndex(), 1);
    EXPECT_EQ(Texto(celula->tableCellInterface()->columnHeaderCells().value(0)), "Modalidade");
    EXPECT_EQ(tabela->childAt(g->viewport()->mapToGlobal(g->RetanguloCelula(1, 2).center()).x(),
                  g->viewport()->mapToGlobal(g->RetanguloCelula(1, 2).center()).y()),
        celula);

    // The current row is the selected one; choosing a row from a reader is the user's choice.
    EXPECT_EQ(t->selectedRows(), QList<int> { 0 });
    EXPECT_FALSE(celula->state().selected);
    EXPECT_TRUE(t->selectRow(1));
    EXPECT_EQ(g->Row(), 2);
    EXPECT_EQ(cliques, 1);
    EXPECT_TRUE(celula->state().selected);
    EXPECT_EQ(t->selectedCellCount(), 3);
    EXPECT_EQ(tabela->focusChild(), nullptr);
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    g->setFocus();
    ASSERT_NE(tabela->focusChild(), nullptr);
    EXPECT_EQ(Texto(tabela->focusChild()), "09:30");
    EXPECT_TRUE(tabela->focusChild()->state().focused);
}

TEST_F(Acessivel, OtherControlsSayWhatTheyAre)
{
    QWidget janela;
    auto *botao = new TGradientButton(&janela);
    botao->setCaption(QStringLiteral("&Salvar && sair"));
    int cliques = 0;
    botao->OnClick = [&](QObject *) { ++cliques; };
    auto *rotulo = new TShadowLabel(&janela);
    rotulo->setCaption(QStringLiteral("Zelvano"));
    auto *grupo = new TRadioGroup(&janela);
    grupo->setTitle(QStringLiteral("Modalidade"));
    grupo->setItems({ QStringLiteral("Mensal") });

    const struct
    {
        QWidget *controle;
        QAccessible::Role papel;
        const char *nome;
    } casos[] = {
        { botao, QAccessible::Button, "Salvar & sair" },
        { rotulo, QAccessible::StaticText, "Zelvano" },
        { grupo, QAccessible::Grouping, "Modalidade" },
        { grupo->Botao(0), QAccessible::RadioButton, "Mensal" },
    };
    for (const auto &caso : casos) {
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(caso.controle);
        ASSERT_NE(i, nullptr) << caso.nome;
        EXPECT_EQ(i->role(), caso.papel) << caso.nome;
        EXPECT_EQ(i->text(QAccessible::Name), caso.nome);
    }
    QAccessibleActionInterface *acoes = QAccessible::queryAccessibleInterface(botao)->actionInterface();
    ASSERT_NE(acoes, nullptr);
    acoes->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(cliques, 1);
}

// The calendar's days are read as the chosen date in full, under the calendar's name, each
// date an object of its own; a masked edit is read whole, in one run of text; a picture that
// opens an address is a link.
TEST_F(Acessivel, CalendarEditAndLinkReadAsAUserNeeds)
{
    QWidget janela;
    auto *calendario = new QCalendarWidget(&janela);
    calendario->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    calendario->setSelectedDate(QDate(2026, 12, 9));
    calendario->setAccessibleName(QStringLiteral("Agenda para"));
    NomeiaCalendario(calendario);
    auto *hora = new QLineEdit(&janela);
    hora->setInputMask(QStringLiteral("00:00;_"));
    hora->setText(QStringLiteral("03:38"));
    ExpoeTextoInteiro(hora);
    auto *logo = new QLabel(&janela);
    logo->setAccessibleName(QStringLiteral("https://exemplo/"));
    ExpoeComoLink(logo);
    janela.show();

    QAccessibleInterface *dias = QAccessible::queryAccessibleInterface(calendario->focusProxy());
    ASSERT_NE(dias, nullptr);
    EXPECT_EQ(dias->role(), QAccessible::List);
    EXPECT_EQ(Texto(dias), "Agenda para");
    QAccessibleInterface *dia = dias->child(0);
    EXPECT_EQ(Texto(dia), "quarta-feira, 9 de dezembro de 2026");
    EXPECT_EQ(dias->child(35), dia) << "Qt names the current day by its table index";
    const QAccessible::Id antes = QAccessible::uniqueId(dia);
    calendario->setSelectedDate(QDate(2027, 1, 10));
    EXPECT_NE(QAccessible::uniqueId(dias->child(0)), antes) << "a reader ignores a list item only renamed";
    EXPECT_EQ(Texto(dias->child(0)), "domingo, 10 de janeiro de 2027");

    QAccessibleInterface *edicao = QAccessible::queryAccessibleInterface(hora);
    ASSERT_NE(edicao, nullptr);
    QAccessibleTextInterface *texto = edicao->textInterface();
    ASSERT_NE(texto, nullptr);
    EXPECT_EQ(texto->text(0, texto->characterCount()), "03:38");
    int inicio = -1;
    int fim = -1;
    texto->attributes(4, &inicio, &fim);
    EXPECT_EQ(std::pair(inicio, fim), std::pair(0, 5));
    EXPECT_EQ(hora->cursorPosition(), 0) << "Tab must not move the cursor before the focus is told";
    janela.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&janela));
    hora->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(hora, QStringLiteral("99"));
    logo->setFocusPolicy(Qt::TabFocus);
    logo->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(hora->cursorPosition(), 0) << "left, the cursor waits at the start again";

    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(logo);
    EXPECT_EQ(link->role(), QAccessible::Link);
    EXPECT_EQ(Texto(link), "https://exemplo/");
}
