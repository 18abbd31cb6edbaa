#include "controls/drawtext.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <vector>

namespace {

// A laid-out line: its characters and which of them carry the accelerator underline.
struct Linha
{
    QString texto;
    std::vector<bool> sublinhado;
};

// Takes the '&' marks out: "&x" underlines x, "&&" is one '&', a final lone '&' vanishes.
Linha TiraPrefixos(const QString &texto, bool semPrefixo)
{
    Linha linha;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        QChar c = texto.at(i);
        bool marca = false;
        if (!semPrefixo && c == QLatin1Char('&')) {
            if (i + 1 >= texto.size())
                break;
            c = texto.at(++i);
            marca = c != QLatin1Char('&');
        }
        linha.texto += c;
        linha.sublinhado.push_back(marca);
    }
    return linha;
}

Linha Trecho(const Linha &linha, qsizetype inicio, qsizetype tamanho)
{
    Linha t;
    t.texto = linha.texto.mid(inicio, tamanho);
    t.sublinhado.assign(linha.sublinhado.begin() + inicio, linha.sublinhado.begin() + inicio + t.texto.size());
    return t;
}

class Medidor
{
public:
    Medidor(const QFontMetrics &medidas, bool expandeTabs)
        : metricas(medidas)
        , tabs(expandeTabs)
        , passoTab(8 * medidas.averageCharWidth())
    {
    }

    // Width of a line, tabs advancing to the next stop (or taking no room when not expanded).
    int Largura(const QString &texto) const
    {
        int x = 0;
        qsizetype inicio = 0;
        for (qsizetype i = 0; i <= texto.size(); ++i) {
            if (i == texto.size() || texto.at(i) == QLatin1Char('\t')) {
                x += metricas.horizontalAdvance(texto.mid(inicio, i - inicio));
                if (i < texto.size() && tabs && passoTab > 0)
                    x = (x / passoTab + 1) * passoTab;
                inicio = i + 1;
            }
        }
        return x;
    }

    const QFontMetrics &metricas;
    const bool tabs;
    const int passoTab;
};

// Greedy word wrap at blanks; a word wider than the room stays whole on its own line.
std::vector<Linha> QuebraPalavras(const Linha &paragrafo, int larguraMax, const Medidor &medidor)
{
    std::vector<Linha> linhas;
    const QString &t = paragrafo.texto;
    qsizetype inicio = 0;
    while (true) {
        if (medidor.Largura(t.mid(inicio)) <= larguraMax) {
            linhas.push_back(Trecho(paragrafo, inicio, t.size() - inicio));
            return linhas;
        }
        // The last blank at which the line still fits; else the end of the first word.
        qsizetype corte = -1;
        for (qsizetype i = inicio; i < t.size(); ++i) {
            if (t.at(i) == QLatin1Char(' ')) {
                if (i > inicio && medidor.Largura(t.mid(inicio, i - inicio)) > larguraMax)
                    break;
                corte = i;
            }
        }
        if (corte < 0 || corte == inicio) {
            corte = t.indexOf(QLatin1Char(' '), inicio + 1);
            if (corte < 0) {
                linhas.push_back(Trecho(paragrafo, inicio, t.size() - inicio));
                return linhas;
            }
        }
        linhas.push_back(Trecho(paragrafo, inicio, corte - inicio));
        inicio = corte;
        while (inicio < t.size() && t.at(inicio) == QLatin1Char(' '))
            ++inicio;
        if (inicio >= t.size())
            return linhas;
    }
}

Linha CortaComReticencias(const Linha &linha, int larguraMax, const Medidor &medidor)
{
    if (medidor.Largura(linha.texto) <= larguraMax)
        return linha;
    const QString reticencias = QStringLiteral("...");
    qsizetype n = linha.texto.size();
    while (n > 0 && medidor.Largura(linha.texto.left(n) + reticencias) > larguraMax)
        --n;
    Linha cortada = Trecho(linha, 0, n);
    cortada.texto += reticencias;
    cortada.sublinhado.resize(static_cast<size_t>(cortada.texto.size()), false);
    return cortada;
}

