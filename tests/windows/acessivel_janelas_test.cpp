#include "controls/acessivel.h"
#include "controls/radiogroup.h"
#include "support/fakeplatform.h"
#include "windows/about.h"
#include "windows/umostra.h"
#include "windows/uprg.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

// Screen readers see the windows as windows and each input by the name of its label.
TEST(AcessivelJanelas, WindowsAreWindowsAndInputsHaveTheirNames)
{
    FakePlatform fake;
    RegistraAcessiveis(); // as the application does at start
    Tfrm_cadastro cadastro;
    Tform_mostra mostra;
    Tform_about sobre(nullptr);
    const struct
    {
        QObject *objeto;
        QAccessible::Role papel;
        QString nome;
    } casos[] = {
        { &cadastro, QAccessible::Window, QStringLiteral("Zelvano - Agenda") },
        { cadastro.MaskEdit1, QAccessible::EditableText, QStringLiteral("Hora do Aviso") },
        { cadastro.data, QAccessible::Table, QStringLiteral("Data do Aviso") },
        { cadastro.RadioGroup1, QAccessible::Grouping, QStringLiteral("Modalidade de Aviso") },
        { cadastro.Memo1, QAccessible::EditableText, QStringLiteral("Mensagem") },
        { &mostra, QAccessible::AlertMessage, QStringLiteral("Zelvano Agenda Eletrônica") },
        { &sobre, QAccessible::Dialog, QStringLiteral("Sobre") },
        { sobre.Label1, QAccessible::Link, EnderecoFabricante },
        { mostra.Memo1, QAccessible::EditableText, QStringLiteral("Mensagem") },
    };
    for (const auto &caso : casos) {
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(caso.objeto);
        ASSERT_NE(i, nullptr) << caso.nome.toStdString();
        EXPECT_EQ(i->role(), caso.papel) << caso.nome.toStdString();
        EXPECT_EQ(i->text(QAccessible::Name), caso.nome);
    }
}
