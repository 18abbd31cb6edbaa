#include "agenda/alarme.h"

#include <gtest/gtest.h>

namespace {

QDateTime Em(int ano, int mes, int dia, int hora, int minuto, int segundo = 0)
{
    return QDateTime(QDate(ano, mes, dia), QTime(hora, minuto, segundo));
}

// The message file names announced by one tick after another.
QByteArray Anuncia(const ListaLinhas &lista, const QDateTime &agora, MemoriaAlarme &memoria)
{
    const std::optional<Aviso> aviso = ProximoAviso(lista, agora, memoria);
    return aviso ? aviso->nome : QByteArray("-");
}

} // namespace

TEST(Alarme, EachModalityIsDueOnlyAtItsOwnMinute)
{
    const QByteArray longa = "|2024|05|07|09:30|0|" + QByteArray(1200, 'x') + "|";
    const struct
    {
        QByteArray linha;
        QDateTime momento;
        bool vence;
    } casos[] = {
        { "|2024|05|07|09:30|0|a.txt|", Em(2024, 5, 7, 9, 30, 45), true },
        { "|2024|05|07|09:30|0|a.txt|", Em(2024, 5, 7, 9, 31), false },
        { "|2024|05|07|09:30|0|a.txt|", Em(2024, 5, 8, 9, 30), false },
        { "|2024|05|07|09:30|0|a.txt|", Em(2025, 5, 7, 9, 30), false },
        // Monthly on the 31st: only in the months that have one.
        { "|2007|01|31|09:30|1|m.txt|", Em(2024, 3, 31, 9, 30), true },
        { "|2007|01|31|09:30|1|m.txt|", Em(2024, 4, 30, 9, 30), false },
        { "|2007|01|31|09:30|1|m.txt|", Em(2024, 2, 29, 9, 30), false },
        { "|2007|01|31|09:30|1|m.txt|", Em(2007, 1, 31, 9, 29), false },
        // Annual on 29 February: only in leap years.
        { "|2024|02|29|08:00|2|b.txt|", Em(2028, 2, 29, 8, 0), true },
        { "|2024|02|29|08:00|2|b.txt|", Em(2025, 2, 28, 8, 0), false },
        { "|2024|02|29|08:00|2|b.txt|", Em(2025, 3, 1, 8, 0), false },
        { "|2024|02|29|08:00|2|b.txt|", Em(2100, 2, 28, 8, 0), false },
        // Monthly ignores the year and month, annual the year, whatever they hold.
        { "|xxxx|yy|07|09:30|1|n|", Em(2024, 6, 7, 9, 30), true },
        { "|abcd|05|07|09:30|2|n|", Em(2030, 5, 7, 9, 30), true },
        { "|abcd|06|07|09:30|2|n|", Em(2030, 5, 7, 9, 30), false },
        // Fields are exact texts, counted from the first bar.
        { "|2024|5|7|09:30|0|x|", Em(2024, 5, 7, 9, 30), false },
        { "|2024|05|07|9:30|0|x|", Em(2024, 5, 7, 9, 30), false },
        { "|2024|05|07|09:30 |0|x|", Em(2024, 5, 7, 9, 30), false },
        { "|2024|05|07|24:00|0|x|", Em(2024, 5, 8, 0, 0), false }, // no such time of day
        { "|2024|05|07|09:30|3|x|", Em(2024, 5, 7, 9, 30), false },
        { "|2024|05|07|09:30|00|x|", Em(2024, 5, 7, 9, 30), false },
        { "lixo|2024|05|07|09:30|0|x|", Em(2024, 5, 7, 9, 30), true },
        { "|2024|05|07|09:30|0|sem-barra-final", Em(2024, 5, 7, 9, 30), true },
        { "|2024|05|07|09:30|0", Em(2024, 5, 7, 9, 30), false },
        { "", Em(2024, 5, 7, 9, 30), false },
        { "|0|", Em(2024, 5, 7, 9, 30), false },
        { longa, Em(2024, 5, 7, 9, 30), true },
    };
    for (const auto &caso : casos)
        EXPECT_EQ(VenceNoMinuto(caso.linha, caso.momento), caso.vence)
            << caso.linha.left(40).constData() << " at " << caso.momento.toString().toStdString();
    // Over years, the latest 29 February lies up to eight years back (2100 is no leap year).
    EXPECT_EQ(
        UltimoVencimento("|2024|02|29|08:00|2|b.txt|", MinutoDe(Em(2090, 1, 1, 0, 0)), MinutoDe(Em(2104, 2, 28, 8, 0))),
        MinutoDe(Em(2096, 2, 29, 8, 0)));
}

