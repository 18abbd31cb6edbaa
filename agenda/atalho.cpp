#include "agenda/atalho.h"

#include "platform/platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// String values of a desktop entry escape backslash and the control characters.
QString EscapaValor(const QString &valor)
{
    QString saida;
    saida.reserve(valor.size());
    for (const QChar c : valor) {
        switch (c.unicode()) {
        case '\\':
            saida += QLatin1String("\\\\");
            break;
        case '\n':
            saida += QLatin1String("\\n");
            break;
        case '\t':
            saida += QLatin1String("\\t");
            break;
        case '\r':
            saida += QLatin1String("\\r");
            break;
        default:
            saida += c;
        }
    }
    return saida;
}

} // namespace

QString CaminhoAtalhoInicializar(const QString &nomeLink)
{
    QString pasta = platform().autostartFolder();
    // No folder at all: the file lands in the root, as it always did.
    if (!pasta.endsWith(QLatin1Char('/')))
        pasta += QLatin1Char('/');
    return pasta + nomeLink + QStringLiteral(".desktop");
}

QString CitaArgumentoExec(const QString &argumento)
{
    static const QString Reservados = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool citar = argumento.isEmpty();
    for (const QChar c : argumento)
        citar = citar || Reservados.contains(c);

    QString saida;
    if (citar)
        saida += QLatin1Char('"');
    for (const QChar c : argumento) {
        if (c == QLatin1Char('%'))
            saida += QLatin1String("%%"); // a lone % would be taken for a field code
        else if (citar && QStringLiteral("\"`$\\").contains(c))
            saida += QLatin1Char('\\') + c;
        else
            saida += c;
    }
    if (citar)
        saida += QLatin1Char('"');
    return saida;
}

QByteArray ConteudoAtalho(
    const QString &alvo, const QString &argumentos, const QString &pastaTrabalho, const QString &nomeLink)
{
    QString exec = CitaArgumentoExec(alvo);
    // GLib-based desktops look for the program named first in Exec before they turn "%%" back
    // into "%", so they would refuse the entry of a program whose path has a %. A shell that
    // is always there starts it instead, with the path as its $0.
    if (alvo.contains(QLatin1Char('%')))
        exec = QStringLiteral("/bin/sh -c ") + CitaArgumentoExec(QStringLiteral("exec \"$0\" \"$@\""))
            + QLatin1Char(' ') + exec;
    if (!argumentos.isEmpty())
        exec += QLatin1Char(' ') + argumentos;
    QString texto = QStringLiteral("[Desktop Entry]\n"
                                   "Type=Application\n");
    texto += QStringLiteral("Name=") + EscapaValor(nomeLink) + QLatin1Char('\n');
    texto += QStringLiteral("Exec=") + EscapaValor(exec) + QLatin1Char('\n');
    texto += QStringLiteral("Path=") + EscapaValor(pastaTrabalho) + QLatin1Char('\n');
    return texto.toUtf8();
}

void CriaAtalhoInicializar(
    const QString &alvo, const QString &argumentos, const QString &pastaTrabalho, const QString &nomeLink)
{
    const QString caminho = CaminhoAtalhoInicializar(nomeLink);
    // Nobody has started anything at logon on a fresh account yet: the folder may be missing.
    QDir().mkpath(QFileInfo(caminho).absolutePath());
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly))
        return;
    arquivo.write(ConteudoAtalho(alvo, argumentos, pastaTrabalho, nomeLink));
    arquivo.commit();
}

void RemoveAtalhoInicializar(const QString &nomeLink)
{
    const QString caminho = CaminhoAtalhoInicializar(nomeLink);
    if (QFileInfo(caminho).isFile())
        QFile::remove(caminho);
}

bool ExisteAtalhoInicializar(const QString &nomeLink)
{
    return QFileInfo(CaminhoAtalhoInicializar(nomeLink)).isFile();
}
