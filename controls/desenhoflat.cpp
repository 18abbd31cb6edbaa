#include "controls/desenhoflat.h"

#include "controls/drawtext.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

void Pixel(QPainter &p, int x, int y, const QColor &cor)
{
    p.fillRect(x, y, 1, 1, cor);
}

void LinhaH(QPainter &p, int x1, int x2, int y, const QColor &cor)
{
    if (x2 >= x1)
        p.fillRect(x1, y, x2 - x1 + 1, 1, cor);
}

void LinhaV(QPainter &p, int x, int y1, int y2, const QColor &cor)
{
    if (y2 >= y1)
        p.fillRect(x, y1, 1, y2 - y1 + 1, cor);
}

void Contorno(QPainter &p, const QRect &r, const QColor &cor)
{
    if (r.isEmpty())
        return;
    LinhaH(p, r.left(), r.right(), r.top(), cor);
    LinhaH(p, r.left(), r.right(), r.bottom(), cor);
    LinhaV(p, r.left(), r.top(), r.bottom(), cor);
    LinhaV(p, r.right(), r.top(), r.bottom(), cor);
}

void ContornoArredondado(QPainter &p, const QRect &r, int elipse, const QColor &cor)
{
    if (r.width() < 6 || r.height() < 6) {
        Contorno(p, r, cor);
        return;
    }
    const int recuo = elipse >= 6 ? 3 : 2;
    LinhaH(p, r.left() + recuo, r.right() - recuo, r.top(), cor);
    LinhaH(p, r.left() + recuo, r.right() - recuo, r.bottom(), cor);
    LinhaV(p, r.left(), r.top() + recuo, r.bottom() - recuo, cor);
    LinhaV(p, r.right(), r.top() + recuo, r.bottom() - recuo, cor);
    // The corner pixels, mirrored to all four corners.
    QList<QPoint> canto { { 1, 1 } };
    if (recuo == 3)
        canto = { { 1, 2 }, { 2, 1 } };
    for (const QPoint &c : canto) {
        Pixel(p, r.left() + c.x(), r.top() + c.y(), cor);
        Pixel(p, r.right() - c.x(), r.top() + c.y(), cor);
        Pixel(p, r.left() + c.x(), r.bottom() - c.y(), cor);
        Pixel(p, r.right() - c.x(), r.bottom() - c.y(), cor);
    }
}

void RetanguloFoco(QPainter &p, const QRect &r)
{
    if (r.isEmpty())
        return;
    p.save();
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    auto ponto = [&](int x, int y) {
        if ((x + y) % 2 == 0)
            p.fillRect(x, y, 1, 1, Qt::black);
    };
    for (int x = r.left(); x <= r.right(); ++x) {
        ponto(x, r.top());
        if (r.bottom() != r.top())
            ponto(x, r.bottom());
    }
    for (int y = r.top() + 1; y < r.bottom(); ++y) {
        ponto(r.left(), y);
        if (r.right() != r.left())
            ponto(r.right(), y);
    }
    p.restore();
}

QColor BlendColor(const QColor &a, const QColor &b, int percent)
{
    auto canal = [percent](int x, int y) { return x + (y - x) * percent / 100; };
    return QColor(canal(a.red(), b.red()), canal(a.green(), b.green()), canal(a.blue(), b.blue()));
}

void GradientFill(
    QPainter &p, const QRect &rect, TDirecaoPreenchimento direcao, const QColor &inicio, const QColor &fim)
{
    if (rect.isEmpty())
        return;
    auto canal = [](int a, int b, int i) { return a + (b - a) * i / 255; };
    const bool vertical = direcao == TDirecaoPreenchimento::Vertical;
    const int extensao = vertical ? rect.height() : rect.width();
    for (int i = 0; i < 256; ++i) {
        const int de = extensao * i / 255;
        const int ate = std::min(extensao, extensao * (i + 1) / 255);
        if (ate <= de)
            continue;
        const QColor cor(canal(inicio.red(), fim.red(), i), canal(inicio.green(), fim.green(), i),
            canal(inicio.blue(), fim.blue(), i));
        if (vertical)
            p.fillRect(rect.left(), rect.top() + de, rect.width(), ate - de, cor);
        else
            p.fillRect(rect.left() + de, rect.top(), ate - de, rect.height(), cor);
    }
}

void SoftenCorners(QPainter &p, const QRect &rect, const QColor &borda, const QColor &fundo)
{
    if (rect.width() < 2 || rect.height() < 2)
        return;
    const QColor c = BlendColor(borda, fundo, 50);
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    for (const QPoint &o : { QPoint(0, 1), QPoint(1, 1), QPoint(1, 0) }) {
        Pixel(p, l + o.x(), t + o.y(), c);
        Pixel(p, r - o.x(), t + o.y(), c);
        Pixel(p, l + o.x(), b - o.y(), c);
        Pixel(p, r - o.x(), b - o.y(), c);
    }
}

