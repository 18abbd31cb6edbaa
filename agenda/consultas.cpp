#include "agenda/consultas.h"

#include "agenda/funcoes.h"

#include <QString>

#include <initializer_list>
#include <limits>
#include <utility>

namespace {

QByteArray zeros(int numero, int largura)
{
    return PreencheZeros(QString::number(numero), largura).toLatin1();
}

// The first line whose listed fields hold the expected texts and whose modality code is the
// one asked for.
QByteArray procura(std::initializer_list<std::pair<int, QByteArray>> campos, int modalidade)
{
    for (const QByteArray &linha : std::as_const(ListaAgenda)) {
        bool confere = true;
        for (const auto &[n, esperado] : campos) {
            if (ExtraiCampo(n, linha) != esperado) {
                confere = false;
                break;
            }
        }
        if (!confere)
            continue;
        const QByteArray codigo = ExtraiCampo(5, linha);
        if (CodigoModalidade(codigo) == modalidade)
            return codigo;
    }
    return {};
}

QByteArray horaTexto(int hora, int minuto)
{
    return zeros(hora, 2) + ':' + zeros(minuto, 2);
}

} // namespace

int CodigoModalidade(const QByteArray &campo)
{
    qsizetype i = 0;
    while (i < campo.size() && static_cast<unsigned char>(campo.at(i)) <= 32)
        ++i;
    bool negativo = false;
    if (i < campo.size() && (campo.at(i) == '+' || campo.at(i) == '-')) {
        negativo = campo.at(i) == '-';
        ++i;
    }
    if (i == campo.size())
        return -1;
    long long valor = 0;
    for (; i < campo.size(); ++i) {
        const char c = campo.at(i);
        if (c < '0' || c > '9')
            return -1;
        valor = valor * 10 + (c - '0');
        if (valor > std::numeric_limits<int>::max())
            return -1;
    }
    return static_cast<int>(negativo ? -valor : valor);
}

QByteArray ConsultaEspecifica(int dia, int mes, int ano, int hora, int minuto)
{
    return procura(
        { { 1, zeros(ano, 4) }, { 2, zeros(mes, 2) }, { 3, zeros(dia, 2) }, { 4, horaTexto(hora, minuto) } }, 0);
}

QByteArray ConsultaMensal(int dia, int hora, int minuto)
{
    return procura({ { 3, zeros(dia, 2) }, { 4, horaTexto(hora, minuto) } }, 1);
}

QByteArray ConsultaAnual(int dia, int mes, int hora, int minuto)
{
    return procura({ { 2, zeros(mes, 2) }, { 3, zeros(dia, 2) }, { 4, horaTexto(hora, minuto) } }, 2);
}
