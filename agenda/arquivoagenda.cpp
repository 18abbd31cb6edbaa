#include "agenda/arquivoagenda.h"

#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>

QString ArquivoIndice()
{
    return platform().dataFolder() + QStringLiteral("AGENDA.AGD");
}

QString PastaMensagens()
{
    return platform().dataFolder() + QStringLiteral("CND/");
}

bool PreparaPastaDados()
{
    const QString pasta = platform().dataFolder();
    const QFileInfo info(pasta);
    if (!info.exists()) {
        if (!QDir().mkpath(pasta))
            return false;
        // The reminders are the user's own business; the user's data folder is private.
        QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // The true test of a folder: create a file in it and take it away again.
    QFile sonda(pasta + QStringLiteral(".zelvano-sonda"));
    if (!sonda.open(QIODevice::WriteOnly))
        return false;
    sonda.close();
    sonda.remove();
    return true;
}

QString SomAlarme()
{
    QStringList candidatos { platform().dataFolder() + QStringLiteral("AGENDA.WAV"),
        platform().dataFolder() + QStringLiteral("AGENDA.MP3") };
    const QString instalada = platform().installedFolder();
    if (!instalada.isEmpty())
        candidatos << instalada + QStringLiteral("AGENDA.WAV");
    for (const QString &arquivo : candidatos) {
        if (QFileInfo::exists(arquivo))
            return arquivo;
    }
    return {};
}

QString ArquivoMensagem(const QByteArray &nome)
{
    return PastaMensagens() + QString::fromLatin1(nome);
}

ListaLinhas CortaLinhas(const QByteArray &texto)
{
    ListaLinhas linhas;
    qsizetype fim = texto.indexOf('\0');
    if (fim < 0)
        fim = texto.size();
    qsizetype inicio = 0;
    qsizetype i = 0;
    while (i < fim) {
        const char c = texto.at(i);
        if (c == '\r' || c == '\n') {
            linhas.push_back(texto.mid(inicio, i - inicio));
            if (c == '\r' && i + 1 < fim && texto.at(i + 1) == '\n')
                ++i;
            inicio = i + 1;
        }
        ++i;
    }
    if (inicio < fim)
        linhas.push_back(texto.mid(inicio, fim - inicio));
    return linhas;
}

QByteArray JuntaLinhas(const ListaLinhas &linhas)
{
    QByteArray texto;
    for (const QByteArray &linha : linhas) {
        texto += linha;
        texto += "\r\n";
    }
    return texto;
}

ErroLeitura::ErroLeitura(const QString &caminho)
    : std::runtime_error(QStringLiteral("Não foi possível ler o arquivo %1").arg(caminho).toStdString())
{
}

namespace {

QByteArray leInteiro(const QString &caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroLeitura(caminho);
    return arquivo.readAll();
}

bool gravaInteiro(const QString &caminho, const QByteArray &bytes)
{
    // A crash or a full disk mid-write leaves the old file or the new one, never half of one.
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return false;
    if (arquivo.write(bytes) != bytes.size()) {
        arquivo.cancelWriting();
        return false;
    }
    return arquivo.commit();
}

} // namespace

ListaLinhas LeIndice()
{
    const QString caminho = ArquivoIndice();
    if (!QFileInfo::exists(caminho))
        return {};
    return CortaLinhas(leInteiro(caminho));
}

bool GravaIndice(const ListaLinhas &linhas)
{
    return gravaInteiro(ArquivoIndice(), JuntaLinhas(linhas));
}

void CarregaAgenda(ListaLinhas &lista)
{
    lista.clear();
    lista = LeIndice();
}

void CriaPastaMensagens()
{
    const QString pasta = PastaMensagens();
    if (!QFileInfo::exists(pasta))
        QDir().mkpath(pasta);
}

namespace {

// Windows-1252 code points of bytes 0x80..0x9F; 0 where the code page leaves a hole.
constexpr std::array<char16_t, 32> cp1252Alto = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
    0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
    0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };

} // namespace

QString DecodificaMensagem(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8(bytes);
    if (!utf8.hasError())
        return texto;
    texto.clear();
    texto.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b <= 0x9F && cp1252Alto[b - 0x80] != 0)
            texto += QChar(cp1252Alto[b - 0x80]);
        else
            texto += QChar(b);
    }
    return texto;
}