void DoubleFrame(QPainter &p, const QRect &rect, const TFrameSet &conjunto)
{
    // Each bevel: the top-left colour on the left column and the top row but for its last
    // pixel, then the bottom-right colour on the right column and the bottom row.
    auto bisel = [&p](const QRect &r, const QColor &topo, const QColor &base) {
        if (r.isEmpty())
            return;
        LinhaV(p, r.left(), r.top(), r.bottom(), topo);
        LinhaH(p, r.left(), r.right() - 1, r.top(), topo);
        LinhaV(p, r.right(), r.top(), r.bottom(), base);
        LinhaH(p, r.left(), r.right(), r.bottom(), base);
    };
    bisel(rect, conjunto.externaTopo, conjunto.externaBase);
    bisel(rect.adjusted(1, 1, -1, -1), conjunto.internaTopo, conjunto.internaBase);
}

TGlyphLayout CalculaGlifoELegenda(
    const QRect &rect, QSize glifo, QSize texto, bool centrado, bool movido, int layout, int espaco)
{
    const int gw = glifo.width(), gh = glifo.height();
    const int tw = texto.width(), th = texto.height();
    if (tw == 0 || gw == 0)
        espaco = 0;
    const int W = rect.width(), H = rect.height();
    // Halving toward zero, and its counterpart rounding up.
    auto metade = [](int v) { return v / 2; };
    auto metadeAcima = [](int v) { return v / 2 + (v > 0 && v % 2 != 0 ? 1 : 0); };

    int gx = 0, gy = 0, tx = 0, ty = 0;
    switch (layout) {
    case 2:
        gx = metade(W - gw);
        gy = metade(H - gh - th - espaco);
        tx = metadeAcima(W - tw);
        ty = gy + gh + espaco;
        break;
    case 3:
        gx = metade(W - gw);
        ty = metade(H - gh - th - espaco);
        gy = ty + th + espaco;
        tx = metade(W - tw);
        break;
    case 1:
        gy = metade(H - gh);
        tx = metade(W - gw - tw - espaco);
        gx = tx + tw + espaco;
        ty = metade(H - th);
        break;
    default:
        gy = metade(H - gh);
        gx = centrado ? metade(W - gw - tw - espaco) : 5;
        tx = gx + gw + espaco;
        ty = metade(H - th);
        break;
    }
    const int desvio = movido ? 1 : 0;
    TGlyphLayout resultado;
    resultado.glifo = QRect(rect.left() + gx + desvio, rect.top() + gy + desvio, gw, gh);
    int esquerda = rect.left() + tx + desvio;
    int direita = esquerda + tw; // one past the last pixel
    esquerda = std::max(esquerda, rect.left() + 3);
    direita = std::min(direita, rect.left() + W - 3);
    resultado.texto = QRect(esquerda, rect.top() + ty + desvio, direita - esquerda, th);
    return resultado;
}

void LayoutGlyphAndCaption(QPainter &p, const QRect &rect, const QPixmap &glifo, bool centrado, bool movido, int layout,
    int espaco, const QString &legenda)
{
    QSize texto(0, 0);
    if (!legenda.isEmpty()) {
        QRect medida(0, 0, 0, 0);
        MedeTexto(p.font(), legenda, medida, DT::CalcRect | DT::SingleLine);
        texto = QSize(medida.width() + 1, medida.height());
    }
    const QSize tamanhoGlifo = glifo.isNull() ? QSize(0, 0) : glifo.deviceIndependentSize().toSize();
    const TGlyphLayout posicoes = CalculaGlifoELegenda(rect, tamanhoGlifo, texto, centrado, movido, layout, espaco);
    if (!glifo.isNull())
        p.drawPixmap(posicoes.glifo.topLeft(), glifo);
    if (!legenda.isEmpty()) {
        QRect r = posicoes.texto;
        DrawText(p, legenda, r, DT::Center | DT::SingleLine | DT::EndEllipsis);
    }
}

