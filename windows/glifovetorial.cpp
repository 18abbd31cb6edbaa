#include "windows/glifovetorial.h"

#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace {

// The colour of a one-colour picture: its first opaque pixel.
QColor CorDaImagem(const QImage &imagem)
{
    for (int y = 0; y < imagem.height(); ++y)
        for (int x = 0; x < imagem.width(); ++x)
            if (qAlpha(imagem.pixel(x, y)) == 255)
                return imagem.pixelColor(x, y);
    return Qt::black;
}

QPainterPath Poligono(std::initializer_list<QPointF> pontos)
{
    QPainterPath caminho;
    caminho.addPolygon(QPolygonF(QList<QPointF>(pontos)));
    caminho.closeSubpath();
    return caminho;
}

} // namespace

TGlifoVetorial::TGlifoVetorial(const QImage &faixa, const QPainterPath &forma)
    : m_faixa(faixa.convertToFormat(QImage::Format_ARGB32))
    , m_forma(forma)
    , m_tamanho(faixa.width() / 2, faixa.height())
{
}

QImage TGlifoVetorial::Imagem(QIcon::Mode modo) const
{
    const int x = modo == QIcon::Disabled ? m_tamanho.width() : 0;
    return m_faixa.copy(x, 0, m_tamanho.width(), m_tamanho.height());
}

QPixmap TGlifoVetorial::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State)
{
    const QImage artes = Imagem(mode);
    if (size == m_tamanho)
        return QPixmap::fromImage(artes);
    QPixmap desenho(size);
    desenho.fill(Qt::transparent);
    QPainter p(&desenho);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(size.width()) / m_tamanho.width(), qreal(size.height()) / m_tamanho.height());
    p.fillPath(m_forma, CorDaImagem(artes));
    return desenho;
}

void TGlifoVetorial::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    const qreal escala = std::abs(painter->deviceTransform().m11());
    QPixmap desenho = pixmap(rect.size() * escala, mode, state);
    desenho.setDevicePixelRatio(escala);
    painter->drawPixmap(rect.topLeft(), desenho);
}

QSize TGlifoVetorial::actualSize(const QSize &size, QIcon::Mode, QIcon::State)
{
    return m_tamanho.scaled(size, Qt::KeepAspectRatio).boundedTo(m_tamanho);
}

QList<QSize> TGlifoVetorial::availableSizes(QIcon::Mode mode, QIcon::State)
{
    // The strip holds the normal and the disabled picture and no other.
    if (mode == QIcon::Normal || mode == QIcon::Disabled)
        return { m_tamanho };
    return {};
}

QIconEngine *TGlifoVetorial::clone() const
{
    return new TGlifoVetorial(*this);
}

QString TGlifoVetorial::key() const
{
    return QStringLiteral("TGlifoVetorial");
}

QPainterPath FormaDoGlifo(const QString &recurso)
{
    // Traced over the artwork: a pixel (x, y) covers x..x+1, y..y+1.
    if (recurso.endsWith(QLatin1String("/ok.png"))) {
        // The tick, and the two strokes its brush leaves at the top of the long arm.
        QPainterPath forma = Poligono({ { 2, 11.5 }, { 4.5, 9 }, { 8, 12.5 }, { 15.5, 5 }, { 18, 7.5 }, { 8, 17.5 } });
        forma.addPath(Poligono({ { 13, 7 }, { 16, 3 }, { 17, 3.5 }, { 15.5, 7 } }));
        forma.addPath(Poligono({ { 16.8, 7 }, { 18.3, 5 }, { 19, 5.5 }, { 18, 7 } }));
        return forma.simplified();
    }
    if (recurso.endsWith(QLatin1String("/cancelar.png"))) {
        QPainterPath forma = Poligono({ { 3, 5.5 }, { 5.5, 3 }, { 18, 15.5 }, { 15.5, 18 } });
        forma.addPath(Poligono({ { 18, 5.5 }, { 15.5, 3 }, { 3, 15.5 }, { 5.5, 18 } }));
        return forma.simplified();
    }
    if (recurso.endsWith(QLatin1String("/minimizar.png"))) {
        QPainterPath forma = Poligono({ { 4, 4 }, { 17, 4 }, { 17, 5.5 }, { 10.5, 12 }, { 4, 5.5 } });
        forma.addRect(3, 13, 14, 4);
        return forma.simplified();
    }
    return {};
}
