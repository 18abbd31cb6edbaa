#include "platform/linuxplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Answers the box the platform shows with the given action and notes what it looked like.
struct Caixa
{
    QString titulo, texto;
    QStringList botoes;
    QMessageBox::Icon icone = QMessageBox::Critical;
    Qt::WindowModality modalidade = Qt::NonModal;
    QPoint centro;
};

Platform::Resposta Responde(Platform::Botoes botoes, const std::function<void(QMessageBox *)> &acao, Caixa &vista)
{
    QTimer::singleShot(0, [&] {
        auto *caixa = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!caixa)
            return;
        vista.titulo = caixa->windowTitle();
        vista.texto = caixa->text();
        for (QAbstractButton *b : caixa->buttons())
            vista.botoes << b->text();
        vista.icone = caixa->icon();
        vista.modalidade = caixa->windowModality();
        vista.centro = caixa->geometry().center();
        acao(caixa);
    });
    LinuxPlatform real;
    return real.messageBox(QStringLiteral("Texto"), QStringLiteral("Título"), botoes);
}

} // namespace

TEST(CaixaMensagem, NoIconCentredModalAndEscOrClosingIsCancel)
{
    const auto esc = [](QMessageBox *c) { QTest::keyClick(c, Qt::Key_Escape); };
    const auto enter = [](QMessageBox *c) { QTest::keyClick(c, Qt::Key_Return); };
    const auto fecha = [](QMessageBox *c) { c->close(); };
    const struct
    {
        Platform::Botoes botoes;
        std::function<void(QMessageBox *)> acao;
        Platform::Resposta resposta;
        QStringList textos;
    } casos[] = {
        { Platform::Botoes::OkCancelar, esc, Platform::Resposta::Cancelar, { "OK", "Cancel" } },
        { Platform::Botoes::OkCancelar, fecha, Platform::Resposta::Cancelar, { "OK", "Cancel" } },
        { Platform::Botoes::OkCancelar, enter, Platform::Resposta::Ok, { "OK", "Cancel" } },
        { Platform::Botoes::Ok, esc, Platform::Resposta::Ok, { "OK" } },
        { Platform::Botoes::Ok, enter, Platform::Resposta::Ok, { "OK" } },
    };
    const QPoint meio = QApplication::primaryScreen()->geometry().center();
    for (const auto &c : casos) {
        Caixa vista;
        EXPECT_EQ(Responde(c.botoes, c.acao, vista), c.resposta);
        EXPECT_EQ(vista.titulo, QStringLiteral("Título"));
        EXPECT_EQ(vista.texto, QStringLiteral("Texto"));
        EXPECT_EQ(vista.botoes, c.textos);
        EXPECT_EQ(vista.icone, QMessageBox::NoIcon);
        EXPECT_EQ(vista.modalidade, Qt::ApplicationModal);
        EXPECT_LE((vista.centro - meio).manhattanLength(), 4) << vista.centro.x() << "," << vista.centro.y();
    }
}

// The window manager may give the keyboard to another window when a box closes (Openbox and
// xfwm4 give it to the main window); the box gives it back to the window and the control that
// had it.
TEST(CaixaMensagem, ClosingGivesTheKeyboardBackToTheControlThatHadIt)
{
    QWidget principal;
    QWidget janela;
    auto *hora = new QLineEdit(&janela);
    new QLineEdit(&janela);
    for (QWidget *w : { &principal, &janela }) {
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    hora->setFocus();
    Caixa vista;
    Responde(
        Platform::Botoes::Ok,
        [&](QMessageBox *c) {
            principal.activateWindow();
            c->close();
        },
        vista);
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), &janela);
    EXPECT_EQ(QApplication::focusWidget(), hora);
}
