#include "app/entrada.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

TEST(PodeIniciar, ASecondCopyTellsTheUserBringsTheFirstForwardAndStops)
{
    FakePlatform fake;
    EXPECT_TRUE(PodeIniciar());
    EXPECT_TRUE(fake.caixas.empty());

    EXPECT_FALSE(PodeIniciar()); // the class is now held
    ASSERT_EQ(fake.caixas.size(), 1u);
    EXPECT_EQ(fake.caixas[0].texto, QStringLiteral("Zelvano Agenda - já está aberto. Verifique !"));
    EXPECT_EQ(fake.caixas[0].titulo, QStringLiteral("Zelvano já aberto"));
    EXPECT_EQ(fake.caixas[0].botoes, Platform::Botoes::Ok);
    EXPECT_EQ(fake.trazidas, QStringList { "Tfrm_agenda" });

    fake.classesExistentes.push_back("TAppBuilder");
    EXPECT_TRUE(PodeIniciar());
    EXPECT_EQ(fake.caixas.size(), 1u);
}
