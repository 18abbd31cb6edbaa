#include "agenda/camposlinha.h"

#include <array>
#include <cstring>

CamposLinha LeCampos(const QByteArray &linha)
{
    constexpr size_t Campos = 6;
    std::array<QByteArrayView, Campos> campos {};
    const char *inicioLinha = linha.constData();
    const qsizetype tamanho = linha.size();
    const void *primeira = tamanho > 0 ? std::memchr(inicioLinha, '|', size_t(tamanho)) : nullptr;
    if (primeira) {
        // The extractor keeps only the 1000 characters after the first bar and looks for
        // every later bar inside them.
        const char *inicio = static_cast<const char *>(primeira) + 1;
        const char *fim = inicio + qMin<qsizetype>(1000, inicioLinha + tamanho - inicio);
        for (size_t n = 0; n < Campos; ++n) {
            const void *barra = std::memchr(inicio, '|', size_t(fim - inicio));
            if (!barra)
                break; // this field and the ones after it have no closing bar: empty
            campos[n] = QByteArrayView(inicio, static_cast<const char *>(barra));
            inicio = static_cast<const char *>(barra) + 1;
        }
    }
    // A field number above the line's length gives the whole line.
    for (size_t n = size_t(qMax<qsizetype>(tamanho, 0)); n < Campos; ++n)
        campos[n] = linha;
    return { campos[0], campos[1], campos[2], campos[3], campos[4], campos[5] };
}
