#include "agenda/arquivoagenda.h"

#include "agenda/camposlinha.h"
#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

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

namespace {

ListaLinhas CortaAte(const QByteArray &texto, qsizetype fim)
{
    ListaLinhas linhas;
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

} // namespace

ListaLinhas CortaLinhas(const QByteArray &texto)
{
    const qsizetype nulo = texto.indexOf('\0');
    return CortaAte(texto, nulo < 0 ? texto.size() : nulo);
}

ListaLinhas CortaLinhasInteiras(const QByteArray &texto)
{
    return CortaAte(texto, texto.size());
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

ELeitura::ELeitura(const QString &caminho)
    : std::runtime_error(QStringLiteral("Não foi possível ler o arquivo %1").arg(caminho).toStdString())
{
}

namespace {

QByteArray LeInteiro(const QString &caminho)
{
    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ELeitura(caminho);
    return arquivo.readAll();
}

bool GravaInteiro(const QString &caminho, const QByteArray &bytes)
{
    // A crash or a full disk mid-write leaves the old file or the new one, never half of one.
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return false;
    // A write that does not fit is found out at the flush: commit() would not notice it and
    // would put the cut file in place of the old one.
    if (arquivo.write(bytes) != bytes.size() || !arquivo.flush()) {
        arquivo.cancelWriting();
        return false;
    }
    return arquivo.commit();
}

QByteArray BytesDoIndice()
{
    const QString caminho = ArquivoIndice();
    return QFileInfo::exists(caminho) ? LeInteiro(caminho) : QByteArray();
}

} // namespace

ListaLinhas LeIndice()
{
    return CortaLinhas(BytesDoIndice());
}

ListaLinhas LeIndiceInteiro()
{
    return CortaLinhasInteiras(BytesDoIndice());
}

bool GravaIndice(const ListaLinhas &linhas)
{
    return GravaInteiro(ArquivoIndice(), JuntaLinhas(linhas));
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
constexpr std::array<char16_t, 32> Cp1252Alto = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6,
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
        if (b >= 0x80 && b <= 0x9F && Cp1252Alto[b - 0x80] != 0)
            texto += QChar(Cp1252Alto[b - 0x80]);
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
        const auto *achado = std::find(Cp1252Alto.begin(), Cp1252Alto.end(), u);
        if (achado == Cp1252Alto.end())
            return comCrLf.toUtf8(); // a character the old code page lacks: keep it in UTF-8
        cp1252 += static_cast<char>(0x80 + (achado - Cp1252Alto.begin()));
    }
    // Bytes that happen to form valid UTF-8 would be read back as UTF-8: write such text as
    // UTF-8 in the first place so it reads back the same.
    if (DecodificaMensagem(cp1252) != comCrLf)
        return comCrLf.toUtf8();
    return cp1252;
}

bool NomeMensagemSeguro(const QByteArray &nome)
{
    if (nome.isEmpty() || nome == "." || nome == "..")
        return false;
    // Both separators: a line written under Windows may say ..\x as well as ../x.
    return std::none_of(nome.begin(), nome.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F || c == '/' || c == '\\';
    });
}

std::optional<QStringList> LeMensagem(const QByteArray &nome)
{
    if (!NomeMensagemSeguro(nome))
        return std::nullopt;
    const QString caminho = ArquivoMensagem(nome);
    if (!QFileInfo(caminho).isFile())
        return std::nullopt;
    // The code page is a property of the whole file: decoded line by line, a line of an old
    // Windows-1252 file that happens to be valid UTF-8 would come back changed.
    const QString texto = DecodificaMensagem(JuntaLinhas(CortaLinhas(LeInteiro(caminho))));
    QStringList linhas = texto.split(QStringLiteral("\r\n"));
    linhas.removeLast(); // after the break that ends the last line
    return linhas;
}

