#include "controls/colorconv.h"

#include <cmath>

namespace {

// Corners of the colour hexagon as points of the -1..+1 cube, red first.
constexpr double Setores[6][3] = {
    { +1, -1, -1 }, // red
    { +1, +1, -1 }, // yellow
    { -1, +1, -1 }, // green
    { -1, +1, +1 }, // cyan
    { -1, -1, +1 }, // blue
    { +1, -1, +1 }, // magenta
};

const char *const NomesHLS[3] = { "Hue", "Luminance", "Saturation" };
const char *const NomesRGB[3] = { "Red", "Green", "Blue" };

void Confere(const TVetorCor &v, const char *rotina, const char *const nomes[3])
{
    for (int i = 0; i < 3; ++i) {
        // Written so that NaN fails as well.
        if (!(v[i] >= 0.0 && v[i] <= 1.0))
            throw EColorConv(std::string(rotina) + ": 0 <= " + nomes[i] + " value <= 1 required");
    }
}

double Limita(double x)
{
    if (x < 0.0)
        return 0.0;
    if (x > 1.0)
        return 1.0;
    return x;
}

// Hue in sixths from the transformed vector n and the index k of its smallest channel.
double Matiz(int k, const double n[3])
{
    double h = 0.0;
    switch (k) {
    case 0:
        h = n[1] > n[2] ? (n[2] + 1) / 2 + 2 : 4 - (n[1] + 1) / 2;
        break;
    case 1:
        h = n[2] > n[0] ? (n[0] + 1) / 2 + 4 : 6 - (n[2] + 1) / 2;
        break;
    default:
        h = n[0] > n[1] ? (n[1] + 1) / 2 : 2 - (n[0] + 1) / 2;
        break;
    }
    return h / 6;
}

constexpr double Epsilon = 1e-8;

} // namespace

void HLS2RGB(const TVetorCor &hls, TVetorCor &rgb)
{
    Confere(hls, "HLS2RGB", NomesHLS);
    const double h = hls[0], l = hls[1], s = hls[2];

    const double seis = 6 * h;
    const int b = static_cast<int>(std::trunc(seis)) % 6; // hue 1 is red again
    const int proximo = (b + 1) % 6;
    const double f = seis - std::trunc(seis);

    TVetorCor c {};
    for (int i = 0; i < 3; ++i) {
        double v = Setores[b][i] + f * (Setores[proximo][i] - Setores[b][i]);
        v *= s;
        c[i] = Limita(l > 0.5 ? l + (1 - l) * v : l * (v + 1));
    }
    rgb = c;
}

