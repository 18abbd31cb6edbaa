#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray LeArquivo(const QString &caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void GravaArquivo(const QString &caminho, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(caminho).path());
    QFile f(caminho);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}