TEST(Alarme, TheFourTicksOfOneMinuteAnnounceOnce)
{
    const ListaLinhas lista { "|2024|05|07|09:30|0|a.txt|" };
    MemoriaAlarme memoria;
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 29, 50), memoria), "-");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 5), memoria), "a.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 20), memoria), "-");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 35), memoria), "-");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 50), memoria), "-");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 31, 5), memoria), "-");
}

TEST(Alarme, TwoRemindersInOneMinuteRingOneAfterTheOtherInFileOrder)
{
    const ListaLinhas lista { "|2024|05|07|09:30|1|mensal.txt|", "|2024|05|07|09:30|0|unica.txt|" };
    MemoriaAlarme memoria;
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 5), memoria), "mensal.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 40), memoria), "unica.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 55), memoria), "-");
    // The second is not lost when the first alert stays open past the minute.
    MemoriaAlarme outra;
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 5), outra), "mensal.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 34, 10), outra), "unica.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 34, 25), outra), "-");
}

TEST(Alarme, AMonthlyReminderRingsInJanuaryAndAgainInMarch)
{
    const ListaLinhas lista { "|2007|01|31|09:30|1|m.txt|" };
    MemoriaAlarme memoria;
    EXPECT_EQ(Anuncia(lista, Em(2024, 1, 31, 9, 30), memoria), "m.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 2, 29, 9, 30), memoria), "-");
    EXPECT_EQ(Anuncia(lista, Em(2024, 3, 31, 9, 30, 15), memoria), "m.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 3, 31, 9, 30, 30), memoria), "-");
}

TEST(Alarme, WhatFellDueWhileTheProgramCouldNotLookRingsOnceEachInOrder)
{
    const ListaLinhas lista {
        "|2024|05|07|09:30|0|a.txt|",
        "|2024|05|07|09:32|0|c.txt|",
        "|2024|05|07|09:31|0|b.txt|",
        "|2024|05|07|09:40|0|depois.txt|",
    };
    MemoriaAlarme memoria;
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 1), memoria), "a.txt");
    // The alert stayed open until 09:33.
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 33, 10), memoria), "b.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 33, 40), memoria), "c.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 34, 0), memoria), "-");

    // A long sleep: dated reminders ring in the order they fell due, and a monthly one
    // missed four times rings once, for its latest occurrence.
    const ListaLinhas dormiu {
        "|2024|01|15|10:00|1|mensal.txt|",
        "|2024|03|01|08:00|0|marco.txt|",
        "|2024|02|01|08:00|0|fevereiro.txt|",
    };
    MemoriaAlarme sono;
    EXPECT_EQ(Anuncia(dormiu, Em(2024, 1, 10, 12, 0), sono), "-");
    std::optional<Aviso> aviso = ProximoAviso(dormiu, Em(2024, 5, 20, 7, 0), sono);
    ASSERT_TRUE(aviso);
    EXPECT_EQ(aviso->nome, "fevereiro.txt");
    EXPECT_EQ(aviso->indice, 2);
    EXPECT_EQ(Anuncia(dormiu, Em(2024, 5, 20, 7, 0, 30), sono), "marco.txt");
    aviso = ProximoAviso(dormiu, Em(2024, 5, 20, 7, 1), sono);
    ASSERT_TRUE(aviso);
    EXPECT_EQ(aviso->nome, "mensal.txt");
    EXPECT_EQ(aviso->minuto, MinutoDe(Em(2024, 5, 15, 10, 0)));
    EXPECT_EQ(Anuncia(dormiu, Em(2024, 5, 20, 7, 1, 30), sono), "-");

    // Over midnight at the year's end: the latest occurrences lie in the month and year before.
    const ListaLinhas virada { "|2020|01|31|23:50|1|mensal.txt|", "|2020|12|31|23:55|2|anual.txt|" };
    MemoriaAlarme ano;
    EXPECT_EQ(Anuncia(virada, Em(2024, 12, 31, 23, 45), ano), "-");
    EXPECT_EQ(Anuncia(virada, Em(2025, 1, 1, 0, 5), ano), "mensal.txt");
    EXPECT_EQ(Anuncia(virada, Em(2025, 1, 1, 0, 5, 15), ano), "anual.txt");
}

