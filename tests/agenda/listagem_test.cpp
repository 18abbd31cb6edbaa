#include "agenda/listagem.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

namespace {

const ListaLinhas Agenda = {
    "|2007|03|05|09:30|0|a.txt|", // specific, on the day
    "|2007|03|06|10:00|0|b.txt|", // specific, another day of the month
    "|2006|03|05|08:00|1|c.txt|", // monthly on the 5th
    "|2007|01|31|07:00|1|d.txt|", // monthly on the 31st
    "|2001|03|05|06:00|2|e.txt|", // annual, 5 March
    "|2001|04|05|05:00|2|f.txt|", // annual, 5 April
    "lixo sem barras",
    "|2007|03|05|08:30|0|g.txt|", // specific, on the day, earlier time but later in the file
    "|2007|03|05|11:00|3|h.txt|", // unknown modality
};

QStringList Resumo(const std::vector<LinhaListada> &linhas)
{
    QStringList r;
    for (const LinhaListada &l : linhas)
        r << l.hora + QLatin1Char('|') + l.descricao + QLatin1Char('|') + l.arquivo;
    return r;
}

} // namespace

TEST(Listagem, EachFilterListsItsLinesInFileOrder)
{
    FakePlatform fake;
    const QStringList geralMensal = { "08:00|Mensal - Todo dia 05|c.txt", "07:00|Mensal - Todo dia 31|d.txt" };
    const QStringList geralAnual
        = { "06:00|Anual - Todo dia 05 de Março|e.txt", "05:00|Anual - Todo dia 05 de Abril|f.txt" };
    const struct
    {
        QDate dia;
        int filtro;
        QStringList esperado;
    } casos[] = {
        { { 2007, 3, 5 }, TodasNoDia,
            { "09:30|Data Específica|a.txt", "08:00|Mensal - Todo dia 05|c.txt",
                "06:00|Anual - Todo dia 05 de Março|e.txt", "08:30|Data Específica|g.txt" } },
        { { 2007, 3, 5 }, AvisoEspecifico, { "09:30|Data Específica|a.txt", "08:30|Data Específica|g.txt" } },
        { { 2007, 3, 6 }, AvisoEspecifico, { "10:00|Data Específica|b.txt" } },
        { { 2008, 3, 5 }, AvisoEspecifico, {} }, // the same day of another year
        { { 2007, 3, 5 }, AvisoMensal, geralMensal },
        { { 2010, 9, 17 }, AvisoMensal, geralMensal },
        { { 2007, 3, 5 }, AvisoAnual, geralAnual },
        { { 1999, 12, 1 }, AvisoAnual, geralAnual },
        { { 2007, 3, 31 }, TodasNoDia, { "07:00|Mensal - Todo dia 31|d.txt" } },
        { { 2007, 4, 30 }, TodasNoDia, {} }, // no 31st in April: the monthly reminder waits
        { { 2008, 4, 5 }, TodasNoDia,
            { "08:00|Mensal - Todo dia 05|c.txt", "05:00|Anual - Todo dia 05 de Abril|f.txt" } },
        { { 2007, 3, 5 }, 7, {} },
    };
    for (const auto &c : casos)
        EXPECT_EQ(Resumo(LinhasDoDia(Agenda, c.dia, c.filtro)), c.esperado)
            << c.dia.toString(Qt::ISODate).toStdString() << " filter " << c.filtro;

    const std::vector<LinhaListada> dia = LinhasDoDia(Agenda, QDate(2007, 3, 5), TodasNoDia);
    ASSERT_FALSE(dia.empty());
    const LinhaListada &l = dia.front();
    EXPECT_EQ((QStringList { l.modalidade, l.ano, l.mes, l.dia }), (QStringList { "0", "2007", "03", "05" }));
    EXPECT_TRUE(fake.caixas.empty());
}

TEST(Listagem, AnnualLineWithBadMonthGetsTheMonthNameReport)
{
    FakePlatform fake;
    const ListaLinhas agenda = { "|2001|xx|05|06:00|2|e.txt|", "|2001|13|05|07:00|2|f.txt|" };
    EXPECT_EQ(Resumo(LinhasDoDia(agenda, QDate(2007, 3, 5), AvisoAnual)),
        (QStringList { "06:00|Anual - Todo dia 05 de |e.txt", "07:00|Anual - Todo dia 05 de |f.txt" }));
    EXPECT_EQ(fake.TextosCaixas(), QStringList { "Variavel de Mes Inválida !!" });
    EXPECT_TRUE(LinhasDoDia(agenda, QDate(2007, 3, 5), TodasNoDia).empty());
    EXPECT_EQ(fake.caixas.size(), 1u) << "the day's tests never name a month that is not the day's";
}

TEST(Listagem, SentenceDescribesTheReminder)
{
    FakePlatform fake;
    const struct
    {
        QString codigo;
        QString esperado;
    } casos[] = {
        { "0", "Avisar especificamente no dia 05 de Março de 2007 as 09:30" },
        { "1", "Avisar Mensalmente todo dia 05 de cada mês as 09:30" },
        { "2", "Avisar Anualmente todo dia 05 de Março as 09:30" },
        { "3", "" },
        { "x", "" },
    };
    for (const auto &c : casos)
        EXPECT_EQ(FraseDoAviso(c.codigo, "05", "03", "2007", "09:30"), c.esperado) << c.codigo.toStdString();
    EXPECT_EQ(TituloDoDia(QDate(2007, 3, 5)), "Agenda para: 05/03/2007");
    EXPECT_EQ(PerguntaExclusao("09:30"), "Tem certeza que deseja excluir agenda para as: 09:30 ??");
}

TEST(Listagem, OddLinesGiveTheFieldsTheFieldExtractorGives)
{
    FakePlatform fake;
    const ListaLinhas estranhas = {
        "|2007|03|05|09:30|1|",
        "||||1||",
        "|2007|03|05|09:30|1|x.txt|sobra|",
        "2007|03|05|09:30|1|x.txt|",
        "|2007|03|05|09:30|1|" + QByteArray(1200, 'n') + "|",
        "|1|",
    };
    for (const QByteArray &linha : estranhas) {
        const std::vector<LinhaListada> r = LinhasDoDia({ linha }, QDate(2007, 3, 5), AvisoMensal);
        const bool mensal = ExtraiCampo(5, linha) == "1";
        ASSERT_EQ(r.size(), mensal ? 1u : 0u) << linha.left(40).toStdString();
        if (!mensal)
            continue;
        const QStringList campos = { r[0].ano, r[0].mes, r[0].dia, r[0].hora, r[0].modalidade, r[0].arquivo };
        for (int n = 1; n <= 6; ++n)
            EXPECT_EQ(campos[n - 1], QString::fromLatin1(ExtraiCampo(n, linha))) << linha.left(40).toStdString() << n;
    }
}
