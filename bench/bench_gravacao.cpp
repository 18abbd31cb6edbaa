#include "agenda/arquivoagenda.h"
#include "support/fakeplatform.h"

#include <benchmark/benchmark.h>

// One save ("&Salvar") with an index of the given size: fresh read, unique name, message,
// whole index rewritten through a temporary file.
static void Gravacao(benchmark::State &estado)
{
    FakePlatform fake;
    CriaPastaMensagens();
    ListaLinhas linhas;
    for (int i = 0; i < estado.range(0); ++i)
        linhas.push_back("|2024|05|07|09:05|0|2024" + QByteArray::number(100000000 + i) + ".txt|");
    GravaIndice(linhas);
    int segundo = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        GravaIndice(linhas);
        fake.agora = QDateTime(QDate(2030, 1, 1), QTime(0, 0)).addSecs(segundo++);
        estado.ResumeTiming();
        benchmark::DoNotOptimize(IncluiLembrete(QDate(2024, 5, 7), "09:05", 0, "mensagem"));
    }
}
BENCHMARK(Gravacao)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
