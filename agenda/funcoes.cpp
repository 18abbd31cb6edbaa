#include "agenda/funcoes.h"

#include "platform/platform.h"

#include <array>

ListaLinhas ListaAgenda;

QString PreencheZeros(const QString &texto, int largura)
{
    qsizetype inicio = 0;
    while (inicio < texto.size() && texto.at(inicio).unicode() <= 32)
        ++inicio;
    const QString aparado = texto.mid(inicio);
    const qsizetype faltam = largura - aparado.size();
    if (faltam <= 0)
        return texto;
    return QString(faltam, QLatin1Char('0')) + aparado;
}

namespace {

// Leading blanks, an optional sign, then digits to the end: anything else does not convert.
bool ConverteInteiro(const QString &texto, qint64 &valor)
{
    qsizetype i = 0;
    while (i < texto.size() && texto.at(i) == QLatin1Char(' '))
        ++i;
    bool negativo = false;
    if (i < texto.size() && (texto.at(i) == QLatin1Char('+') || texto.at(i) == QLatin1Char('-'))) {
        negativo = texto.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == texto.size())
        return false;
    qint64 v = 0;
    for (; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        v = v * 10 + (c.unicode() - '0');
        // A 32-bit integer, as the conversion always was: anything wider is no number.
        if (v > (negativo ? 2147483648LL : 2147483647LL))
            return false;
    }
    valor = negativo ? -v : v;
    return true;
}

} // namespace

QString NomeMes(const QString &mes)
{
    static const std::array<QString, 12> Nomes = { QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"),
        QStringLiteral("Março"), QStringLiteral("Abril"), QStringLiteral("Maio"), QStringLiteral("Junho"),
        QStringLiteral("Julho"), QStringLiteral("Agosto"), QStringLiteral("Setembro"), QStringLiteral("Outubro"),
        QStringLiteral("Novembro"), QStringLiteral("Dezembro") };

    qint64 numero = 0;
    if (!ConverteInteiro(mes, numero)) {
        platform().beep();
        platform().messageBox(QStringLiteral("Variavel de Mes Inválida !!"), TituloAplicacao, Platform::Botoes::Ok);
        return {};
    }
    const int baixo = static_cast<int>(numero & 0xFF);
    if (baixo < 1 || baixo > 12)
        return {};
    return Nomes[static_cast<size_t>(baixo - 1)];
}

QString NomeMes(const QByteArray &mes)
{
    return NomeMes(QString::fromLatin1(mes));
}

QString NomeDiaSemana(QDate data)
{
    static const std::array<QString, 7> Nomes = { QStringLiteral("Segunda-Feira"), QStringLiteral("Terça-Feira"),
        QStringLiteral("Quarta-Feira"), QStringLiteral("Quinta-Feira"), QStringLiteral("Sexta-Feira"),
        QStringLiteral("Sábado"), QStringLiteral("Domingo") };
    const int dia = data.dayOfWeek(); // 1 = Monday .. 7 = Sunday
    if (dia < 1 || dia > 7)
        return {};
    return Nomes[static_cast<size_t>(dia - 1)];
}

bool Confirma(const QString &pergunta)
{
    platform().beep();
    return platform().messageBox(pergunta, QStringLiteral("Drel Sistemas"), Platform::Botoes::OkCancelar)
        == Platform::Resposta::Ok;
}

QByteArray ExtraiCampo(int n, const QByteArray &linha)
{
    if (n > linha.size())
        return linha;
    QByteArray resto = linha;
    for (int vez = 0; vez < n; ++vez) {
        const qsizetype barra = resto.indexOf('|');
        if (barra < 0)
            continue;
        // Only the 1000 characters after a bar are kept, as the routine always did.
        resto = resto.mid(barra + 1, 1000);
    }
    const qsizetype barra = resto.indexOf('|');
    if (barra < 0)
        return {};
    return resto.left(barra);
}
