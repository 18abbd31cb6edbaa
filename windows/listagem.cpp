#include "windows/listagem.h"

#include <QVarLengthArray>

namespace {

// The fields of one index line, found in one pass. Gives what ExtraiCampo gives; lines where
// its 1000-character window or its short-line rule could matter are left to it.
class Campos
{
public:
    explicit Campos(const QByteArray &linha)
        : m_linha(linha)
        , m_rapido(linha.size() <= 1000)
    {
        if (!m_rapido)
            return;
        for (qsizetype i = 0; i < linha.size() && m_barras.size() < 7; ++i)
            if (linha.at(i) == '|')
                m_barras.push_back(i);
    }

    QByteArray operator()(int n) const
    {
        if (!m_rapido || n > m_linha.size())
            return ExtraiCampo(n, m_linha);
        if (m_barras.size() <= n)
            return {};
        const qsizetype inicio = m_barras.at(n - 1) + 1;
        return m_linha.mid(inicio, m_barras.at(n) - inicio);
    }

private:
    const QByteArray &m_linha;
    const bool m_rapido;
    QVarLengthArray<qsizetype, 7> m_barras;
};

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
        const Campos campo(linha);
        const QByteArray codigo = campo(5);
        const QByteArray campoDia = campo(3);
        QString descricao;
        if (codigo == "0") {
            if ((filtro == TodasNoDia || filtro == AvisoEspecifico) && campo(1) == Y && campo(2) == M && campoDia == D)
                descricao = QStringLiteral("Data Específica");
        } else if (codigo == "1") {
            if ((filtro == TodasNoDia && campoDia == D) || filtro == AvisoMensal)
                descricao = QStringLiteral("Mensal - Todo dia ") + texto(campoDia);
        } else if (codigo == "2") {
            if ((filtro == TodasNoDia && campoDia == D && campo(2) == M) || filtro == AvisoAnual)
                descricao = descricaoAnual(campoDia, campo(2));
        }
        if (descricao.isNull())
            continue;
        linhas.push_back({ texto(campo(4)), descricao, texto(codigo), texto(campo(6)), texto(campo(1)), texto(campo(2)),
            texto(campoDia) });
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
