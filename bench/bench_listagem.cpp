#include "agenda/arquivoagenda.h"
#include "app/uconsulta.h"
#include "controls/radiogroup.h"
#include "support/fakeplatform.h"

#include <benchmark/benchmark.h>

namespace {

// An index spread over many dates and all three modalities; the chosen day (5 March 2007)
// lists about one line in 340 under "TODAS NO DIA", a third of them under the monthly filter.
QByteArray Indice(int linhas)
{
    QByteArray bytes;
    for (int i = 0; i < linhas; ++i) {
        const QByteArray ano = QByteArray::number(2000 + i % 10);
        const QByteArray mes = PreencheZeros(QString::number(1 + i % 12), 2).toLatin1();
        const QByteArray dia = PreencheZeros(QString::number(1 + i % 28), 2).toLatin1();
        const QByteArray hora = PreencheZeros(QString::number(i % 24), 2).toLatin1() + ":30";
        bytes += "|" + ano + "|" + mes + "|" + dia + "|" + hora + "|" + QByteArray::number(i % 3) + "|2007"
            + QByteArray::number(10000000 + i) + ".txt|\r\n";
    }
    return bytes;
}

// Atualiza as the window runs it: reread AGENDA.AGD, pick the day's rows, rebuild the grid.
void Atualiza(benchmark::State &estado, int filtro)
{
    FakePlatform fake;
    fake.agora = QDateTime(QDate(2007, 3, 5), QTime(9, 0));
    GravaIndice(CortaLinhas(Indice(static_cast<int>(estado.range(0)))));
    Tfrm_agenda janela;
    janela.show();
    janela.RadioGroup1->setItemIndex(filtro);
    for (auto _ : estado)
        janela.Atualiza();
    estado.counters["linhas listadas"] = janela.Stringgrid2->RowCount() - 1;
}

void AtualizaTodasNoDia(benchmark::State &estado)
{
    Atualiza(estado, 0);
}

void AtualizaMensalGeral(benchmark::State &estado)
{
    Atualiza(estado, 2);
}

} // namespace

BENCHMARK(AtualizaTodasNoDia)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(AtualizaMensalGeral)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
