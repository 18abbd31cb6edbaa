#include "platform/pastadados.h"

#include <gtest/gtest.h>

TEST(PastaDados, BesideTheProgramOnlyWhereTheUserMayWriteAndTheProgramIsNotInstalled)
{
    const QString programa = QStringLiteral("/home/ana/ZelvanoAgenda/");
    const QString pessoal = QStringLiteral("/home/ana/.local/share/zelvano-agenda/");
    struct Caso
    {
        QString programa;
        bool gravavel;
        bool instalado;
        QString xdg;
        QString pasta;
    } casos[] = {
        { programa, true, false, QString(), programa },
        { programa, true, false, QStringLiteral("/dados"), programa },
        { QStringLiteral("/opt/zelvano/"), false, false, QString(), pessoal },
        { QStringLiteral("/usr/bin/"), false, true, QStringLiteral("/dados/"),
            QStringLiteral("/dados/zelvano-agenda/") },
        // root may write in /usr/bin, yet an installed program never keeps reminders there.
        { QStringLiteral("/usr/bin/"), true, true, QString(), pessoal },
        { QStringLiteral("/usr/bin/"), false, true, QStringLiteral("dados"), pessoal },
    };
    for (const Caso &c : casos)
        EXPECT_EQ(EscolhePastaDados(c.programa, c.gravavel, c.instalado, c.xdg, QStringLiteral("/home/ana")), c.pasta)
            << c.programa.toStdString() << " " << c.gravavel << c.instalado << " " << c.xdg.toStdString();

    EXPECT_EQ(PastaInstalada(QStringLiteral("/usr/bin/")), QStringLiteral("/usr/share/zelvano-agenda/"));
    EXPECT_EQ(PastaInstalada(QStringLiteral("/opt/z/bin/")), QStringLiteral("/opt/z/share/zelvano-agenda/"));
}