bool GravaMensagem(const QByteArray &nome, const QString &texto)
{
    return GravaInteiro(ArquivoMensagem(nome), CodificaMensagem(texto));
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
    ListaLinhas indice = LeIndiceInteiro();
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

Remocao RemoveLembrete(const QByteArray &nome)
{
    if (nome.isEmpty())
        return Remocao::SemLinha; // an empty name is found in every line
    ListaLinhas indice = LeIndiceInteiro();
    // The row's own line first: a hand-made name such as "a" is also part of other lines.
    auto linha
        = std::find_if(indice.begin(), indice.end(), [&](const QByteArray &l) { return LeCampos(l).arquivo == nome; });
    if (linha == indice.end())
        linha = std::find_if(indice.begin(), indice.end(), [&](const QByteArray &l) { return l.contains(nome); });
    if (linha == indice.end())
        return Remocao::SemLinha;
    indice.erase(linha);
    // The index goes first: a write that fails leaves the line with its text, never a line
    // whose text is gone.
    if (!GravaIndice(indice))
        return Remocao::IndiceNaoGravado;

    if (!NomeMensagemSeguro(nome))
        return Remocao::Removido;
    const bool aindaUsado
        = std::any_of(indice.begin(), indice.end(), [&](const QByteArray &l) { return LeCampos(l).arquivo == nome; });
    const QString caminho = ArquivoMensagem(nome);
    if (aindaUsado || !QFileInfo(caminho).isFile())
        return Remocao::Removido;
    return QFile::remove(caminho) ? Remocao::Removido : Remocao::MensagemFicou;
}

QString ArquivoAvisos()
{
    return platform().dataFolder() + QStringLiteral("AGENDA.AVS");
}

AvisosLidos LeAvisos()
{
    const QByteArray caminho = QFile::encodeName(ArquivoAvisos());
    struct stat info
    {
    };
    if (::lstat(caminho.constData(), &info) != 0)
        return { {}, errno != ENOENT };
    if (!S_ISREG(info.st_mode))
        return { {}, true }; // not even opened: opening a device may do something
    // Checked again through what was opened: a link or a FIFO swapped in meanwhile neither is
    // followed nor makes the open wait for a writer.
    const int fd = ::open(caminho.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return { {}, true };
    QByteArray texto;
    bool lido = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= MaiorArquivoAvisos;
    // One byte past the limit tells a file that grew after the look at its size.
    char bloco[16384];
    while (lido && texto.size() <= MaiorArquivoAvisos) {
        const ssize_t n = ::read(fd, bloco, sizeof bloco);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            lido = n == 0;
            break;
        }
        texto.append(bloco, n);
    }
    ::close(fd);
    if (!lido || texto.size() > MaiorArquivoAvisos)
        return { {}, true };
    return { texto, false };
}

bool GravaAvisos(const QByteArray &conteudo)
{
    // Not QSaveFile: it writes to wherever a link at the name points, and refuses a read-only
    // file that the folder allows to replace. Named as QSaveFile names its own, so that a
    // leftover of a killed save is cleared at the next start.
    const QString caminho = ArquivoAvisos();
    QTemporaryFile temporario(caminho + QStringLiteral(".XXXXXX"));
    if (!temporario.open())
        return false;
    // A write that does not fit is found out at the flush and the sync, before the rename.
    if (temporario.write(conteudo) != conteudo.size() || !temporario.flush() || ::fsync(temporario.handle()) != 0)
        return false;
    if (::rename(QFile::encodeName(temporario.fileName()).constData(), QFile::encodeName(caminho).constData()) != 0)
        return false;
    temporario.setAutoRemove(false);
    return true;
}

bool TemporarioOrfao(const QString &nome)
{
    // QSaveFile names its temporary file after the final one, a dot and six random letters
    // of both cases. A name a person gave a copy ("AGENDA.AGD.backup", ".Backup") is spared:
    // it would need a capital past the first letter as well as a small letter.
    static const QRegularExpression Temporario(
        QStringLiteral("^AGENDA\\.(AGD|AVS)\\.[A-Za-z](?=[A-Za-z]*[a-z])(?=[a-z]*[A-Z])[A-Za-z]{5}$"));
    return Temporario.match(nome).hasMatch();
}

void RemoveTemporariosOrfaos()
{
    const QDir pasta = QFileInfo(ArquivoIndice()).dir();
    const QStringList nomes = pasta.entryList({ QStringLiteral("AGENDA.AGD.*"), QStringLiteral("AGENDA.AVS.*") },
        QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &nome : nomes) {
        if (TemporarioOrfao(nome))
            QFile::remove(pasta.filePath(nome));
    }
}
