#include "agenda/alarme.h"
#include "app/uconsulta.h"
#include "support/fakeplatform.h"

#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

// An index of the given size with the three kinds of reminder, none due at the ticks measured,
// so every tick looks at every line as an idle program does all day.
ListaLinhas Indice(int linhas)
{
    ListaLinhas lista;
    for (int i = 0; i < linhas; ++i) {
        const QByteArray dia = QByteArray::number(1 + i % 28).rightJustified(2, '0');
        const QByteArray hora = QByteArray::number(i % 24).rightJustified(2, '0') + ":"
            + QByteArray::number(i % 60).rightJustified(2, '0');
        lista.push_back("|2024|0" + QByteArray::number(1 + i % 9) + "|" + dia + "|" + hora + "|"
            + QByteArray::number(i % 3) + "|2024" + QByteArray::number(100000000 + i) + ".txt|");
    }
    return lista;
}

} // namespace

// The rule alone: one tick 15 seconds after the last, over the whole list.
static void TiqueRegra(benchmark::State &estado)
{
    const ListaLinhas lista = Indice(int(estado.range(0)));
    MemoriaAlarme memoria;
    const QDateTime minuto(QDate(2024, 5, 30), QTime(23, 59, 0));
    int tique = 0;
    for (auto _ : estado)
        benchmark::DoNotOptimize(ProximoAviso(lista, minuto.addSecs(15 * (tique++ % 4)), memoria));
}
BENCHMARK(TiqueRegra)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The first look after a week asleep: every line is still looked at only once.
static void TiqueAposUmaSemana(benchmark::State &estado)
{
    const ListaLinhas lista = Indice(int(estado.range(0)));
    const QDateTime agora(QDate(2024, 5, 30), QTime(23, 59, 0));
    for (auto _ : estado) {
        MemoriaAlarme memoria;
        memoria.ultimoVerificado = MinutoDe(agora.addDays(-7));
        benchmark::DoNotOptimize(ProximoAviso(lista, agora, memoria));
    }
}
BENCHMARK(TiqueAposUmaSemana)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The whole Timer1Timer on the main window, ListaAgenda loaded, nothing due.
static void Timer1Timer(benchmark::State &estado)
{
    FakePlatform fake;
    const QDateTime minuto(QDate(2024, 5, 30), QTime(23, 59, 0));
    Tfrm_agenda frm;
    frm.DiaAtual = minuto.date();
    ListaAgenda = Indice(int(estado.range(0)));
    int tique = 0;
    for (auto _ : estado) {
        fake.agora = minuto.addSecs(15 * (tique++ % 4));
        frm.Timer1Timer(frm.Timer1);
    }
    if (!frm.UltimoAviso.isEmpty() || ListaAgenda.size() != estado.range(0))
        estado.SkipWithError("the tick did not look at the whole list");
    ListaAgenda.clear();
}
BENCHMARK(Timer1Timer)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
