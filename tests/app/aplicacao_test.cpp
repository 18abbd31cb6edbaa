#include "app/aplicacao.h"
#include "controls/gradientbutton.h"
#include "controls/shadowlabel.h"
#include "controls/stringgrid.h"

#include <QAccessible>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(Aplicacao, StandardDialogsSpeakPortuguese)
{
    Aplicacao::PreparaAmbiente();
    QMessageBox caixa;
    EXPECT_EQ(caixa.addButton(QMessageBox::Cancel)->text(), QStringLiteral("Cancelar"));
    EXPECT_EQ(caixa.addButton(QMessageBox::Ok)->text(), QStringLiteral("OK"));
}

// Set up once at start, before the first window: the program's own controls are read as what
// they are, not as plain widgets.
TEST(Aplicacao, ScreenReadersKnowTheProgramsOwnControls)
{
    Aplicacao::PreparaAmbiente();
    TStringGrid grade;
    TGradientButton botao;
    TShadowLabel rotulo;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&grade)->role(), QAccessible::Table);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&botao)->role(), QAccessible::Button);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&rotulo)->role(), QAccessible::StaticText);
}
