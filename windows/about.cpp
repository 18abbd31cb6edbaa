#include "windows/about.h"

#include "controls/acessivel.h"
#include "controls/gradientbutton.h"
#include "controls/teclaativar.h"
#include "platform/platform.h"
#include "resources/jpeg.h"
#include "windows/pecasjanela.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

namespace {

// A label that keeps its width and wraps its text, growing downward only.
QLabel *CriaRotuloQuebrado(
    QWidget *pai, QPoint posicao, int largura, const QString &texto, const QFont &fonte, const QColor &cor)
{
    QLabel *l = CriaRotulo(pai, posicao, texto, fonte, cor);
    l->setWordWrap(true);
    l->setFixedWidth(largura);
    l->setFixedHeight(l->heightForWidth(largura));
    return l;
}

} // namespace

Tform_about::Tform_about(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("form_about"));
    setWindowTitle(QStringLiteral("About"));
    // The title is never shown; a screen reader would read it, in English.
    setAccessibleName(QStringLiteral("Sobre"));
    setModal(true);
    MontaJanela();
    FormCreate(this);
}

void Tform_about::MontaJanela()
{
    setFixedSize(551, 212);
    setAutoFillBackground(true);
    PintaFundo(this, Qt::black);
    PintaTexto(this, Qt::yellow);
    setFont(Fonte(11));

    Panel1 = CriaPainel(this, QRect(1, 1, 548, 208));
    PintaFundo(Panel1, QColor(0, 95, 140));
    MontaPainelNome();
    MontaPainelFigura();
    MontaBotaoOk();
}

// Product, version, the maker's address and company, where it was made and by whom.
void Tform_about::MontaPainelNome()
{
    // Lowered outer and inner bevels: two pixels of sunken edge.
    Panel2 = CriaPainel(Panel1, QRect(5, 8, 281, 162), QFrame::Sunken, 2);
    PintaFundo(Panel2, Qt::black);
    // "Quantas" is seldom installed; the toolkit's substitute then stands in.
    const QFont quantas = Fonte(16, false, QStringLiteral("Quantas"));
    Panel2->setFont(quantas);
    PintaTexto(Panel2, Qt::yellow);

    ProgramIcon = CriaFigura(Panel2, QRect(30, 20, 33, 33), QPixmap(QStringLiteral(":/img/icone.png")));
    ProductName = CriaRotulo(Panel2, QPoint(73, 16), QStringLiteral("Zelvano Agenda"), quantas);
    Version = CriaRotulo(Panel2, QPoint(73, 40), QString(), quantas);

    QFont link = Fonte(16, true, QStringLiteral("Arial"));
    link.setUnderline(true);
    Label1 = CriaRotulo(Panel2, QPoint(39, 63), QString(), link, Qt::red);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    // Tab reaches the address too; Enter or Space there opens it as a click does.
    Label1->setFocusPolicy(Qt::TabFocus);
    // On the black panel the focus is drawn in the panel's yellow.
    MostraFoco(Label1, Qt::yellow);
    ExpoeComoLink(Label1);

    Copyright = CriaRotulo(Panel2, QPoint(26, 89), QString(), Fonte(16), QColor(192, 192, 192));
    Comments = CriaRotuloQuebrado(
        Panel2, QPoint(58, 113), 281 - 58 - 4, QStringLiteral("Feito no Brasil"), Fonte(16), Qt::yellow);
    Label2 = CriaRotuloQuebrado(Panel2, QPoint(22, 141), 281 - 22 - 4,
        QStringLiteral("Programa, desenho e figuras da equipe Zelvano."), Fonte(11), Qt::white);
}

void Tform_about::MontaPainelFigura()
{
    Panel3 = CriaPainel(Panel1, QRect(286, 8, 256, 162), QFrame::Sunken, 2);
    PintaFundo(Panel3, Qt::black);
    Image1 = CriaFigura(Panel3, QRect(2, 4, 251, 155), FiguraJpeg(QStringLiteral(":/img/sobre.jpg")));
}

void Tform_about::MontaBotaoOk()
{
    GradientButton1 = new TGradientButton(Panel1);
    GradientButton1->setGeometry(6, 171, 537, 35);
    GradientButton1->setCaption(QStringLiteral("OK"));
    GradientButton1->setFont(Fonte(16, true));
    PintaTexto(GradientButton1, Qt::blue);
    GradientButton1->setColor(QApplication::palette().color(QPalette::Button));
    GradientButton1->setGradientStyle(gsVertical);
    GradientButton1->setGradientDirection(gdDownRight);
    GradientButton1->setBevelWidth(1);
    GradientButton1->setBorderColor(Qt::black);
    GradientButton1->setBorderStyle(bsNormal);
    GradientButton1->setContrastHighlight(5);
    GradientButton1->setContrastShadow(6);
    GradientButton1->setLayout(blGlyphLeft);
    GradientButton1->setMargin(1);
    GradientButton1->setSpacing(1);
    GradientButton1->setTopMargin(0);
    GradientButton1->setTimerDelay(400);
    GradientButton1->setTimerInterval(100);
    GradientButton1->OnClick = [this](QObject *sender) { GradientButton1Click(sender); };
}

void Tform_about::FormCreate(QObject *)
{
    ProductName->setText(QStringLiteral("Zelvano Quorvel"));
    Version->setText(QStringLiteral("Versão: V13.1"));
    Label1->setText(EnderecoFabricante);
    Copyright->setText(QStringLiteral("Zelvano Sistemas de áudio"));
    for (QLabel *l : { ProductName, Version, Label1, Copyright })
        l->adjustSize();
}

void Tform_about::Label1Click(QObject *)
{
    platform().openUrl(QUrl(EnderecoFabricante));
}

void Tform_about::GradientButton1Click(QObject *)
{
    close();
}

void Tform_about::FormClose(QObject *)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

void Tform_about::reject()
{
    setResult(QDialog::Rejected);
    close();
}

void Tform_about::closeEvent(QCloseEvent *evento)
{
    FormClose(this);
    // Accepted here, not through the dialog's own handling, which would turn the close back
    // into a rejection; hiding ends the modal showing.
    evento->accept();
}

void Tform_about::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    CentraNaTela(this, screen());
}

bool Tform_about::eventFilter(QObject *objeto, QEvent *evento)
{
    // A click is a left press and release on the address.
    if (objeto == Label1 && evento->type() == QEvent::MouseButtonRelease) {
        auto *m = static_cast<QMouseEvent *>(evento);
        if (m->button() == Qt::LeftButton && Label1->rect().contains(m->position().toPoint()))
            Label1Click(Label1);
    }
    if (objeto == Label1 && TeclaDeAtivar(evento)) {
        Label1Click(Label1);
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}
