#include "windows/listagem.h"

namespace {

QString texto(const QByteArray &campo)
{
    return QString::fromLatin1(campo);
}

QString descricaoAnual(const QByteArray &dia, const QByteArray &mes)
{
    return QStringLiteral("Anual - Todo dia ") + texto(dia) + QStringLiteral(" de ") + NomeMes(mes);
}

} // namespace

std::vector<LinhaListada> linhasDoDia(const ListaLinhas &agenda, QDate dia, int filtro)
{
    const QByteArray Y = PreencheZeros(QString::number(dia.year()), 4).toLatin1();
    const QByteArray M = PreencheZeros(QString::number(dia.month()), 2).toLatin1();
    const QByteArray D = PreencheZeros(QString::number(dia.day()), 2).toLatin1();

    std::vector<LinhaListada> linhas;
    for (const QByteArray &linha : agenda) {
        const QByteArray codigo = ExtraiCampo(5, linha);
        const QByteArray campoDia = ExtraiCampo(3, linha);
        QString descricao;
        if (codigo == "0") {
            if ((filtro == TodasNoDia || filtro == AvisoEspecifico) && ExtraiCampo(1, linha) == Y
                && ExtraiCampo(2, linha) == M && campoDia == D)
                descricao = QStringLiteral("Data Específica");
        } else if (codigo == "1") {
            if ((filtro == TodasNoDia && campoDia == D) || filtro == AvisoMensal)
                descricao = QStringLiteral("Mensal - Todo dia ") + texto(campoDia);
        } else if (codigo == "2") {
            if ((filtro == TodasNoDia && campoDia == D && ExtraiCampo(2, linha) == M) || filtro == AvisoAnual)
                descricao = descricaoAnual(campoDia, ExtraiCampo(2, linha));
        }
        if (descricao.isNull())
            continue;
        linhas.push_back({ texto(ExtraiCampo(4, linha)), descricao, texto(codigo), texto(ExtraiCampo(6, linha)),
            texto(ExtraiCampo(1, linha)), texto(ExtraiCampo(2, linha)), texto(campoDia) });
    }
    return linhas;
}

QString fraseDoAviso(
    const QString &codigo, const QString &dia, const QString &mes, const QString &ano, const QString &hora)
{
    bool ok = false;
    const int modalidade = codigo.trimmed().toInt(&ok);
    if (!ok)
        return {};
    switch (modalidade) {
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

QString tituloDoDia(QDate dia)
{
    return QStringLiteral("Agenda para: ") + dia.toString(QStringLiteral("dd/MM/yyyy"));
}

QString perguntaExclusao(const QString &hora)
{
    return QStringLiteral("Tem certeza que deseja excluir agenda para as: ") + hora + QStringLiteral(" ??");
}
