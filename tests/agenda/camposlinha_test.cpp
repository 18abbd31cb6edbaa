#include "agenda/camposlinha.h"
#include "agenda/funcoes.h"

#include <gtest/gtest.h>

namespace {

QByteArrayList Lidos(const QByteArray &linha)
{
    const CamposLinha c = LeCampos(linha);
    return { c.ano.toByteArray(), c.mes.toByteArray(), c.dia.toByteArray(), c.hora.toByteArray(),
        c.modalidade.toByteArray(), c.arquivo.toByteArray() };
}

QByteArrayList Extraidos(const QByteArray &linha)
{
    QByteArrayList campos;
    for (int n = 1; n <= 6; ++n)
        campos << ExtraiCampo(n, linha);
    return campos;
}

} // namespace

TEST(CamposLinha, EveryFieldIsWhatTheFieldExtractorGivesForAnyLine)
{
    QByteArrayList linhas = {
        "|2024|05|07|09:05|0|20240501-140327.txt|",
        "|2024|05|07|09:05|0|20240501-140327.txt", // no closing bar
        "|2007|03|05|09:30|1|",
        "||||1||",
        "|2007|03|05|09:30|1|x.txt|sobra|",
        "2007|03|05|09:30|1|x.txt|", // no leading bar
        "lixo|2024|05|07|09:30|0|x|",
        "lixo sem barras",
        "",
        "|",
        "|1|",
        "|0|",
        "abc",
        "|||||", // five characters: field 6 is past the line's end
        "|a|b|",
        QByteArray("|2024|05|07|09:30|0|a\0b.txt|", 28), // a NUL inside a field
        QByteArray("|2024|\0|07|09:30|0|a.txt|", 25),
        "|2024|05|07|09:30|0|a.txt|\r",
        "|2024|05|07|09:30\r|0|a.txt|",
        "|2007|03|05|09:30|1|" + QByteArray(1200, 'n') + "|",
        '|' + QByteArray(1200, 'x') + "|fim|",
    };
    // Around the extractor's 1000-character window after the first bar.
    for (int antes = 990; antes <= 1002; ++antes)
        linhas << "lixo|" + QByteArray(antes, 'x') + "|05|07|09:30|0|a.txt|";
    // Every line of bars and letters up to eight characters long.
    for (int tamanho = 0; tamanho <= 8; ++tamanho)
        for (int bits = 0; bits < (1 << tamanho); ++bits) {
            QByteArray linha;
            for (int i = 0; i < tamanho; ++i)
                linha += (bits >> i & 1) ? '|' : 'a';
            linhas << linha;
        }
    for (const QByteArray &linha : std::as_const(linhas))
        EXPECT_EQ(Lidos(linha), Extraidos(linha)) << linha.left(40).toStdString() << " (" << linha.size() << ")";
}
