#include "app/uconsulta.h"
#include "windows/about.h"

#include "controls/gradientbutton.h"
#include "support/janelaprincipalteste.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(UconsultaJanelas, EachSobreBuildsAFreshAboutWindowFreedOnClose)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre({ .inicio = InicioJanela::Construida });
    std::vector<QPointer<Tform_about>> abertas;
    for (int vez = 0; vez < 2; ++vez) {
        // The window is modal: look at it and press OK from inside its own event loop.
        QTimer::singleShot(0, [&] {
            auto *sobre = qobject_cast<Tform_about *>(QApplication::activeModalWidget());
            ASSERT_NE(sobre, nullptr);
            EXPECT_EQ(sobre->parent(), &janela);
            abertas.emplace_back(sobre);
            QTest::mouseClick(sobre->GradientButton1, Qt::LeftButton);
        });
        janela.Sobre1Click(janela.Sobre1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ASSERT_EQ(abertas.size(), 2u);
    EXPECT_TRUE(abertas[0].isNull());
    EXPECT_TRUE(abertas[1].isNull());
    EXPECT_TRUE(janela.findChildren<Tform_about *>().isEmpty());
}
