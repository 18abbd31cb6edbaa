#include "platform/pastadados.h"

#include <QDir>

QString PastaInstalada(const QString &pastaPrograma)
{
    return QDir::cleanPath(pastaPrograma + QStringLiteral("../share/zelvano-agenda")) + QLatin1Char('/');
}

QString EscolhePastaDados(
    const QString &pastaPrograma, bool gravavel, bool instalado, const QString &xdgDataHome, const QString &home)
{
    if (gravavel && !instalado)
        return pastaPrograma;
    QString dados = xdgDataHome;
    if (dados.isEmpty() || QDir::isRelativePath(dados))
        dados = home + QStringLiteral("/.local/share");
    return QDir::cleanPath(dados + QStringLiteral("/zelvano-agenda")) + QLatin1Char('/');
}
