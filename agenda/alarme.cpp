#include "agenda/alarme.h"

#include "agenda/camposlinha.h"

#include <QByteArrayView>

#include <algorithm>

namespace {

constexpr int MinutosDia = 24 * 60;

// A field of exactly `digitos` decimal digits, or -1.
int LeNumero(QByteArrayView campo, qsizetype digitos)
{
    if (campo.size() != digitos)
        return -1;
    int valor = 0;
    for (char c : campo) {
        if (c < '0' || c > '9')
            return -1;
        valor = valor * 10 + (c - '0');
    }
    return valor;
}

// Field 4 as the minute of the day it names, when it is written as the clock writes the time.
int MinutoDoDia(QByteArrayView campo)
{
    if (campo.size() != 5 || campo[2] != ':')
        return -1;
    const int h = LeNumero(campo.first(2), 2);
    const int m = LeNumero(campo.sliced(3), 2);
    if (h < 0 || h > 23 || m < 0 || m > 59)
        return -1;
    return h * 60 + m;
}

MinutoRelogio MinutoDe(QDate dia, int minutoDoDia)
{
    return dia.toJulianDay() * MinutosDia + minutoDoDia;
}

} // namespace

MinutoRelogio MinutoDe(QDate dia, QTime hora)
{
    return MinutoDe(dia, hora.hour() * 60 + hora.minute());
}

namespace {

std::optional<MinutoRelogio> UltimoVencimento(const CamposLinha &campos, MinutoRelogio de, MinutoRelogio ate)
{
    if (ate < de)
        return std::nullopt;
    const QByteArrayView modalidade = campos.modalidade;
    if (modalidade.size() != 1 || modalidade[0] < '0' || modalidade[0] > '2')
        return std::nullopt;
    const int minuto = MinutoDoDia(campos.hora);
    if (minuto < 0)
        return std::nullopt;
    // Most lines are not at any time of day in the span: no date needs working out for them.
    const MinutoRelogio primeiro = de + ((minuto - de % MinutosDia) % MinutosDia + MinutosDia) % MinutosDia;
    if (primeiro > ate)
        return std::nullopt;
    const int dia = LeNumero(campos.dia, 2);
    if (dia < 1 || dia > 31)
        return std::nullopt;

    // The date of `ate` on the wall clock; occurrences are looked for from there backwards.
    const QDate hoje = QDate::fromJulianDay(ate / MinutosDia);
    const auto dentro = [&](QDate data) -> std::optional<MinutoRelogio> {
        const MinutoRelogio m = MinutoDe(data, minuto);
        if (m >= de && m <= ate)
            return m;
        return std::nullopt;
    };

    switch (modalidade[0]) {
    case '0': {
        const int ano = LeNumero(campos.ano, 4);
        const int mes = LeNumero(campos.mes, 2);
        const QDate data(ano, mes, dia);
        if (ano < 1 || !data.isValid())
            return std::nullopt;
        return dentro(data);
    }
    case '1': {
        // Every day of the month comes round within 13 months (the 31st skips at most one).
        QDate mes(hoje.year(), hoje.month(), 1);
        for (int volta = 0; volta < 13; ++volta, mes = mes.addMonths(-1)) {
            const QDate data(mes.year(), mes.month(), dia);
            if (!data.isValid() || MinutoDe(data, minuto) > ate)
                continue;
            return dentro(data);
        }
        return std::nullopt;
    }
    default: {
        const int mes = LeNumero(campos.mes, 2);
        if (mes < 1 || mes > 12)
            return std::nullopt;
        // 29 February comes round within 8 years (1900 and 2100 are not leap years).
        for (int ano = hoje.year(); ano > hoje.year() - 9; --ano) {
            const QDate data(ano, mes, dia);
            if (!data.isValid() || MinutoDe(data, minuto) > ate)
                continue;
            return dentro(data);
        }
        return std::nullopt;
    }
    }
}

} // namespace

std::optional<MinutoRelogio> UltimoVencimento(const QByteArray &linha, MinutoRelogio de, MinutoRelogio ate)
{
    return UltimoVencimento(LeCampos(linha), de, ate);
}

std::optional<Aviso> ProximoAviso(const ListaLinhas &lista, const QDateTime &agora, MemoriaAlarme &memoria)
{
    const MinutoRelogio ate = MinutoDe(agora);
    // Back where it already looked (same minute, or the clock set back): this minute only.
    const MinutoRelogio de
        = memoria.ultimoVerificado && *memoria.ultimoVerificado < ate ? *memoria.ultimoVerificado + 1 : ate;

    std::optional<Aviso> escolhido;
    for (qsizetype i = 0; i < lista.size(); ++i) {
        const QByteArray &linha = lista.at(i);
        const CamposLinha campos = LeCampos(linha);
        const std::optional<MinutoRelogio> minuto = UltimoVencimento(campos, de, ate);
        if (!minuto || (escolhido && *minuto >= escolhido->minuto))
            continue;
        QByteArray nome = campos.arquivo.toByteArray();
        if (memoria.anunciados.contains({ nome, *minuto }))
            continue;
        if (*minuto < ate) {
            const std::optional<MinutoRelogio> criado = MinutoCriacao(nome);
            if (criado && *criado > *minuto)
                continue;
        }
        escolhido = Aviso { i, linha, std::move(nome), *minuto };
    }

    if (!escolhido) {
        memoria.ultimoVerificado = ate;
        return std::nullopt;
    }
    // The rest of the span is looked at again by the next ticks, until nothing is left in it.
    memoria.ultimoVerificado = de - 1;
    memoria.anunciados.insert({ escolhido->nome, escolhido->minuto });
    return escolhido;
}

