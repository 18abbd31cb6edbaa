#include "agenda/funcoes.h"
#include "support/fakeplatform.h"

#include <gtest/gtest.h>

TEST(PreencheZeros, PadsAfterLeadingBlanksAndKeepsLongerTextAsGiven)
{
    const struct
    {
        QString texto;
        int largura;
        QString esperado;
    } casos[] = {
        { "7", 2, "07" },
        { "12", 2, "12" },
        { "2024", 4, "2024" },
        { "987", 4, "0987" },
        { "12345", 4, "12345" },
        { " 7", 2, "07" },
        { "7 ", 2, "7 " },
        { "", 2, "00" },
        { "  123", 2, "  123" },
        { "\t5", 3, "005" },
    };
    for (const auto &c : casos)
        EXPECT_EQ(PreencheZeros(c.texto, c.largura), c.esperado) << c.texto.toStdString();
}

TEST(NomeMes, NamesMonthsWrapsAt256AndReportsTextThatIsNoNumber)
{
    FakePlatform fake;
    const struct
    {
        QString mes;
        QString nome;
    } validos[] = {
        { "1", "Janeiro" },
        { "05", "Maio" },
        { "03", "Março" },
        { "12", "Dezembro" },
        { "13", "" },
        { "0", "" },
        { "257", "Janeiro" },
        { " 7", "Julho" },
        { "+2", "Fevereiro" },
        { "-1", "" },
        { "2147483647", "" }, // the widest numbers still convert
        { "-2147483647", "Janeiro" },
    };
    for (const auto &c : validos)
        EXPECT_EQ(NomeMes(c.mes), c.nome) << c.mes.toStdString();
    EXPECT_TRUE(fake.caixas.empty());
    EXPECT_EQ(fake.bipes, 0);

    for (const QString &ruim :
        { QStringLiteral("abc"), QString(), QStringLiteral("5 "), QStringLiteral("-"), QStringLiteral("2147483649") }) {
        EXPECT_EQ(NomeMes(ruim), QString());
    }
    ASSERT_EQ(fake.caixas.size(), 5u);
    EXPECT_EQ(fake.bipes, 5);
    EXPECT_EQ(fake.caixas[0].texto, QStringLiteral("Variavel de Mes Inválida !!"));
    EXPECT_EQ(fake.caixas[0].botoes, Platform::Botoes::Ok);
}

TEST(NomeDiaSemana, NamesEveryDayOfAWeek)
{
    const QStringList nomes
        = { "Domingo", "Segunda-Feira", "Terça-Feira", "Quarta-Feira", "Quinta-Feira", "Sexta-Feira", "Sábado" };
    for (int i = 0; i < 7; ++i) // 5 May 2024 was a Sunday
        EXPECT_EQ(NomeDiaSemana(QDate(2024, 5, 5).addDays(i)), nomes[i]);
}

TEST(Confirma, BeepsAsksUnderDrelSistemasAndIsTrueOnlyForOk)
{
    FakePlatform fake;
    fake.respostas = { Platform::Resposta::Ok, Platform::Resposta::Cancelar };
    EXPECT_TRUE(Confirma(QStringLiteral("Pergunta?")));
    EXPECT_FALSE(Confirma(QStringLiteral("Pergunta?")));
    EXPECT_EQ(fake.bipes, 2);
    ASSERT_EQ(fake.caixas.size(), 2u);
    EXPECT_EQ(fake.caixas[0].titulo, QStringLiteral("Drel Sistemas"));
    EXPECT_EQ(fake.caixas[0].botoes, Platform::Botoes::OkCancelar);
}

TEST(ExtraiCampo, FindsFieldsByBarsWhateverTheirLength)
{
    const QByteArray linha = "|2024|05|07|09:05|0|20240501-140327.txt|";
    const struct
    {
        int n;
        QByteArray linha;
        QByteArray campo;
    } casos[] = {
        { 1, linha, "2024" },
        { 2, linha, "05" },
        { 4, linha, "09:05" },
        { 5, linha, "0" },
        { 6, linha, "20240501-140327.txt" },
        { 7, linha, "" },
        { 0, linha, "" },
        { -3, linha, "" },
        { 6, "|2024|05|07|09:05|0|20240501-140327.txt", "" }, // no closing bar
        { 5, "abc", "abc" },
        { 2, "abc", "" }, // n longer than the line: as given
        { 3, "abc", "" }, // n as long as the line: looked for, and no bar
        { 1, "", "" },
        { 3, "", "" },
        { 1, "|12345|01|31|08:00|1|x.txt|", "12345" },
        { 3, "|12345|01|31|08:00|1|x.txt|", "31" },
    };
    for (const auto &c : casos)
        EXPECT_EQ(ExtraiCampo(c.n, c.linha), c.campo) << c.n << " " << c.linha.toStdString();
}

TEST(ExtraiCampo, KeepsOnly1000CharactersAfterABar)
{
    const QByteArray longa = '|' + QByteArray(1200, 'x') + "|fim|";
    EXPECT_EQ(ExtraiCampo(1, longa), QByteArray());
    const QByteArray cabe = '|' + QByteArray(998, 'x') + "|fim|";
    EXPECT_EQ(ExtraiCampo(2, cabe), QByteArray()); // cut at 1000 characters: "fim" loses its closing bar
    // The 1000th character is the closing bar: the field is whole.
    EXPECT_EQ(ExtraiCampo(1, '|' + QByteArray(999, 'x') + '|'), QByteArray(999, 'x'));
    const QByteArray curta = '|' + QByteArray(500, 'x') + "|fim|";
    EXPECT_EQ(ExtraiCampo(2, curta), QByteArray("fim"));
}
