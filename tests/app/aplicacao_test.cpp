#include "app/aplicacao.h"

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