namespace {

QByteArray TextoMinuto(MinutoRelogio minuto)
{
    const QDate dia = QDate::fromJulianDay(minuto / MinutosDia);
    const auto doDia = int(minuto % MinutosDia);
    return dia.toString(QStringLiteral("yyyyMMdd")).toLatin1() + '-'
        + QTime(doDia / 60, doDia % 60).toString(QStringLiteral("HHmm")).toLatin1();
}

// "YYYYMMDD-HHMM" as a minute of the wall clock.
std::optional<MinutoRelogio> MinutoDoTexto(QByteArrayView texto)
{
    if (texto.size() != 13 || texto[8] != '-')
        return std::nullopt;
    const int ano = LeNumero(texto.first(4), 4);
    const QDate dia(ano, LeNumero(texto.sliced(4, 2), 2), LeNumero(texto.sliced(6, 2), 2));
    const int hora = LeNumero(texto.sliced(9, 2), 2);
    const int minuto = LeNumero(texto.sliced(11, 2), 2);
    if (ano < 1 || !dia.isValid() || hora < 0 || hora > 23 || minuto < 0 || minuto > 59)
        return std::nullopt;
    return MinutoDe(dia, hora * 60 + minuto);
}

} // namespace

std::optional<MinutoRelogio> MinutoCriacao(const QByteArray &nome)
{
    // "YYYYMMDD-HHMM" is the name's first thirteen characters; the seconds must be digits too.
    if (nome.size() < 15 || LeNumero(QByteArrayView(nome).sliced(13, 2), 2) < 0)
        return std::nullopt;
    return MinutoDoTexto(QByteArrayView(nome).first(13));
}

QByteArray GuardaMemoria(const MemoriaAlarme &memoria, MinutoRelogio agora)
{
    if (!memoria.ultimoVerificado)
        return {};
    QList<std::pair<MinutoRelogio, QByteArray>> anunciados;
    for (const auto &[nome, minuto] : memoria.anunciados) {
        // An announcement dated after now was made under a clock that was ahead: kept, it
        // would silence the real occurrence when that minute comes.
        if (minuto >= agora - JanelaRecuperacao && minuto <= agora)
            anunciados.push_back({ minuto, nome });
    }
    std::sort(anunciados.begin(), anunciados.end());
    QByteArray texto = TextoMinuto(std::min(*memoria.ultimoVerificado, agora)) + '\n';
    for (const auto &[minuto, nome] : anunciados)
        texto += TextoMinuto(minuto) + ' ' + nome + '\n';
    return texto;
}

MemoriaAlarme RecuperaMemoria(const QByteArray &texto, MinutoRelogio agora)
{
    const QList<QByteArray> linhas = texto.split('\n');
    const std::optional<MinutoRelogio> verificado = MinutoDoTexto(linhas.first());
    if (!verificado)
        return {};
    MemoriaAlarme memoria;
    // A minute later than now was written under a clock that was ahead: nothing is known of
    // the minutes up to now, so only the current one is looked at, as on a first start.
    if (*verificado <= agora)
        memoria.ultimoVerificado = std::max(*verificado, agora - JanelaRecuperacao);
    for (qsizetype i = 1; i < linhas.size(); ++i) {
        const QByteArray &linha = linhas.at(i);
        const std::optional<MinutoRelogio> minuto
            = MinutoDoTexto(QByteArrayView(linha).first(qMin<qsizetype>(13, linha.size())));
        // An empty name (a line without a message file) is a name as well.
        if (minuto && *minuto <= agora && linha.size() >= 14 && linha.at(13) == ' ')
            memoria.anunciados.insert({ linha.mid(14), *minuto });
    }
    return memoria;
}

QString TextoModalidade(QByteArrayView modalidade)
{
    if (modalidade == "0")
        return QStringLiteral("AGENDA ESPECÍFICA");
    if (modalidade == "1")
        return QStringLiteral("MENSALMENTE");
    if (modalidade == "2")
        return QStringLiteral("ANUALMENTE");
    return {};
}

QString TextoData(const CamposLinha &campos)
{
    return QStringLiteral("Data:") + QString::fromLatin1(campos.dia) + QLatin1Char('/')
        + QString::fromLatin1(campos.mes) + QLatin1Char('/') + QString::fromLatin1(campos.ano);
}

QString TextoHora(const QDateTime &agora)
{
    return QStringLiteral("Hora:") + agora.time().toString(QStringLiteral("HH:mm"));
}

QString TituloAviso(const QByteArray &nome)
{
    return QStringLiteral("Zelvano Agenda: ") + QString::fromLatin1(nome.chopped(qMin<qsizetype>(4, nome.size())));
}
