#include "controls/itemstatusnotifier.h"

#include <QImage>

#include <gtest/gtest.h>

TEST(ItemStatusNotifier, APanelGetsEachPixelAsAlphaRedGreenBlueUnpremultiplied)
{
    QImage imagem(2, 1, QImage::Format_ARGB32_Premultiplied);
    imagem.setPixel(0, 0, qPremultiply(qRgba(0x10, 0x20, 0x30, 0x80)));
    imagem.setPixel(1, 0, qRgba(0xff, 0x00, 0x7f, 0xff));
    EXPECT_EQ(PixelsDeRede(imagem).toHex(' '), "80 10 20 30 ff ff 00 7f");
}