TEST(Alarme, TheFirstTickLooksAtTheCurrentMinuteOnly)
{
    const ListaLinhas lista { "|2024|05|07|09:29|0|antes.txt|", "|2024|05|07|09:30|0|agora.txt|" };
    MemoriaAlarme memoria;
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 40), memoria), "agora.txt");
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 31, 0), memoria), "-");
}

TEST(Alarme, AClockSetBackNeverRepeatsAReminderForTheSameMinute)
{
    const ListaLinhas lista { "|2024|10|27|02:30|0|a.txt|", "|2024|10|27|02:45|2|b.txt|" };
    MemoriaAlarme memoria;
    for (int minuto = 25; minuto <= 59; ++minuto)
        Anuncia(lista, Em(2024, 10, 27, 2, minuto, 10), memoria);
    // Daylight saving ends: 03:00 becomes 02:00 again.
    QStringList depois;
    for (int minuto = 0; minuto <= 59; ++minuto)
        for (int segundo : { 0, 15, 30, 45 })
            depois += QString::fromLatin1(Anuncia(lista, Em(2024, 10, 27, 2, minuto, segundo), memoria));
    depois.removeAll(QStringLiteral("-"));
    EXPECT_TRUE(depois.isEmpty()) << depois.join(QLatin1Char(' ')).toStdString();
    // The annual one still rings next year.
    EXPECT_EQ(Anuncia(lista, Em(2025, 10, 27, 2, 45), memoria), "b.txt");
}

TEST(Alarme, AlertShowsTheKindDateTimeAndTheMessageNameInItsTitle)
{
    EXPECT_EQ(TextoModalidade("0"), QStringLiteral("AGENDA ESPECÍFICA"));
    EXPECT_EQ(TextoModalidade("1"), QStringLiteral("MENSALMENTE"));
    EXPECT_EQ(TextoModalidade("2"), QStringLiteral("ANUALMENTE"));
    const QByteArray linha = "|2007|01|31|09:30|1|n.txt|";
    EXPECT_EQ(TextoData(LeCampos(linha)), QStringLiteral("Data:31/01/2007"));
    EXPECT_EQ(TextoHora(Em(2024, 5, 7, 9, 31, 59)), QStringLiteral("Hora:09:31"));
    EXPECT_EQ(TituloAviso("20070305-093000.txt"), QStringLiteral("Zelvano Agenda: 20070305-093000"));
    EXPECT_EQ(TituloAviso("abc"), QStringLiteral("Zelvano Agenda: "));
}

