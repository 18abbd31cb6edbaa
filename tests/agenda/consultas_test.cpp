#include "agenda/consultas.h"
#include "agenda/funcoes.h"

#include <gtest/gtest.h>

namespace {

// Installs the lines as the main window's last refresh would have left them.
struct AgendaCarregada
{
    explicit AgendaCarregada(ListaLinhas linhas) { ListaAgenda = std::move(linhas); }
    ~AgendaCarregada() { ListaAgenda.clear(); }
};

} // namespace

TEST(Consultas, EmptyAgendaHasEveryTimeFree)
{
    AgendaCarregada agenda({});
    EXPECT_TRUE(ConsultaEspecifica(17, 5, 2024, 10, 30).isEmpty());
    EXPECT_TRUE(ConsultaMensal(17, 10, 30).isEmpty());
    EXPECT_TRUE(ConsultaAnual(17, 5, 10, 30).isEmpty());
}

TEST(Consultas, EachLookupTakesItsOwnSlotOnly)
{
    AgendaCarregada agenda({
        "|2024|05|17|10:30|0|20240501-100000.txt|",
        "|2024|01|31|08:00|1|20240101-100000.txt|",
        "|2020|05|17|11:45|2|20200101-100000.txt|",
        "|2024|05|18|09:05|0|20240501-100001.txt|",
    });
    enum Consulta { Especifica, Mensal, Anual };
    const struct
    {
        Consulta consulta;
        int dia, mes, ano, hora, minuto;
        QByteArray esperado;
    } casos[] = {
        { Especifica, 17, 5, 2024, 10, 30, "0" }, { Especifica, 17, 5, 2025, 10, 30, "" }, // another year
        { Especifica, 17, 5, 2024, 10, 31, "" }, { Especifica, 17, 6, 2024, 10, 30, "" }, // another month
        { Especifica, 16, 5, 2024, 10, 30, "" }, // another day
        { Especifica, 18, 5, 2024, 9, 5, "0" }, // zero-padded from whole numbers
        { Mensal, 17, 0, 0, 10, 30, "" }, // a specific-date line is no monthly one
        { Mensal, 31, 3, 2025, 8, 0, "1" }, // monthly on the 31st blocks 31 March
        { Mensal, 30, 3, 2025, 8, 0, "" }, { Mensal, 31, 3, 2025, 8, 1, "" }, // another time
        { Anual, 17, 5, 2031, 11, 45, "2" }, // annual 17 May blocks any year
        { Anual, 17, 6, 2020, 11, 45, "" }, // but not 17 June
        { Anual, 18, 5, 2020, 11, 45, "" }, // nor 18 May
        { Anual, 17, 5, 2024, 10, 30, "" },
        { Especifica, 17, 5, 2020, 11, 45, "" }, // an annual line is no specific one
    };
    for (const auto &c : casos) {
        QByteArray achado;
        switch (c.consulta) {
        case Especifica:
            achado = ConsultaEspecifica(c.dia, c.mes, c.ano, c.hora, c.minuto);
            break;
        case Mensal:
            achado = ConsultaMensal(c.dia, c.hora, c.minuto);
            break;
        case Anual:
            achado = ConsultaAnual(c.dia, c.mes, c.hora, c.minuto);
            break;
        }
        EXPECT_EQ(achado, c.esperado) << c.consulta << " " << c.dia << "/" << c.mes << "/" << c.ano << " " << c.hora
                                      << ":" << c.minuto;
    }
}

TEST(Consultas, ModalityIsComparedAsANumberAndFirstMatchWins)
{
    AgendaCarregada agenda({
        "", // empty line matches nothing
        "|2024|05|07|9:05|0|a.txt|", // time not zero-padded: blocks nothing
        "|2024|05|07|09:05|x|b.txt|", // not a number: -1
        "|2024|05|07|09:05|00|c.txt|", // "00" is 0
        "|2024|05|07|09:05| 0|d.txt|", "|2024|05|07|10:00|+1|e.txt|", "|2024|05|07|10:00|1|f.txt|",
        "|2024|05|07|11:00|2 |g.txt|", // trailing blank: not a number
        "|2024|05|07|12:00|-2|h.txt|",
        "|2024|05|07|12:00|99999999999999|i.txt|", // overflows: not a number
    });
    EXPECT_EQ(ConsultaEspecifica(7, 5, 2024, 9, 5), QByteArray("00"));
    EXPECT_EQ(ConsultaMensal(7, 10, 0), QByteArray("+1"));
    EXPECT_TRUE(ConsultaAnual(7, 5, 11, 0).isEmpty());
    EXPECT_TRUE(ConsultaAnual(7, 5, 12, 0).isEmpty());

    const struct
    {
        QByteArray campo;
        int valor;
    } codigos[] = { { "0", 0 }, { "00", 0 }, { " 2", 2 }, { "\t1", 1 }, { "+1", 1 }, { "-2", -2 }, { "", -1 },
        { "x", -1 }, { "1x", -1 }, { "2 ", -1 }, { "-", -1 }, { "99999999999", -1 } };
    for (const auto &c : codigos)
        EXPECT_EQ(CodigoModalidade(c.campo), c.valor) << c.campo.toStdString();
}
