#include "windows/umostra.h"

#include "agenda/arquivoagenda.h"
#include "support/fakeplatform.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

TEST(Umostra, ShowsTheReminderWithItsStoredDateAndTheTimeGiven)
{
    FakePlatform fake;
    CriaPastaMensagens();
    ASSERT_TRUE(GravaMensagem("20070131-080000.txt", QStringLiteral("Pagar o aluguel\nAté às 18h")));
    Tform_mostra janela;
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Zelvano Agenda Eletrônica"));

    janela.MostraAviso("|2007|01|31|09:30|1|20070131-080000.txt|", QDateTime(QDate(2024, 3, 31), QTime(9, 31, 20)));
    EXPECT_TRUE(janela.isVisible());
    EXPECT_EQ(janela.windowTitle(), QStringLiteral("Zelvano Agenda: 20070131-080000"));
    EXPECT_EQ(janela.Label2->text(), QStringLiteral("Data:31/01/2007"));
    EXPECT_EQ(janela.Label3->text(), QStringLiteral("Hora:09:31"));
    EXPECT_EQ(janela.Label4->text(), QStringLiteral("MENSALMENTE"));
    EXPECT_EQ(janela.Memo1->toPlainText(), QStringLiteral("Pagar o aluguel\nAté às 18h"));
    // A screen reader reads all of it as the alert opens; the title says nothing.
    QAccessibleInterface *alerta = QAccessible::queryAccessibleInterface(&janela);
    EXPECT_EQ(alerta->role(), QAccessible::AlertMessage);
    EXPECT_EQ(alerta->text(QAccessible::Name), QStringLiteral("MENSALMENTE, Data:31/01/2007, Hora:09:31"));
    EXPECT_EQ(alerta->text(QAccessible::Description), QStringLiteral("Pagar o aluguel\nAté às 18h"));

    // Shown again for a reminder whose message file is gone: nothing of the last one stays.
    janela.MostraAviso("|2024|05|07|10:00|0|20240101-000000.txt|", QDateTime(QDate(2024, 5, 7), QTime(10, 0)));
    EXPECT_EQ(janela.Label4->text(), QStringLiteral("AGENDA ESPECÍFICA"));
    EXPECT_EQ(janela.Memo1->toPlainText(), QStringLiteral("Arquivo não Encontrado"));
}

TEST(Umostra, LaidOutOnADarkBluePanel)
{
    FakePlatform fake;
    Tform_mostra janela;
    CriaPastaMensagens();
    GravaMensagem("x.txt", QStringLiteral("Aniversário da Ana\nComprar o presente"));
    janela.MostraAviso("|2024|05|07|10:00|2|x.txt|", QDateTime(QDate(2024, 5, 7), QTime(10, 0)));
    EXPECT_EQ(janela.size(), QSize(710, 417));
    EXPECT_EQ(janela.Panel3->geometry(), QRect(0, 0, 710, 417));
    EXPECT_EQ(janela.Image1->geometry(), QRect(405, 10, 281, 46));
    EXPECT_EQ(janela.Memo1->geometry(), QRect(14, 73, 680, 281));
    EXPECT_EQ(janela.BitBtn1->geometry(), QRect(11, 362, 688, 38));
    EXPECT_EQ(janela.Label2->pos(), QPoint(40, 8));
    EXPECT_EQ(janela.Label3->pos(), QPoint(200, 8));
    EXPECT_EQ(janela.Label4->pos(), QPoint(40, 40));
    EXPECT_TRUE(janela.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(janela.BitBtn1->isDefault());

    const QImage tela = janela.grab().toImage();
    EXPECT_EQ(tela.pixelColor(300, 30), QColor(0, 64, 128));
    EXPECT_EQ(tela.pixelColor(5, 360), QColor(0, 64, 128));
    EXPECT_EQ(tela.pixelColor(400, 300), QColor(255, 255, 240));
    // The picture is there, not the panel's blue.
    EXPECT_NE(tela.pixelColor(545, 33), QColor(0, 64, 128));

    // The OK glyph: a green tick, without the magenta of its background.
    const QImage glifo = janela.BitBtn1->icon().pixmap(20, 20).toImage().convertToFormat(QImage::Format_ARGB32);
    int verdes = 0, magentas = 0;
    for (int y = 0; y < glifo.height(); ++y)
        for (int x = 0; x < glifo.width(); ++x) {
            const QColor c = glifo.pixelColor(x, y);
            verdes += c.alpha() == 255 && c.green() > 100 && c.red() < 80;
            magentas += c.alpha() > 0 && c.red() > 160 && c.blue() > 160 && c.green() < 96;
        }
    EXPECT_GT(verdes, 20);
    EXPECT_EQ(magentas, 0);
}

TEST(Umostra, EveryWayOfClosingRaisesOnCloseOnce)
{
    FakePlatform fake;
    Tform_mostra janela;
    int fechamentos = 0;
    QObject *remetente = nullptr;
    janela.OnClose = [&](QObject *sender) {
        ++fechamentos;
        remetente = sender;
    };
    const auto tecla = [&janela](int codigo) {
        QKeyEvent aperto(QEvent::KeyPress, codigo, Qt::NoModifier);
        QCoreApplication::sendEvent(&janela, &aperto);
    };
    const std::function<void()> maneiras[] = {
        [&] { janela.BitBtn1->click(); },
        [&] { tecla(Qt::Key_Return); },
        [&] { tecla(Qt::Key_Escape); },
        [&] { janela.close(); },
    };
    for (const auto &fecha : maneiras) {
        fechamentos = 0;
        janela.MostraAviso("|2024|05|07|10:00|0|x.txt|", QDateTime(QDate(2024, 5, 7), QTime(10, 0)));
        fecha();
        EXPECT_FALSE(janela.isVisible());
        EXPECT_EQ(fechamentos, 1);
        EXPECT_EQ(remetente, &janela);
    }
    // Without a handler closing is just closing.
    janela.OnClose = nullptr;
    janela.MostraAviso("|2024|05|07|10:00|0|x.txt|", QDateTime(QDate(2024, 5, 7), QTime(10, 0)));
    janela.close();
    EXPECT_FALSE(janela.isVisible());
}
