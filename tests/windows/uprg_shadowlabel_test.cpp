#include "windows/uprg.h"

#include "controls/shadowlabel.h"
#include "support/fakeplatform.h"

#include <QFrame>

#include <gtest/gtest.h>

TEST(UprgShadowLabel, EngravedNameLiesUnderTheMainPanel)
{
    FakePlatform fake;
    Tfrm_cadastro janela;
    TShadowLabel *l = janela.ShadowLabel1;
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->parentWidget(), &janela);
    EXPECT_EQ(l->geometry(), QRect(32, 82, 465, 103));
    EXPECT_EQ(l->Caption(), QStringLiteral("Zelvano"));
    EXPECT_EQ(l->Alignment(), taCenter);
    EXPECT_FALSE(l->AutoSize());
    EXPECT_FALSE(l->isEnabled());
    EXPECT_EQ(l->font().pixelSize(), 96);
    EXPECT_FALSE(l->Transparent());
    EXPECT_EQ(l->ShadowSize(), 1);
    EXPECT_EQ(l->ShadowPos(), spLeftTop);

    // The panel covers it and comes later in the stacking order, so it is drawn over it.
    EXPECT_TRUE(janela.Panel1->geometry().contains(l->geometry()));
    const QObjectList filhos = janela.children();
    EXPECT_LT(filhos.indexOf(l), filhos.indexOf(janela.Panel1));
}
