#pragma once

#include "agenda/camposlinha.h"
#include "agenda/funcoes.h"

#include <QDateTime>
#include <QSet>

#include <optional>
#include <utility>

// A minute of the wall clock: Julian day * 1440 + hour * 60 + minute. Wall clock, not elapsed
// time: once the clock is set back, the same minute comes round again.
using MinutoRelogio = qint64;

MinutoRelogio MinutoDe(QDate dia, QTime hora);
inline MinutoRelogio MinutoDe(const QDateTime &momento)
{
    return MinutoDe(momento.date(), momento.time());
}

// The latest minute in [de, ate] at which the index line falls due, or nothing. The line is
// due at a minute whose date gives Y (year padded to 4 digits), M and D (padded to 2) and
// whose time gives T ("HH:MM") when one of these holds, fields compared as exact texts:
//   a. field 1 = Y, field 2 = M, field 3 = D, field 4 = T, field 5 = "0" (that date only);
//   b. field 3 = D, field 4 = T, field 5 = "1" (every month on that day);
//   c. field 2 = M, field 3 = D, field 4 = T, field 5 = "2" (every year on that day).
std::optional<MinutoRelogio> UltimoVencimento(const QByteArray &linha, MinutoRelogio de, MinutoRelogio ate);

inline bool VenceNoMinuto(const QByteArray &linha, const QDateTime &momento)
{
    const MinutoRelogio minuto = MinutoDe(momento);
    return UltimoVencimento(linha, minuto, minuto).has_value();
}

// What the check remembers between ticks, for the run only.
struct MemoriaAlarme
{
    // The last minute up to which nothing was left to announce; none before the first tick.
    std::optional<MinutoRelogio> ultimoVerificado;
    // Every reminder announced: message file name and the minute it fell due for.
    QSet<std::pair<QByteArray, MinutoRelogio>> anunciados;
};

struct Aviso
{
    qsizetype indice = -1; // position of the line in the list
    QByteArray linha;
    QByteArray nome; // field 6, the message file name
    MinutoRelogio minuto = 0; // the minute it fell due
};

// The reminder to announce at `agora`, remembered as announced, or nothing. Looks at every
// minute since the last one checked up to `agora` (only `agora` on the first tick and after
// the clock was set back), so nothing due while an alert was up, the sound played or the
// computer slept is lost. Of the reminders due in that span and not yet announced for that
// minute the one that fell due first is taken (the first in the list among equals); a
// reminder due several times in the span counts once, for its latest minute. A minute already
// past is not caught up for a reminder saved after it (MinutoCriacao): it was never missed.
std::optional<Aviso> ProximoAviso(const ListaLinhas &lista, const QDateTime &agora, MemoriaAlarme &memoria);

// The moment a reminder was saved, read from its message file name "YYYYMMDD-HHMMSS...";
// nothing for a name of another form (a hand-edited line).
std::optional<MinutoRelogio> MinutoCriacao(const QByteArray &nome);

// How far back a start looks for reminders that fell due while the program was not running:
// a computer off for months does not ring for months.
constexpr MinutoRelogio JanelaRecuperacao = 7 * 24 * 60;

// The memory as kept between runs, as text: the minute up to which nothing was left to
// announce ("YYYYMMDD-HHMM"), then one line per reminder announced in the last seven days
// (that minute, a space, the message file name, which may be empty). Empty while no tick has
// run. Nothing later than `agora` is trusted: a clock that was ahead (a flat battery) would
// otherwise keep the real occurrence of what it rang from ever ringing.
QByteArray GuardaMemoria(const MemoriaAlarme &memoria, MinutoRelogio agora);
// The memory a start carries on from, never further back than seven days and never later than
// `agora`. A missing or damaged text gives an empty memory: the first tick looks at its own
// minute only.
MemoriaAlarme RecuperaMemoria(const QByteArray &texto, MinutoRelogio agora);

// The alert window's texts for a due index line, from its fields read once.
QString TextoModalidade(QByteArrayView modalidade); // "AGENDA ESPECÍFICA", "MENSALMENTE", "ANUALMENTE"
QString TextoData(const CamposLinha &campos); // "Data:" + DD/MM/YYYY as stored
QString TextoHora(const QDateTime &agora); // "Hora:" + HH:MM
QString TituloAviso(const QByteArray &nome); // "Zelvano Agenda: " + the name without ".txt"
