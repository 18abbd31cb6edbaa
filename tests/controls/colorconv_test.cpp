#include "controls/colorconv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct CasoHLS
{
    TVetorCor rgb;
    TVetorCor hls;
};

} // namespace

TEST(ColorConv, RGB2HLSGivesKnownHuesLuminancesAndSaturations)
{
    const CasoHLS casos[] = {
        { { 0.5, 0.5, 0.5 }, { 0, 0.5, 0 } },
        { { 0, 0, 0 }, { 0, 0, 0 } },
        { { 1, 1, 1 }, { 0, 1, 0 } },
        { { 0.2, 0.2, 0.2 }, { 0, 0.2, 0 } },
        { { 0.8, 0.8, 0.8 }, { 0, 0.8, 0 } },
        // Red with equal green and blue takes hue 1, not 0.
        { { 1, 0, 0 }, { 1, 0.5, 1 } },
        { { 0.4, 0, 0 }, { 1, 0.2, 1 } },
        { { 1, 0.5, 0.5 }, { 1, 0.75, 1 } },
        { { 0, 1, 0 }, { 1.0 / 3, 0.5, 1 } },
        { { 0, 0, 1 }, { 2.0 / 3, 0.5, 1 } },
        { { 1, 1, 0 }, { 1.0 / 6, 0.5, 1 } },
        { { 0, 1, 1 }, { 0.5, 0.5, 1 } },
        { { 1, 0, 1 }, { 5.0 / 6, 0.5, 1 } },
        { { 0.75, 0.25, 0.25 }, { 1, 0.5, 0.5 } },
    };
    for (const auto &caso : casos) {
        TVetorCor hls { -1, -1, -1 };
        RGB2HLS(caso.rgb, hls);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(hls[i], caso.hls[i], 1e-9)
                << caso.rgb[0] << "," << caso.rgb[1] << "," << caso.rgb[2] << " [" << i << "]";
    }
}

TEST(ColorConv, HLS2RGBTreatsHueOneAsRed)
{
    for (double h : { 0.0, 1.0 }) {
        TVetorCor rgb;
        HLS2RGB({ h, 0.5, 1 }, rgb);
        EXPECT_DOUBLE_EQ(rgb[0], 1);
        EXPECT_DOUBLE_EQ(rgb[1], 0);
        EXPECT_DOUBLE_EQ(rgb[2], 0);
    }
}

TEST(ColorConv, FirstInvalidComponentIsNamedAndNothingIsWritten)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Caso
    {
        bool paraRgb; // false: HLS2RGB
        TVetorCor entrada;
        const char *mensagem;
    };
    const Caso casos[] = {
        { false, { 0.5, 1.0000001, 0.5 }, "HLS2RGB: 0 <= Luminance value <= 1 required" },
        { false, { -0.1, 2, 0.5 }, "HLS2RGB: 0 <= Hue value <= 1 required" },
        { false, { 0.5, 0.5, nan }, "HLS2RGB: 0 <= Saturation value <= 1 required" },
        { true, { 0.5, 1.5, 0.5 }, "RGB2HLS: 0 <= Green value <= 1 required" },
        { true, { nan, 0.5, 0.5 }, "RGB2HLS: 0 <= Red value <= 1 required" },
        { true, { 0, 0, -1e-12 }, "RGB2HLS: 0 <= Blue value <= 1 required" },
    };
    for (const auto &caso : casos) {
        TVetorCor saida { 7, 7, 7 };
        try {
            if (caso.paraRgb)
                RGB2HLS(caso.entrada, saida);
            else
                HLS2RGB(caso.entrada, saida);
            ADD_FAILURE() << "no exception for " << caso.mensagem;
        } catch (const EColorConv &erro) {
            EXPECT_STREQ(erro.what(), caso.mensagem);
        }
        EXPECT_EQ(saida, (TVetorCor { 7, 7, 7 }));
    }
}

TEST(ColorConv, EveryByteColourSurvivesTheRoundTrip)
{
    for (int r = 0; r <= 255; r += 15)
        for (int g = 0; g <= 255; g += 17)
            for (int b = 0; b <= 255; b += 5) {
                const TVetorCor rgb { r / 255.0, g / 255.0, b / 255.0 };
                TVetorCor hls, volta;
                RGB2HLS(rgb, hls);
                HLS2RGB(hls, volta);
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(volta[i], rgb[i], 1e-9) << r << "," << g << "," << b;
            }
}

TEST(ColorConv, CompanionsGoTowardWhiteAndBlackByTheirFactors)
{
    struct Caso
    {
        QColor cor;
        float claro, escuro;
        QColor esperadoClaro, esperadoEscuro;
    };
    const QColor base(212, 208, 200);
    TVetorCor hls;
    RGB2HLS({ 212 / 255.0, 208 / 255.0, 200 / 255.0 }, hls);
    const Caso casos[] = {
        { base, 0.5f, 1.0f, QColor(233, 231, 227), base },
        { base, 0.0f, 0.0f, QColor(255, 255, 255), QColor(0, 0, 0) },
        // A light factor of 1 takes one from each channel; a black channel stays black.
        { QColor(0, 128, 255), 1.0f, 1.0f, QColor(0, 127, 254), QColor(0, 128, 255) },
        // 25 × 0.5 = 12.5 goes to the even 12.
        { QColor(231, 231, 231), 0.5f, 1.0f, QColor(243, 243, 243), QColor(231, 231, 231) },
    };
    for (const auto &caso : casos) {
        QColor claro, escuro;
        ComputeLightDark(caso.cor, claro, escuro, caso.claro, caso.escuro);
        EXPECT_EQ(claro, caso.esperadoClaro) << caso.cor.name().toStdString();
        EXPECT_EQ(escuro, caso.esperadoEscuro) << caso.cor.name().toStdString();
    }

    // Dark scales the luminance only.
    QColor claro, escuro;
    ComputeLightDark(base, claro, escuro, 0.5f, 0.4f);
    TVetorCor hlsEscuro;
    RGB2HLS({ escuro.redF(), escuro.greenF(), escuro.blueF() }, hlsEscuro);
    EXPECT_NEAR(hlsEscuro[1], hls[1] * 0.4, 1.0 / 255);
    EXPECT_NEAR(hlsEscuro[0], hls[0], 0.01);
}

TEST(ColorConv, DarkFactorAboveOneFailsAfterTheLightColourIsWritten)
{
    QColor claro, escuro(1, 2, 3);
    try {
        ComputeLightDark(QColor(200, 200, 200), claro, escuro, 0.5f, 2.0f);
        ADD_FAILURE() << "no exception";
    } catch (const EColorConv &erro) {
        EXPECT_STREQ(erro.what(), "HLS2RGB: 0 <= Luminance value <= 1 required");
    }
    EXPECT_EQ(claro, QColor(227, 227, 227));
    EXPECT_EQ(escuro, QColor(1, 2, 3));
}