TEST(Alarme, AMemoryKeptBetweenRunsCatchesUpOnceAndNoFurtherThanAWeek)
{
    const ListaLinhas lista {
        "|2024|05|07|09:30|0|20240501-080000.txt|", "|2024|05|07|11:00|0|20240501-080100.txt|",
        "|2024|04|30|11:00|0|20240401-080000.txt|", // eight days before the next start
        "|2024|05|07|12:00|1|20240507-130000.txt|", // saved after its minute had passed
        "|2024|05|07|13:00|1|mao.txt|", // a hand-made name tells nothing about its saving
    };
    // First run: 09:30 is announced, then the program is switched off at 10:00.
    MemoriaAlarme primeira;
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 5), primeira), "20240501-080000.txt");
    const QByteArray guardada = GuardaMemoria(primeira, MinutoDe(Em(2024, 5, 7, 9, 30, 5)));
    EXPECT_EQ(guardada, "20240507-0929\n20240507-0930 20240501-080000.txt\n");

    // Started again in the same minute: nothing rings twice.
    MemoriaAlarme mesmoMinuto = RecuperaMemoria(guardada, MinutoDe(Em(2024, 5, 7, 9, 30, 40)));
    EXPECT_EQ(Anuncia(lista, Em(2024, 5, 7, 9, 30, 40), mesmoMinuto), "-");

    // Started the next week: what fell due while off rings once each, not what is older than
    // seven days nor what was saved after its minute.
    const QDateTime volta = Em(2024, 5, 8, 8, 0);
    MemoriaAlarme segunda = RecuperaMemoria(guardada, MinutoDe(volta));
    EXPECT_EQ(Anuncia(lista, volta, segunda), "20240501-080100.txt");
    EXPECT_EQ(Anuncia(lista, volta.addSecs(15), segunda), "mao.txt");
    EXPECT_EQ(Anuncia(lista, volta.addSecs(30), segunda), "-");
    // A third start right after: the second run's announcements were kept too.
    MemoriaAlarme terceira = RecuperaMemoria(GuardaMemoria(segunda, MinutoDe(volta)), MinutoDe(volta.addSecs(45)));
    EXPECT_EQ(Anuncia(lista, volta.addSecs(45), terceira), "-");

    // Off for a month: the span is cut at seven days. The dated reminders of May are gone for
    // good; the monthly ones ring once, for 7 June (the one saved late was saved before it).
    const QDateTime junho = Em(2024, 6, 10, 8, 0);
    MemoriaAlarme longe = RecuperaMemoria(guardada, MinutoDe(junho));
    EXPECT_EQ(*longe.ultimoVerificado, MinutoDe(Em(2024, 6, 3, 8, 0)));
    EXPECT_EQ(Anuncia(lista, junho, longe), "20240507-130000.txt");
    EXPECT_EQ(Anuncia(lista, junho.addSecs(15), longe), "mao.txt");
    EXPECT_EQ(Anuncia(lista, junho.addSecs(30), longe), "-");
    // Nor is May's announcement written again: the memory holds one week.
    EXPECT_FALSE(GuardaMemoria(longe, MinutoDe(junho)).contains("20240501-080000.txt"));

    // A damaged or missing memory: only the current minute, as on a first start.
    for (const QByteArray texto : { "", "lixo\n", "20241307-0929\n" })
        EXPECT_FALSE(RecuperaMemoria(texto, MinutoDe(volta)).ultimoVerificado) << texto.constData();
    // A reminder saved within its own minute still rings in it.
    MemoriaAlarme agora;
    EXPECT_EQ(Anuncia({ "|2024|05|07|12:00|0|20240507-120030.txt|" }, Em(2024, 5, 7, 12, 0, 45), agora),
        "20240507-120030.txt");
    // And after an alert that held the next look back to a later minute.
    MemoriaAlarme aberto;
    EXPECT_EQ(Anuncia({ "|2024|05|07|12:00|0|a.txt|" }, Em(2024, 5, 7, 12, 0, 5), aberto), "a.txt");
    EXPECT_EQ(Anuncia({ "|2024|05|07|12:00|0|a.txt|", "|2024|05|07|12:00|0|20240507-120030.txt|" },
                  Em(2024, 5, 7, 12, 2, 5), aberto),
        "20240507-120030.txt");
}

TEST(Alarme, AClockThatWasAheadNeverSilencesTheRealOccurrence)
{
    const ListaLinhas lista { "|2026|11|08|09:00|1|20261101-080000.txt|", "|2026|12|08|09:10|0||" };
    // The clock a year ahead rings the monthly reminder and the one without a message file.
    MemoriaAlarme adiantada;
    const QDateTime adiante = Em(2027, 12, 8, 9, 0, 5);
    EXPECT_EQ(Anuncia(lista, adiante, adiantada), "20261101-080000.txt");
    const QByteArray guardadaAdiante = GuardaMemoria(adiantada, MinutoDe(adiante));
    EXPECT_EQ(guardadaAdiante, "20271208-0859\n20271208-0900 20261101-080000.txt\n");

    // Put right, in the same run and after a start: the memory keeps nothing of the future.
    const QDateTime certo = Em(2026, 12, 8, 9, 10, 5);
    EXPECT_EQ(GuardaMemoria(adiantada, MinutoDe(certo)), "20261208-0910\n");
    MemoriaAlarme depois = RecuperaMemoria(guardadaAdiante, MinutoDe(certo));
    EXPECT_FALSE(depois.ultimoVerificado);
    EXPECT_TRUE(depois.anunciados.isEmpty());
    // An empty message-file field is kept and read back as it was: no second ring in its minute.
    EXPECT_EQ(Anuncia(lista, certo, depois), "");
    const QByteArray guardada = GuardaMemoria(depois, MinutoDe(certo));
    EXPECT_EQ(guardada, "20261208-0909\n20261208-0910 \n");
    MemoriaAlarme reiniciada = RecuperaMemoria(guardada, MinutoDe(certo.addSecs(30)));
    EXPECT_EQ(Anuncia(lista, certo.addSecs(30), reiniciada), "-");

    // The real 8 December 2027 rings.
    MemoriaAlarme ano = RecuperaMemoria(guardada, MinutoDe(Em(2027, 12, 8, 8, 59)));
    EXPECT_EQ(Anuncia(lista, Em(2027, 12, 8, 8, 59, 50), ano), "-");
    EXPECT_EQ(Anuncia(lista, Em(2027, 12, 8, 9, 0, 5), ano), "20261101-080000.txt");
}
