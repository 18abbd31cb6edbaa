#include "windows/about.h"

#include "controls/gradientbutton.h"
#include "controls/teclaativar.h"
#include "platform/platform.h"
#include "windows/jpeg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

namespace {

QFont fonte(const QString &familia, int pixels, bool negrito = false)
{
    QFont f(familia);
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

void pinta(QWidget *w, QPalette::ColorRole papel, const QColor &cor)
{
    QPalette p = w->palette();
    p.setColor(papel, cor);
    w->setPalette(p);
}

QFrame *painel(QWidget *pai, const QRect &geometria, const QColor &cor, QFrame::Shadow sombra, int espessura)
{
    auto *p = new QFrame(pai);
    p->setGeometry(geometria);
    p->setFrameStyle(QFrame::Panel | sombra);
    p->setLineWidth(espessura);
    p->setAutoFillBackground(true);
    pinta(p, QPalette::Window, cor);
    return p;
}

QLabel *rotulo(QWidget *pai, QPoint posicao)
{
    auto *l = new QLabel(pai);
    l->move(posicao);
    return l;
}

// A label that keeps its width and wraps its text, growing downward only.
QLabel *rotuloQuebrado(QWidget *pai, QPoint posicao, int largura)
{
    auto *l = rotulo(pai, posicao);
    l->setWordWrap(true);
    l->setFixedWidth(largura);
    return l;
}

void ajusta(QLabel *l)
{
    if (l->wordWrap())
        l->setFixedHeight(l->heightForWidth(l->width()));
    else
        l->adjustSize();
}

} // namespace

Tform_about::Tform_about(QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("form_about"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    montaJanela();
    FormCreate(this);
}

void Tform_about::montaJanela()
{
    setFixedSize(551, 212);
    setAutoFillBackground(true);
    pinta(this, QPalette::Window, Qt::black);
    pinta(this, QPalette::WindowText, Qt::yellow);
    setFont(fonte(QStringLiteral("MS Sans Serif"), 11));

    Panel1 = painel(this, QRect(1, 1, 548, 208), QColor(0, 95, 140), QFrame::Raised, 1);
    // Lowered outer and inner bevels: two pixels of sunken edge.
    Panel2 = painel(Panel1, QRect(5, 8, 281, 162), Qt::black, QFrame::Sunken, 2);
    // "Quantas" is seldom installed; the toolkit's substitute then stands in.
    Panel2->setFont(fonte(QStringLiteral("Quantas"), 16));
    pinta(Panel2, QPalette::WindowText, Qt::yellow);

    ProgramIcon = rotulo(Panel2, QPoint(30, 20));
    ProgramIcon->resize(33, 33);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/img/icone.png")));

    ProductName = rotulo(Panel2, QPoint(73, 16));
    ProductName->setText(QStringLiteral("Zelvano Agenda"));
    Version = rotulo(Panel2, QPoint(73, 40));

    Label1 = rotulo(Panel2, QPoint(39, 63));
    QFont link = fonte(QStringLiteral("Arial"), 16, true);
    link.setUnderline(true);
    Label1->setFont(link);
    pinta(Label1, QPalette::WindowText, Qt::red);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->installEventFilter(this);
    // Tab reaches the address too; Enter or Space there opens it as a click does.
    Label1->setFocusPolicy(Qt::TabFocus);
    Label1->setStyleSheet(QStringLiteral("QLabel:focus { border: 1px dotted black; }"));

    Copyright = rotulo(Panel2, QPoint(26, 89));
    Copyright->setFont(fonte(QStringLiteral("MS Sans Serif"), 16));
    pinta(Copyright, QPalette::WindowText, QColor(192, 192, 192));

    Comments = rotuloQuebrado(Panel2, QPoint(58, 113), 281 - 58 - 4);
    Comments->setFont(fonte(QStringLiteral("MS Sans Serif"), 16));
    pinta(Comments, QPalette::WindowText, Qt::yellow);
    Comments->setText(QStringLiteral("Feito no Brasil"));

    Label2 = rotuloQuebrado(Panel2, QPoint(22, 141), 281 - 22 - 4);
    Label2->setFont(fonte(QStringLiteral("MS Sans Serif"), 11));
    pinta(Label2, QPalette::WindowText, Qt::white);
    Label2->setText(QStringLiteral("Programa, desenho e figuras da equipe Zelvano."));

    Panel3 = painel(Panel1, QRect(286, 8, 256, 162), Qt::black, QFrame::Sunken, 2);
    Image1 = rotulo(Panel3, QPoint(2, 4));
    Image1->resize(251, 155);
    Image1->setScaledContents(true);
    Image1->setPixmap(FiguraJpeg(QStringLiteral(":/img/sobre.jpg")));

    GradientButton1 = new TGradientButton(Panel1);
    GradientButton1->setGeometry(6, 171, 537, 35);
    GradientButton1->setCaption(QStringLiteral("OK"));
    GradientButton1->setFont(fonte(QStringLiteral("MS Sans Serif"), 16, true));
    pinta(GradientButton1, QPalette::WindowText, Qt::blue);
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

    for (QLabel *l : { ProductName, Version, Label1, Copyright, Comments, Label2 })
        ajusta(l);
}

void Tform_about::FormCreate(QObject *)
{
    ProductName->setText(QStringLiteral("Zelvano Quorvel"));
    Version->setText(QStringLiteral("Versão: V13.1"));
    Label1->setText(EnderecoFabricante);
    Copyright->setText(QStringLiteral("Zelvano Sistemas de áudio"));
    for (QLabel *l : { ProductName, Version, Label1, Copyright })
        ajusta(l);
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
    if (QScreen *tela = screen())
        move(tela->availableGeometry().center() - rect().center());
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