void RGB2HLS(const TVetorCor &rgb, TVetorCor &hls)
{
    Confere(rgb, "RGB2HLS", NomesRGB);

    double a[3];
    double m = 0.0;
    int k = 0;
    for (int i = 0; i < 3; ++i) {
        a[i] = 2 * rgb[i] - 1;
        if (std::fabs(a[i]) > m) {
            m = std::fabs(a[i]);
            k = i;
        }
    }
    if (m < Epsilon) { // the middle grey
        hls = { 0.0, 0.5, 0.0 };
        return;
    }

    double n[3];
    for (int i = 0; i < 3; ++i)
        n[i] = a[i] / m;

    double h = 0, l = 0, s = 0;
    if (a[k] > 0) {
        double m2 = 0.0;
        for (int i = 0; i < 3; ++i)
            m2 = std::max(m2, 1 - n[i]);
        if (m2 < Epsilon) { // a grey lighter than the middle
            hls = { 0.0, rgb[0], 0.0 };
            return;
        }
        double menor = 1.0;
        for (int i = 0; i < 3; ++i) {
            n[i] = (n[i] - 1) * (2 / m2) + 1;
            if (n[i] < menor) {
                menor = n[i];
                k = i;
            }
        }
        h = Matiz(k, n);

        if (std::fabs(a[1] - a[0]) > Epsilon)
            s = (a[1] - a[0]) / ((a[1] - 1) * n[0] - (a[0] - 1) * n[1]);
        else if (std::fabs(a[2] - a[1]) > Epsilon)
            s = (a[2] - a[1]) / ((a[2] - 1) * n[1] - (a[1] - 1) * n[2]);
        else if (std::fabs(a[2] - a[0]) > Epsilon)
            s = (a[2] - a[0]) / ((a[2] - 1) * n[0] - (a[0] - 1) * n[2]);

        double t;
        if (std::fabs(n[1] - n[0]) > Epsilon)
            t = ((a[0] - 1) * n[1] - (a[1] - 1) * n[0]) / (n[1] - n[0]);
        else if (std::fabs(n[2] - n[1]) > Epsilon)
            t = ((a[1] - 1) * n[2] - (a[2] - 1) * n[1]) / (n[2] - n[1]);
        else if (std::fabs(n[2] - n[0]) > Epsilon)
            t = ((a[0] - 1) * n[2] - (a[2] - 1) * n[0]) / (n[2] - n[0]);
        else
            t = a[0] - 1;
        l = t * 0.5 + 1;
    } else {
        double m2 = 0.0;
        for (int i = 0; i < 3; ++i)
            m2 = std::max(m2, n[i] + 1);
        if (m2 < Epsilon) { // a grey darker than the middle
            hls = { 0.0, rgb[0], 0.0 };
            return;
        }
        for (int i = 0; i < 3; ++i)
            n[i] = (n[i] + 1) * (2 / m2) - 1;
        h = Matiz(k, n); // the dominant channel is here the smallest one

        if (std::fabs(a[1] - a[0]) > Epsilon)
            s = (a[1] - a[0]) / ((a[0] + 1) * n[1] - (a[1] + 1) * n[0]);
        else if (std::fabs(a[2] - a[1]) > Epsilon)
            s = (a[2] - a[1]) / ((a[1] + 1) * n[2] - (a[2] + 1) * n[1]);
        else if (std::fabs(a[2] - a[0]) > Epsilon)
            s = (a[2] - a[0]) / ((a[0] + 1) * n[2] - (a[2] + 1) * n[0]);

        double t;
        if (std::fabs(n[1] - n[0]) > Epsilon)
            t = ((a[0] + 1) * n[1] - (a[1] + 1) * n[0]) / (n[1] - n[0]);
        else if (std::fabs(n[2] - n[1]) > Epsilon)
            t = ((a[1] + 1) * n[2] - (a[2] + 1) * n[1]) / (n[2] - n[1]);
        else if (std::fabs(n[2] - n[0]) > Epsilon)
            t = ((a[0] + 1) * n[2] - (a[2] + 1) * n[0]) / (n[2] - n[0]);
        else
            t = a[0] + 1;
        l = t * 0.5;
    }
    hls = { Limita(h), Limita(l), Limita(s) };
}

void ComputeLightDark(const QColor &cor, QColor &light, QColor &dark, float lightFactor, float darkFactor)
{
    const QRgb rgb = cor.rgb();
    const int canais[3] = { qRed(rgb), qGreen(rgb), qBlue(rgb) };

    int claro[3];
    for (int i = 0; i < 3; ++i) {
        // Halves go to the even neighbour, as the classic round does.
        const int v = 255 - static_cast<int>(std::nearbyint((256 - canais[i]) * double(lightFactor)));
        // A factor at (or next to) 1 would wrap a black channel round to 255; it stays black.
        claro[i] = v < 0 ? 0 : v % 256;
    }

    // Written before the dark half, which can still fail on a dark factor above 1.
    light = QColor(claro[0], claro[1], claro[2]);

    TVetorCor hls;
    RGB2HLS({ canais[0] / 255.0, canais[1] / 255.0, canais[2] / 255.0 }, hls);
    hls[1] *= double(darkFactor);
    TVetorCor escuro;
    HLS2RGB(hls, escuro);

    dark = QColor(static_cast<int>(std::nearbyint(escuro[0] * 255)), static_cast<int>(std::nearbyint(escuro[1] * 255)),
        static_cast<int>(std::nearbyint(escuro[2] * 255)));
}