const QImage &FLAT_BMP_RADIOBUTTON()
{
    static const QImage faixa = [] {
        QImage im(60, 15, QImage::Format_RGB32);
        im.fill(QColor(255, 0, 255));
        auto mistura = [](const QColor &a, const QColor &b, double t) {
            t = std::clamp(t, 0.0, 1.0);
            return QColor(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                int(a.blue() + (b.blue() - a.blue()) * t));
        };
        for (int celula = 0; celula < 4; ++celula) {
            const int d = 1 + 15 * celula;
            const bool marcado = celula % 2 == 1;
            const bool quente = celula >= 2;
            for (int y = 0; y < 14; ++y) {
                for (int x = 0; x < 14; ++x) {
                    const double dist = std::hypot(x - 6, y - 6);
                    if (dist > 6.5)
                        continue;
                    QColor cor;
                    if (dist > 5.5) {
                        cor = FlatCores::BordaRadio;
                    } else if (marcado && dist <= 2.6) {
                        cor = mistura(QColor(140, 220, 140), QColor(33, 150, 33), (x + y - 8) / 6.0);
                    } else if (quente && dist > 4.0) {
                        cor = mistura(QColor(255, 240, 207), QColor(248, 179, 48), y / 12.0);
                    } else {
                        cor = mistura(QColor(214, 214, 206), Qt::white, (x + y) / 18.0);
                    }
                    im.setPixelColor(d + x, 1 + y, cor);
                }
            }
        }
        return im;
    }();
    return faixa;
}

int CelulaRadio(bool quente, bool marcado)
{
    return (quente ? 31 : 1) + (marcado ? 15 : 0);
}

QImage ImagemRadio(bool quente, bool marcado, const QColor &fundo)
{
    const QImage &faixa = FLAT_BMP_RADIOBUTTON();
    const QRgb transparente = faixa.pixel(0, 0);
    QImage celula = faixa.copy(CelulaRadio(quente, marcado), 1, 14, 14);
    // The rim's stair-step pixels take half the background, so the circle looks round on any
    // colour. In cell coordinates the circle's centre is (6, 6).
    const QColor borda = BlendColor(fundo, FlatCores::BordaRadio, 50);
    for (const QPoint &o : { QPoint(2, 6), QPoint(4, 5), QPoint(5, 4), QPoint(6, 2) }) {
        celula.setPixelColor(6 - o.x(), 6 - o.y(), borda);
        celula.setPixelColor(6 + o.x(), 6 - o.y(), borda);
        celula.setPixelColor(6 - o.x(), 6 + o.y(), borda);
        celula.setPixelColor(6 + o.x(), 6 + o.y(), borda);
    }
    for (int y = 0; y < celula.height(); ++y)
        for (int x = 0; x < celula.width(); ++x)
            if (celula.pixel(x, y) == transparente)
                celula.setPixelColor(x, y, fundo);
    return celula;
}

qreal EscalaDoPintor(const QPainter &p)
{
    // The painter's transform maps the control's pixels to the surface's: a high-density
    // screen's ratio, or the ratio of the picture a control is rendered into.
    return std::abs(p.deviceTransform().m11());
}

void DesenhaRadio(QPainter &p, const QPointF &canto, bool quente, bool marcado)
{
    // The strip's circle: rim from radius 5.5 to 6.5 around the centre of its 13 x 13 pixels,
    // a grey-to-white face lit from the top left, an orange ring under the mouse, a green dot
    // when checked. Colours and gradients as in the strip.
    const QPointF centro = canto + QPointF(6.5, 6.5);
    auto gradiente = [&](QPointF de, QPointF ate, const QColor &a, const QColor &b) {
        QLinearGradient g(canto + de, canto + ate);
        g.setColorAt(0, a);
        g.setColorAt(1, b);
        return QBrush(g);
    };
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(FlatCores::BordaRadio);
    p.drawEllipse(centro, 6.5, 6.5);
    const QBrush face = gradiente({ 0.5, 0.5 }, { 9.5, 9.5 }, QColor(214, 214, 206), Qt::white);
    if (quente) {
        p.setBrush(gradiente({ 0, 0.5 }, { 0, 12.5 }, QColor(255, 240, 207), QColor(248, 179, 48)));
        p.drawEllipse(centro, 5.5, 5.5);
        p.setBrush(face);
        p.drawEllipse(centro, 4.5, 4.5);
    } else {
        p.setBrush(face);
        p.drawEllipse(centro, 5.5, 5.5);
    }
    if (marcado) {
        p.setBrush(gradiente({ 4.5, 4.5 }, { 7.5, 7.5 }, QColor(140, 220, 140), QColor(33, 150, 33)));
        p.drawEllipse(centro, 3.0, 3.0);
    }
    p.restore();
}

QImage ImagemCinza(const QImage &imagem)
{
    QImage cinza = imagem.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < cinza.height(); ++y) {
        auto *linha = reinterpret_cast<QRgb *>(cinza.scanLine(y));
        for (int x = 0; x < cinza.width(); ++x) {
            const QRgb c = linha[x];
            const int nivel = std::min(20 + (qRed(c) + qGreen(c) + qBlue(c)) / 3, 246);
            linha[x] = qRgba(nivel, nivel, nivel, qAlpha(c));
        }
    }
    return cinza;
}
