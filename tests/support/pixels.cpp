#include "pixels.h"

#include <QWidget>

QRect CaixaDosPixels(const QImage &imagem, const std::function<bool(const QColor &)> &escolhe, const QRect &area)
{
    const QRect onde = area.isEmpty() ? imagem.rect() : area;
    QRect caixa;
    for (int y = onde.top(); y <= onde.bottom(); ++y)
        for (int x = onde.left(); x <= onde.right(); ++x)
            // Opaque pictures: the colour is compared without the alpha.
            if (escolhe(QColor(imagem.pixel(x, y))))
                caixa |= QRect(x, y, 1, 1);
    return caixa;
}

QRect CaixaDaCor(const QImage &imagem, const QColor &cor, const QRect &area)
{
    return CaixaDosPixels(
        imagem, [&cor](const QColor &c) { return c == cor; }, area);
}

QRect CaixaDaTinta(const QImage &imagem, const QColor &fundo, const QRect &area)
{
    return CaixaDosPixels(
        imagem, [&fundo](const QColor &c) { return c != fundo; }, area);
}

int PixelsDiferentes(const QImage &imagem, const QRect &area, const QColor &fundo)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += imagem.pixelColor(x, y) != fundo;
    return n;
}

QImage RetratoEmEscala(QWidget *w, qreal escala)
{
    QImage imagem((QSizeF(w->size()) * escala).toSize(), QImage::Format_RGB32);
    imagem.setDevicePixelRatio(escala);
    imagem.fill(Qt::black);
    w->render(&imagem);
    return imagem;
}
