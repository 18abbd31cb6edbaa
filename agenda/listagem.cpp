#include "agenda/listagem.h"

#include "agenda/camposlinha.h"

namespace {

QString Texto(QByteArrayView campo)
{
    return QString::fromLatin1(campo);
}

QString DescricaoAnual(QByteArrayView dia, QByteArrayView mes)
{
    return QStringLiteral("Anual - Todo dia ") + Texto(dia) + QStringLiteral(" de ") + NomeMes(Texto(mes));
}

} // namespace

std::vector<LinhaListada> LinhasDoDia(const ListaLinhas &agenda, QDate dia, int filtro)
{
    const QByteArray Y = PreencheZeros(QString::number(dia.year()), 4).toLatin1();
    const QByteArray M = PreencheZeros(QString::number(dia.month()), 2).toLatin1();
    const QByteArray D = PreencheZeros(QString::number(dia.day()), 2).toLatin1();

    std::vector<LinhaListada> linhas;
    for (const QByteArray &linha : agenda) {
        const CamposLinha campos = LeCampos(linha);
        QString descricao;
        if (campos.modalidade == "0") {
            if ((filtro == TodasNoDia || filtro == AvisoEspecifico) && campos.ano == Y && campos.mes == M
                && campos.dia == D)
                descricao = QStringLiteral("Data Específica");
        } else if (campos.modalidade == "1") {
            if ((filtro == TodasNoDia && campos.dia == D) || filtro == AvisoMensal)
                descricao = QStringLiteral("Mensal - Todo dia ") + Texto(campos.dia);
        } else if (campos.modalidade == "2") {
            if ((filtro == TodasNoDia && campos.dia == D && campos.mes == M) || filtro == AvisoAnual)
                descricao = DescricaoAnual(campos.dia, campos.mes);
        }
        if (descricao.isNull())
            continue;
        linhas.push_back({ Texto(campos.hora), descricao, Texto(campos.modalidade), Texto(campos.arquivo),
            Texto(campos.ano), Texto(campos.mes), Texto(campos.dia) });
    }
    return linhas;
}

QString FraseDoAviso(
    const QString &modalidade, const QString &dia, const QString &mes, const QString &ano, const QString &hora)
{
    bool ok = false;
    const int codigo = modalidade.trimmed().toInt(&ok);
    if (!ok)
        return {};
    switch (codigo) {
    case 0:
        return QStringLiteral("Avisar especificamente no dia ") + dia + QStringLiteral(" de ") + NomeMes(mes)
            + QStringLiteral(" de ") + ano + QStringLiteral(" as ") + hora;
    case 1:
        return QStringLiteral("Avisar Mensalmente todo dia ") + dia + QStringLiteral(" de cada mês as ") + hora;
    case 2:
        return QStringLiteral("Avisar Anualmente todo dia ") + dia + QStringLiteral(" de ") + NomeMes(mes)
            + QStringLiteral(" as ") + hora;
    default:
        return {};
    }
}

QString TituloDoDia(QDate dia)
{
    return QStringLiteral("Agenda para: ") + dia.toString(QStringLiteral("dd/MM/yyyy"));
}

QString PerguntaExclusao(const QString &hora)
{
    return QStringLiteral("Tem certeza que deseja excluir agenda para as: ") + hora + QStringLiteral(" ??");
}