std::vector<Linha> Monta(const QString &texto, const QRect &rect, unsigned formato, const Medidor &medidor)
{
    const Linha tudo = TiraPrefixos(texto, formato & DT::NoPrefix);
    std::vector<Linha> paragrafos;
    if (formato & DT::SingleLine) {
        Linha unica;
        for (qsizetype i = 0; i < tudo.texto.size(); ++i) {
            if (tudo.texto.at(i) == QLatin1Char('\r') || tudo.texto.at(i) == QLatin1Char('\n'))
                continue;
            unica.texto += tudo.texto.at(i);
            unica.sublinhado.push_back(tudo.sublinhado[static_cast<size_t>(i)]);
        }
        paragrafos.push_back(unica);
    } else {
        qsizetype inicio = 0;
        for (qsizetype i = 0; i <= tudo.texto.size(); ++i) {
            const bool fim = i == tudo.texto.size();
            const QChar c = fim ? QChar() : tudo.texto.at(i);
            if (fim || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                paragrafos.push_back(Trecho(tudo, inicio, i - inicio));
                if (!fim && c == QLatin1Char('\r') && i + 1 < tudo.texto.size()
                    && tudo.texto.at(i + 1) == QLatin1Char('\n'))
                    ++i;
                inicio = i + 1;
            }
        }
    }

    std::vector<Linha> linhas;
    for (const Linha &p : paragrafos) {
        if ((formato & DT::WordBreak) && !(formato & DT::SingleLine)) {
            for (Linha &l : QuebraPalavras(p, rect.width(), medidor))
                linhas.push_back(std::move(l));
        } else {
            linhas.push_back(p);
        }
    }
    if (formato & DT::EndEllipsis) {
        for (Linha &l : linhas)
            l = CortaComReticencias(l, rect.width(), medidor);
    }
    return linhas;
}

int Calcula(const QFontMetrics &metricas, const QString &texto, QRect &rect, unsigned formato)
{
    const Medidor medidor(metricas, formato & DT::ExpandTabs);
    const std::vector<Linha> linhas = Monta(texto, rect, formato, medidor);
    int larguraMax = 0;
    for (const Linha &l : linhas)
        larguraMax = std::max(larguraMax, medidor.Largura(l.texto));
    const int altura = metricas.height() * static_cast<int>(linhas.size());
    rect.setWidth(larguraMax);
    rect.setHeight(altura);
    return altura;
}

void DesenhaLinha(QPainter &painter, const Linha &linha, int x, int base, const Medidor &medidor)
{
    const QString &t = linha.texto;
    qsizetype inicio = 0;
    int cursor = x;
    for (qsizetype i = 0; i <= t.size(); ++i) {
        if (i < t.size() && t.at(i) != QLatin1Char('\t'))
            continue;
        const QString parte = t.mid(inicio, i - inicio);
        painter.drawText(cursor, base, parte);
        for (qsizetype k = 0; k < parte.size(); ++k) {
            if (!linha.sublinhado[static_cast<size_t>(inicio + k)])
                continue;
            const int x0 = cursor + medidor.metricas.horizontalAdvance(parte.left(k));
            const int x1 = x0 + medidor.metricas.horizontalAdvance(parte.at(k));
            const int y = base + std::max(1, medidor.metricas.underlinePos());
            painter.fillRect(QRect(x0, y, x1 - x0, std::max(1, medidor.metricas.lineWidth())), painter.pen().color());
        }
        cursor += medidor.metricas.horizontalAdvance(parte);
        if (i < t.size() && medidor.tabs && medidor.passoTab > 0)
            cursor = x + ((cursor - x) / medidor.passoTab + 1) * medidor.passoTab;
        inicio = i + 1;
    }
}

} // namespace

int MedeTexto(const QFont &fonte, const QString &texto, QRect &rect, unsigned formato)
{
    return Calcula(QFontMetrics(fonte), texto, rect, formato);
}

int DrawText(QPainter &painter, const QString &texto, QRect &rect, unsigned formato)
{
    const QFontMetrics metricas = painter.fontMetrics();
    if (formato & DT::CalcRect)
        return Calcula(metricas, texto, rect, formato);

    const Medidor medidor(metricas, formato & DT::ExpandTabs);
    const std::vector<Linha> linhas = Monta(texto, rect, formato, medidor);
    const int alturaLinha = metricas.height();
    const int altura = alturaLinha * static_cast<int>(linhas.size());

    int topo = rect.top();
    if (formato & DT::SingleLine) {
        if (formato & DT::VCenter)
            topo = rect.top() + (rect.height() - alturaLinha) / 2;
        else if (formato & DT::Bottom)
            topo = rect.bottom() + 1 - alturaLinha;
    }

    painter.save();
    if (!(formato & DT::NoClip))
        painter.setClipRect(rect, Qt::IntersectClip);
    int y = topo;
    for (const Linha &l : linhas) {
        const int w = medidor.Largura(l.texto);
        int x = rect.left();
        if (formato & DT::Right)
            x = rect.right() + 1 - w;
        else if (formato & DT::Center)
            x = rect.left() + (rect.width() - w) / 2;
        DesenhaLinha(painter, l, x, y + metricas.ascent(), medidor);
        y += alturaLinha;
    }
    painter.restore();
    return (formato & (DT::VCenter | DT::Bottom)) && (formato & DT::SingleLine) ? topo - rect.top() + altura : altura;
}
