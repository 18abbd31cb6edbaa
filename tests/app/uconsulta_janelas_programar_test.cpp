#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"
#include "agenda/funcoes.h"
#include "controls/radiogroup.h"
#include "support/files.h"
#include "support/janelaprincipalteste.h"
#include "windows/uprg.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

TEST(UconsultaJanelas, EachUseOpensAWindowOfItsOwnAndClosingRefreshesTheMain)
{
    {
        JanelaPrincipalTeste teste;
        Tfrm_agenda &principal = teste.Abre({ .inicio = InicioJanela::Construida });
        principal.ProgramarAgenda1->trigger();
        principal.ProgramarAgenda2->trigger();
        const QList<Tfrm_cadastro *> janelas = principal.findChildren<Tfrm_cadastro *>();
        ASSERT_EQ(janelas.size(), 2);
        for (Tfrm_cadastro *janela : janelas) {
            EXPECT_TRUE(janela->isVisible());
            EXPECT_TRUE(janela->isWindow());
            EXPECT_FALSE(janela->isModal());
        }
        EXPECT_TRUE(principal.isEnabled());

        // Written behind the main window's back: only its refresh brings it into ListaAgenda.
        const QByteArray linha = "|2024|05|07|10:30|0|20240501-100000.txt|";
        GravaArquivo(ArquivoIndice(), linha + "\r\n");
        ListaAgenda.clear();
        QTest::mouseClick(janelas[0]->BitBtn4, Qt::LeftButton);
        EXPECT_FALSE(janelas[0]->isVisible());
        EXPECT_EQ(principal.findChildren<Tfrm_cadastro *>().size(), 2); // hidden, not destroyed
        EXPECT_EQ(ListaAgenda, ListaLinhas { linha });

        // A save refreshes at once, while the window stays open.
        Tfrm_cadastro *aberta = janelas[1];
        aberta->MaskEdit1->setText(QStringLiteral("11:15"));
        QTest::mouseClick(aberta->BitBtn1, Qt::LeftButton);
        QTest::keyClicks(aberta->Memo1, QStringLiteral("Ligar"));
        QTest::mouseClick(aberta->BitBtn2, Qt::LeftButton);
        EXPECT_TRUE(teste.fake.caixas.empty()) << teste.fake.TextosCaixas().join('\n').toStdString();
        ASSERT_EQ(ListaAgenda.size(), 2);
        EXPECT_EQ(ListaAgenda[1], QByteArray("|2024|05|07|11:15|0|20240507-090500.txt|"));
        EXPECT_TRUE(aberta->isVisible());
    }
    ListaAgenda.clear();
}

TEST(UconsultaJanelas, AnOpenEntryWindowGoesToTheTrayAndComesBackAsItWas)
{
    JanelaPrincipalTeste teste;
    Tfrm_agenda &principal = teste.Abre();
    principal.ProgramarAgenda1->trigger();
    Tfrm_cadastro *aberta = principal.findChildren<Tfrm_cadastro *>().value(0);
    ASSERT_NE(aberta, nullptr);
    Tfrm_cadastro *fechada = nullptr;
    principal.ProgramarAgenda1->trigger();
    for (Tfrm_cadastro *j : principal.findChildren<Tfrm_cadastro *>())
        if (j != aberta)
            fechada = j;
    ASSERT_NE(fechada, nullptr);
    fechada->close();
    aberta->MaskEdit1->setText(QStringLiteral("11:15"));
    aberta->RadioGroup1->setItemIndex(2);

    principal.hide(); // what the tray does with the main window
    EXPECT_FALSE(aberta->isVisible());
    principal.TrazParaFrente();
    EXPECT_TRUE(aberta->isVisible());
    EXPECT_FALSE(fechada->isVisible()); // a closed window stays closed
    EXPECT_EQ(aberta->MaskEdit1->text(), QStringLiteral("11:15"));
    EXPECT_EQ(aberta->RadioGroup1->ItemIndex(), 2);
    ListaAgenda.clear();
}
