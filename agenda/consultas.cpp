#include "agenda/consultas.h"

#include "agenda/camposlinha.h"
#include "agenda/funcoes.h"

#include <QString>

#include <limits>

namespace {

QByteArray Zeros(int numero, int largura)
{
    return PreencheZeros(QString::number(numero), largura).toLatin1();
}

QByteArray HoraTexto(int hora, int minuto)
{
    return Zeros(hora, 2) + ':' + Zeros(minuto, 2);
}

// Field 5 of the first line that takes the slot (`ocupa`) with the modality code asked for.
template <typename Criterio> QByteArray Procura(Criterio ocupa, int modalidade)
{
    for (const QByteArray &linha : std::as_const(ListaAgenda)) {
        const CamposLinha campos = LeCampos(linha);
        if (ocupa(campos) && CodigoModalidade(campos.modalidade) == modalidade)
            return campos.modalidade.toByteArray();
    }
    return {};
}

} // namespace

int CodigoModalidade(QByteArrayView campo)
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
    const QByteArray Y = Zeros(ano, 4), M = Zeros(mes, 2), D = Zeros(dia, 2), T = HoraTexto(hora, minuto);
    return Procura([&](const CamposLinha &c) { return c.ano == Y && c.mes == M && c.dia == D && c.hora == T; }, 0);
}

QByteArray ConsultaMensal(int dia, int hora, int minuto)
{
    const QByteArray D = Zeros(dia, 2), T = HoraTexto(hora, minuto);
    return Procura([&](const CamposLinha &c) { return c.dia == D && c.hora == T; }, 1);
}

QByteArray ConsultaAnual(int dia, int mes, int hora, int minuto)
{
    const QByteArray M = Zeros(mes, 2), D = Zeros(dia, 2), T = HoraTexto(hora, minuto);
    return Procura([&](const CamposLinha &c) { return c.mes == M && c.dia == D && c.hora == T; }, 2);
}
