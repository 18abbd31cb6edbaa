#include "resources/jpeg.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(DecodificaJpeg, DecodesThePicturesAndRefusesBrokenData)
{
    const struct
    {
        const char *recurso;
        QSize tamanho;
    } figuras[] = { { ":/img/cadastro.jpg", { 233, 37 } }, { ":/img/alerta.jpg", { 281, 46 } },
        { ":/img/sobre.jpg", { 251, 155 } } };
    for (const auto &f : figuras)
        EXPECT_EQ(FiguraJpeg(QString::fromLatin1(f.recurso)).size(), f.tamanho) << f.recurso;

    QFile arquivo(QStringLiteral(":/img/alerta.jpg"));
    ASSERT_TRUE(arquivo.open(QIODevice::ReadOnly));
    const QByteArray bytes = arquivo.readAll();
    // The top-left corner of the banner is its gradient's yellow.
    const QColor canto = DecodificaJpeg(bytes).pixelColor(2, 2);
    EXPECT_GT(canto.red(), 200);
    EXPECT_GT(canto.green(), 180);
    EXPECT_LT(canto.blue(), 120);

    EXPECT_TRUE(DecodificaJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodificaJpeg(QByteArray("not a jpeg at all")).isNull());
    EXPECT_TRUE(DecodificaJpeg(bytes.left(20)).isNull());
    EXPECT_TRUE(FiguraJpeg(QStringLiteral(":/img/nenhuma.jpg")).isNull());
}
