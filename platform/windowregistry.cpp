#include "platform/windowregistry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

QString pastaRegistroJanelas()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString pasta = base + QStringLiteral("/zelvano-") + QString::number(getuid());
    QDir().mkpath(pasta);
    // Closed to everyone else; set only when needed, since it is asked for at every lookup.
    const QFile::Permissions outros = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    if (QFile::permissions(pasta) & outros)
        QFile::setPermissions(pasta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return pasta;
}

QString arquivoTravaJanela(const QString &classe)
{
    return pastaRegistroJanelas() + QLatin1Char('/') + classe + QStringLiteral(".lock");
}

QString soqueteJanela(const QString &classe)
{
    return pastaRegistroJanelas() + QLatin1Char('/') + classe + QStringLiteral(".sock");
}
