#pragma once

#include <QColor>

#include <array>
#include <stdexcept>

// Three doubles on the unit interval: red, green, blue or hue, luminance, saturation.
using TVetorCor = std::array<double, 3>;

// Raised when a component handed to a conversion lies outside 0..1 (or is not a number).
class EColorConv : public std::runtime_error
{
public:
    explicit EColorConv(const std::string &mensagem)
        : std::runtime_error(mensagem)
    {
    }
};

// Hue in sixths of the colour hexagon (0 red, 1/6 yellow ... 1 red again), luminance 0 black
// to 1 white, saturation 0 grey. rgb is written only when every component is valid.
void HLS2RGB(const TVetorCor &hls, TVetorCor &rgb);

// A colour whose largest channel is red with equal green and blue comes out with hue 1, not
// 0; greys have hue 0 and saturation 0. hls is written only when every channel is valid.
void RGB2HLS(const TVetorCor &rgb, TVetorCor &hls);

// The lighter and darker companions of a colour: light moves each channel toward white
// (factor 0 white, 1 the colour itself), dark scales the luminance (0 black, 1 the colour).
// Both outputs are always written, light first; alpha is dropped.
void ComputeLightDark(const QColor &cor, QColor &light, QColor &dark, float lightFactor, float darkFactor);
