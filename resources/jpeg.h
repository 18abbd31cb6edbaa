#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>

// JPEG pictures are decoded by libjpeg itself, so the program needs no image plugin.
// A picture that cannot be decoded gives a null image.
QImage DecodificaJpeg(const QByteArray &bytes);
// A JPEG picture from the compiled-in resources, e.g. ":/img/alerta.jpg".
QPixmap FiguraJpeg(const QString &recurso);
