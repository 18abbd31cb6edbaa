#include "windows/about.h"

#include "controls/gradientbutton.h"
#include "support/fakeplatform.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void EsvaziaExclusoes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(About, ShowsTheProductVersionMakerAndAddress)
{
    FakePlatform fake;
    QWidget dono;
    QPointer<Tform_about> sobre = new Tform_about(&dono);
    EXPECT_EQ(sobre->parentWidget(), &dono);
    EXPECT_EQ(sobre->size(), QSize(551, 212));
    EXPECT_TRUE(sobre->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(sobre->ProductName->text(), QStringLiteral("Zelvano Quorvel"));
    EXPECT_EQ(sobre->Version->text(), QStringLiteral("Versão: V13.1"));
    EXPECT_EQ(sobre->Label1->text(), QStringLiteral("https://www.zelvano.example/"));
    EXPECT_EQ(sobre->Copyright->text(), QStringLiteral("Zelvano Sistemas de áudio"));
    EXPECT_EQ(sobre->GradientButton1->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(sobre->GradientButton1->geometry(), QRect(6, 171, 537, 35));
    EXPECT_EQ(sobre->GradientButton1->GradientStyle(), gsVertical);
    EXPECT_FALSE(sobre->Image1->pixmap().isNull());

    const struct
    {
        QWidget *controle;
        QPoint posicao;
    } lugares[] = {
        { sobre->Panel1, { 1, 1 } },
        { sobre->Panel2, { 5, 8 } },
        { sobre->Panel3, { 286, 8 } },
        { sobre->ProgramIcon, { 30, 20 } },
        { sobre->ProductName, { 73, 16 } },
        { sobre->Version, { 73, 40 } },
        { sobre->Label1, { 39, 63 } },
        { sobre->Copyright, { 26, 89 } },
        { sobre->Comments, { 58, 113 } },
        { sobre->Label2, { 22, 141 } },
        { sobre->Image1, { 2, 4 } },
    };
    for (const auto &l : lugares)
        EXPECT_EQ(l.controle->pos(), l.posicao) << l.controle->metaObject()->className();

    const QImage tela = sobre->grab().toImage();
    EXPECT_EQ(QColor(tela.pixel(0, 0)), QColor(Qt::black)); // window
    EXPECT_EQ(QColor(tela.pixel(3, 100)), QColor(0, 95, 140)); // Panel1
    EXPECT_EQ(QColor(tela.pixel(1 + 5 + 10, 1 + 8 + 150)), QColor(Qt::black)); // Panel2's inside
    // The OK button's top band is the palette's near-white end, its bottom row near black.
    const QColor topo(tela.pixel(1 + 6 + 100, 1 + 171 + 2));
    const QColor base(tela.pixel(1 + 6 + 100, 1 + 171 + 32));
    EXPECT_GT(topo.lightness(), 230);
    EXPECT_LT(base.lightness(), 40);
    delete sobre;
}

TEST(About, AddressOpensTheSiteAndOkClosesAndFreesTheWindow)
{
    FakePlatform fake;
    QWidget dono;
    QPointer<Tform_about> sobre = new Tform_about(&dono);
    sobre->show();
    QTest::mouseClick(sobre->Label1, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(fake.enderecos.size(), 1u);
    EXPECT_EQ(fake.enderecos.front(), QUrl(QStringLiteral("https://www.zelvano.example/")));
    EXPECT_TRUE(sobre->isVisible());

    QTest::mouseClick(sobre->GradientButton1, Qt::LeftButton);
    EsvaziaExclusoes();
    EXPECT_TRUE(sobre.isNull());

    QPointer<Tform_about> outro = new Tform_about(&dono);
    outro->show();
    QTest::keyClick(outro, Qt::Key_Escape);
    EsvaziaExclusoes();
    EXPECT_TRUE(outro.isNull());
}