QByteArray CodificaMensagem(const QString &texto)
{
    QString comCrLf = texto;
    comCrLf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    comCrLf.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    comCrLf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));

    QByteArray cp1252;
    cp1252.reserve(comCrLf.size());
    for (const QChar c : comCrLf) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            cp1252 += static_cast<char>(u);
            continue;
        }
        const auto *achado = std::find(cp1252Alto.begin(), cp1252Alto.end(), u);
        if (achado == cp1252Alto.end())
            return comCrLf.toUtf8(); // a character the old code page lacks: keep it in UTF-8
        cp1252 += static_cast<char>(0x80 + (achado - cp1252Alto.begin()));
    }
    // Bytes that happen to form valid UTF-8 would be read back as UTF-8: write such text as
    // UTF-8 in the first place so it reads back the same.
    if (DecodificaMensagem(cp1252) != comCrLf)
        return comCrLf.toUtf8();
    return cp1252;
}

std::optional<QStringList> LeMensagem(const QByteArray &nome)
{
    const QString caminho = ArquivoMensagem(nome);
    if (!QFileInfo(caminho).isFile())
        return std::nullopt;
    // The code page is a property of the whole file: decoded line by line, a line of an old
    // Windows-1252 file that happens to be valid UTF-8 would come back changed.
    const QString texto = DecodificaMensagem(JuntaLinhas(CortaLinhas(leInteiro(caminho))));
    QStringList linhas = texto.split(QStringLiteral("\r\n"));
    linhas.removeLast(); // after the break that ends the last line
    return linhas;
}

bool GravaMensagem(const QByteArray &nome, const QString &texto)
{
    return gravaInteiro(ArquivoMensagem(nome), CodificaMensagem(texto));
}

QByteArray NomeArquivoMensagem(const QDateTime &momento, const ListaLinhas &indice)
{
    QDateTime tentativa = momento;
    for (;;) {
        const QDate d = tentativa.date();
        const QTime t = tentativa.time();
        const QByteArray nome
            = (PreencheZeros(QString::number(d.year()), 4) + PreencheZeros(QString::number(d.month()), 2)
                + PreencheZeros(QString::number(d.day()), 2) + QLatin1Char('-')
                + PreencheZeros(QString::number(t.hour()), 2) + PreencheZeros(QString::number(t.minute()), 2)
                + PreencheZeros(QString::number(t.second()), 2) + QStringLiteral(".txt"))
                  .toLatin1();
        const bool noIndice
            = std::any_of(indice.begin(), indice.end(), [&](const QByteArray &linha) { return linha.contains(nome); });
        if (!noIndice && !QFileInfo::exists(ArquivoMensagem(nome)))
            return nome;
        tentativa = tentativa.addSecs(1);
    }
}

QByteArray MontaLinha(QDate data, const QString &hora, int modalidade, const QByteArray &nome)
{
    return '|' + PreencheZeros(QString::number(data.year()), 4).toLatin1() + '|'
        + PreencheZeros(QString::number(data.month()), 2).toLatin1() + '|'
        + PreencheZeros(QString::number(data.day()), 2).toLatin1() + '|' + hora.trimmed().toLatin1() + '|'
        + QByteArray::number(modalidade) + '|' + nome + '|';
}

bool IncluiLembrete(QDate data, const QString &hora, int modalidade, const QString &mensagem)
{
    ListaLinhas indice = LeIndice();
    const QByteArray nome = NomeArquivoMensagem(platform().now(), indice);
    indice.push_back(MontaLinha(data, hora, modalidade, nome));
    if (!GravaMensagem(nome, mensagem))
        return false;
    if (!GravaIndice(indice)) {
        // A message without its line would never be listed nor deleted.
        QFile::remove(ArquivoMensagem(nome));
        return false;
    }
    return true;
}

bool RemoveLembrete(ListaLinhas &lista, const QByteArray &nome)
{
    if (nome.isEmpty())
        return true; // an empty name is found in every line
    const auto linha = std::find_if(lista.begin(), lista.end(), [&](const QByteArray &l) { return l.contains(nome); });
    if (linha == lista.end())
        return true;
    const QString caminho = ArquivoMensagem(nome);
    if (!QFileInfo(caminho).isFile())
        return true;
    QFile::remove(caminho);
    lista.erase(linha);
    return GravaIndice(lista);
}
