#include "app/uconsulta.h"
#include "controls/desenhoflat.h"
#include "controls/flatstyle.h"
#include "controls/radiogroup.h"
#include "support/janelaprincipalteste.h"
#include "windows/uprg.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

TEST(UconsultaFlatStyle, StandardControlsAndMenusTakeTheFlatLook)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre();
    ASSERT_NE(janela.FlatStyle1, nullptr);
    EXPECT_TRUE(janela.FlatStyle1->Active());
    EXPECT_EQ(janela.FlatStyle1->SkipTag(), 0);

    const QImage im = janela.grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (!qEnvironmentVariableIsEmpty("ZELVANO_RETRATOS"))
        im.save(qEnvironmentVariable("ZELVANO_RETRATOS") + QStringLiteral("/janela-flat.png"));
    auto em = [&](QWidget *w, int x, int y) { return im.pixelColor(w->mapTo(&janela, QPoint(x, y))); };

    for (QWidget *w : std::initializer_list<QWidget *> { janela.BitBtn4, janela.RichEdit1, janela.RadioGroup1,
             janela.RadioGroup1->Botao(0), janela.RadioGroup1->Botao(3) })
        EXPECT_NE(THookWindowProc::HookOf(w), nullptr) << w->metaObject()->className();
    EXPECT_EQ(em(janela.BitBtn4, 72, 0), QColor(0, 60, 116));
    EXPECT_EQ(em(janela.RichEdit1, 200, 0), QColor(117, 157, 195));
    EXPECT_EQ(em(janela.RichEdit1, 200, 1), QColor(255, 255, 232));
    EXPECT_EQ(em(janela.RadioGroup1, janela.RadioGroup1->width() - 2, 80), QColor(172, 168, 153));
    // The first item is chosen at start: its image is the checked one of the strip.
    QRadioButton *primeiro = janela.RadioGroup1->Botao(0);
    const int topo = (primeiro->height() - 14) / 2;
    const QImage esperado = ImagemRadio(false, true, primeiro->palette().color(QPalette::Window));
    EXPECT_EQ(em(primeiro, 6, topo + 6), esperado.pixelColor(6, 6));

    for (QWidget *menu :
        std::initializer_list<QWidget *> { janela.menuBar(), janela.Funes1, janela.PopupMenu1, janela.PopupMenu2 })
        EXPECT_EQ(menu->style(), janela.FlatStyle1->EstiloMenus());
    // The calendar's month list is a part of the calendar, which keeps its own look.
    const QList<QMenu *> doCalendario = janela.MonthCalendar1->findChildren<QMenu *>();
    EXPECT_FALSE(doCalendario.isEmpty());
    for (QMenu *menu : doCalendario)
        EXPECT_NE(menu->style(), janela.FlatStyle1->EstiloMenus());
    // The grid keeps its own look.
    const QRect grade(janela.Stringgrid2->mapTo(&janela, QPoint(0, 0)), janela.Stringgrid2->size());
    int moldura = 0;
    for (int x = grade.left(); x <= grade.right(); ++x)
        moldura += im.pixelColor(x, grade.top()) == QColor(117, 157, 195);
    EXPECT_EQ(moldura, 0);
}

TEST(UconsultaFlatStyle, EntryWindowOpenedLaterIsPickedUpWhenActivated)
{
    JanelaPrincipalTeste principal;
    Tfrm_agenda &janela = principal.Abre();
    auto *cadastro = new Tfrm_cadastro(&janela);
    cadastro->show();
    QApplication::setActiveWindow(cadastro);
    QEventLoop laco;
    QTimer::singleShot(20, &laco, &QEventLoop::quit);
    laco.exec();
    for (QWidget *w : std::initializer_list<QWidget *> {
             cadastro->BitBtn1, cadastro->MaskEdit1, cadastro->Memo1, cadastro->RadioGroup1 })
        EXPECT_NE(THookWindowProc::HookOf(w), nullptr) << w->metaObject()->className();
    const QImage im = cadastro->grab().toImage();
    if (!qEnvironmentVariableIsEmpty("ZELVANO_RETRATOS"))
        im.save(qEnvironmentVariable("ZELVANO_RETRATOS") + QStringLiteral("/cadastro-flat.png"));
    EXPECT_EQ(im.pixelColor(cadastro->MaskEdit1->mapTo(cadastro, QPoint(5, 0))), QColor(117, 157, 195));
    EXPECT_EQ(im.pixelColor(cadastro->BitBtn1->mapTo(cadastro, QPoint(cadastro->BitBtn1->width() / 2, 0))),
        QColor(0, 60, 116));

    // The window's own Enter key still reaches the hooked buttons: Enter on "Fechar" closes.
    cadastro->BitBtn4->setFocus();
    QTest::keyClick(cadastro->BitBtn4, Qt::Key_Return);
    EXPECT_FALSE(cadastro->isVisible());
    EXPECT_TRUE(principal.fake.caixas.empty()) << principal.fake.TextosCaixas().join('\n').toStdString();
}
