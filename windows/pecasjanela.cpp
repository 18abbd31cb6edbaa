#include "windows/pecasjanela.h"

#include "controls/barratitulo.h"
#include "platform/platform.h"
#include "windows/glifovetorial.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

void Pinta(QWidget *w, QPalette::ColorRole papel, const QColor &cor)
{
    QPalette p = w->palette();
    p.setColor(papel, cor);
    w->setPalette(p);
}

QLabel *NovoRotulo(QWidget *pai, const QString &texto, const QFont &fonte, const QColor &cor)
{
    auto *l = new QLabel(texto, pai);
    l->setFont(fonte);
    if (cor.isValid())
        PintaTexto(l, cor);
    return l;
}

} // namespace

QFont Fonte(int pixels, bool negrito, const QString &familia)
{
    QFont f(familia);
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

void PintaTexto(QWidget *w, const QColor &cor)
{
    Pinta(w, QPalette::WindowText, cor);
}

void PintaFundo(QWidget *w, const QColor &cor)
{
    Pinta(w, QPalette::Window, cor);
}

QFrame *CriaPainel(QWidget *pai, const QRect &geometria, QFrame::Shadow sombra, int espessura)
{
    auto *p = new QFrame(pai);
    p->setFrameStyle(QFrame::Panel | sombra);
    p->setLineWidth(espessura);
    p->setGeometry(geometria);
    p->setAutoFillBackground(true);
    return p;
}

QLabel *CriaRotulo(QWidget *pai, QPoint posicao, const QString &texto, const QFont &fonte, const QColor &cor)
{
    QLabel *l = NovoRotulo(pai, texto, fonte, cor);
    l->move(posicao);
    l->adjustSize();
    return l;
}

QLabel *CriaCaixaTexto(QWidget *pai, const QRect &geometria, const QString &texto, const QFont &fonte,
    Qt::Alignment alinhamento, const QColor &cor)
{
    QLabel *l = NovoRotulo(pai, texto, fonte, cor);
    l->setGeometry(geometria);
    l->setAlignment(alinhamento | Qt::AlignTop);
    return l;
}

QFrame *CriaRegua(QWidget *pai, const QRect &geometria)
{
    auto *b = new QFrame(pai);
    b->setFrameStyle((geometria.height() <= 2 ? QFrame::HLine : QFrame::VLine) | QFrame::Sunken);
    b->setGeometry(geometria);
    return b;
}

QLabel *CriaFigura(QWidget *pai, const QRect &geometria, const QPixmap &figura)
{
    auto *l = new QLabel(pai);
    l->setGeometry(geometria);
    l->setScaledContents(true);
    if (!figura.isNull())
        l->setPixmap(figura);
    return l;
}

void PoeGlifo(QAbstractButton *botao, const QString &recurso)
{
    const QImage figura(recurso);
    const int largura = figura.width() / 2;
    const QPainterPath forma = FormaDoGlifo(recurso);
    QIcon icone;
    if (!forma.isEmpty()) {
        icone = QIcon(new TGlifoVetorial(figura, forma));
    } else {
        icone.addPixmap(QPixmap::fromImage(figura.copy(0, 0, largura, figura.height())), QIcon::Normal);
        icone.addPixmap(QPixmap::fromImage(figura.copy(largura, 0, largura, figura.height())), QIcon::Disabled);
    }
    botao->setIcon(icone);
    botao->setIconSize(QSize(largura, figura.height()));
}

QPushButton *CriaBotao(
    QWidget *pai, const QRect &geometria, const QString &texto, const QFont &fonte, const QString &glifo)
{
    auto *b = new QPushButton(texto, pai);
    b->setGeometry(geometria);
    b->setFont(fonte);
    if (!glifo.isEmpty())
        PoeGlifo(b, glifo);
    return b;
}

QPoint PosicaoNaTela(const QRect &area, QSize janela, QSize moldura)
{
    QPoint canto = area.center() - QRect(QPoint(0, 0), janela).center();
    auto cabe = [](int inicio, int extensao, int fimArea, int inicioArea) {
        return std::max(std::min(inicio, fimArea + 1 - extensao), inicioArea);
    };
    canto.setX(cabe(canto.x(), janela.width() + moldura.width(), area.right(), area.left()));
    canto.setY(cabe(canto.y(), janela.height() + moldura.height(), area.bottom(), area.top()));
    return canto;
}

void CentraNaTela(QWidget *janela, QScreen *tela)
{
    if (!tela)
        return;
    // The frame is known once the desktop has framed the window; before, it counts as none.
    const QSize moldura = janela->frameGeometry().size() - janela->size();
    janela->move(PosicaoNaTela(tela->availableGeometry(), janela->size(), moldura));
}

void DecoraJanela(QWidget *janela)
{
    if (!platform().serverSideDecorations())
        new TBarraTitulo(janela);
}
