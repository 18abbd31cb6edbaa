#include "agenda/atalho.h"
#include "support/fakeplatform.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

namespace {

QString ArquivoAtalho(const FakePlatform &p)
{
    return p.pastaAutostart + QStringLiteral("Zelvano Quorvel.desktop");
}

TEST(AtalhoInicializar, CreatedInAFreshAutostartFolderExistsAndIsRemoved)
{
    FakePlatform p;
    ASSERT_FALSE(QDir(p.pastaAutostart).exists());
    EXPECT_FALSE(ExisteAtalhoInicializar(NomeAtalho));
    RemoveAtalhoInicializar(NomeAtalho); // nothing there: nothing happens

    CriaAtalhoInicializar(
        QStringLiteral("/opt/zelvano/zelvano-agenda"), QString(), QStringLiteral("/opt/zelvano/"), NomeAtalho);
    EXPECT_TRUE(ExisteAtalhoInicializar(NomeAtalho));
    EXPECT_EQ(LeArquivo(ArquivoAtalho(p)),
        QByteArray("[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=Zelvano Quorvel\n"
                   "Exec=/opt/zelvano/zelvano-agenda\n"
                   "Path=/opt/zelvano/\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(p.pastaAutostart).entryList(QDir::Files | QDir::Hidden), QStringList({ "Zelvano Quorvel.desktop" }));

    RemoveAtalhoInicializar(NomeAtalho);
    EXPECT_FALSE(ExisteAtalhoInicializar(NomeAtalho));
    EXPECT_FALSE(QFile::exists(ArquivoAtalho(p)));
}

TEST(AtalhoInicializar, ExistingEntryIsReplacedWhole)
{
    FakePlatform p;
    QDir().mkpath(p.pastaAutostart);
    GravaArquivo(ArquivoAtalho(p), QByteArray(5000, 'z'));
    CriaAtalhoInicializar(QStringLiteral("/a/b"), QString(), QStringLiteral("/a/"), NomeAtalho);
    EXPECT_EQ(LeArquivo(ArquivoAtalho(p)),
        QByteArray("[Desktop Entry]\nType=Application\nName=Zelvano Quorvel\nExec=/a/b\nPath=/a/\n"));
}

TEST(AtalhoInicializar, OnlyAFileCountsAsTheEntry)
{
    FakePlatform p;
    QDir().mkpath(ArquivoAtalho(p));
    EXPECT_FALSE(ExisteAtalhoInicializar(NomeAtalho));
    RemoveAtalhoInicializar(NomeAtalho);
    EXPECT_TRUE(QDir(ArquivoAtalho(p)).exists());
}

TEST(AtalhoInicializar, NoFolderFallsBackToTheRoot)
{
    FakePlatform p;
    p.pastaAutostart.clear();
    EXPECT_EQ(CaminhoAtalhoInicializar(NomeAtalho), "/Zelvano Quorvel.desktop");
}

TEST(AtalhoInicializar, ExecQuotesTheTargetByTheDesktopEntryRules)
{
    struct Caso
    {
        QString alvo;
        QString exec; // as written in the file
    } casos[] = {
        { "/usr/bin/zelvano", "/usr/bin/zelvano" },
        { "/home/ana/Meus Programas/zelvano", R"("/home/ana/Meus Programas/zelvano")" },
        { "/opt/a$b/z", R"("/opt/a\\$b/z")" },
        { "/opt/a\"b`c/z", R"("/opt/a\\"b\\`c/z")" },
        { "/opt/a\\b/z", R"("/opt/a\\\\b/z")" },
        // GLib looks for the first program before it unescapes %%: a shell starts this one.
        { "/opt/100%/z", R"(/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" /opt/100%%/z)" },
        { "/opt/100% certo/z", R"(/bin/sh -c "exec \\"\\$0\\" \\"\\$@\\"" "/opt/100%% certo/z")" },
        { "/opt/a'b(c)/z", R"("/opt/a'b(c)/z")" },
        { "/opt/agenda eletrônica/z", "\"/opt/agenda eletrônica/z\"" },
    };
    for (const Caso &c : casos) {
        const QByteArray conteudo = ConteudoAtalho(c.alvo, QString(), QStringLiteral("/opt/"), NomeAtalho);
        EXPECT_TRUE(conteudo.contains("\nExec=" + c.exec.toUtf8() + "\n")) << conteudo.toStdString();
    }
}

TEST(AtalhoInicializar, DesktopFileValidateAcceptsTheEntryInAFolderWithSpaces)
{
    const QString validador = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validador.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    FakePlatform p;
    const QString pasta = p.temporaria.path() + QStringLiteral("/Meus Programas $ (teste)/");
    CriaAtalhoInicializar(pasta + QStringLiteral("zelvano-agenda"), QString(), pasta, NomeAtalho);
    QProcess processo;
    processo.start(validador, { ArquivoAtalho(p) });
    ASSERT_TRUE(processo.waitForFinished(10000));
    EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardOutput().toStdString();
    EXPECT_TRUE(processo.readAllStandardOutput().isEmpty());
}

} // namespace

TEST(AtalhoInicializar, GioStartsTheEntryOfAProgramInAnOddFolder)
{
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        GTEST_SKIP() << "gio is not installed";
    for (const QString pasta : { "100%", "100% certo", "a=b $x 'y' \\ \"z\"", "simples" }) {
        SCOPED_TRACE(pasta.toStdString());
        FakePlatform p;
        const QString app = p.temporaria.path() + QLatin1Char('/') + pasta + QLatin1Char('/');
        const QString marca = p.temporaria.path() + QStringLiteral("/rodou");
        GravaArquivo(app + "zelvano-agenda", "#!/bin/sh\npwd > '" + marca.toUtf8() + "'\n");
        QFile::setPermissions(app + "zelvano-agenda", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        CriaAtalhoInicializar(app + "zelvano-agenda", QString(), app, NomeAtalho);

        QProcess processo;
        processo.start(gio, { QStringLiteral("launch"), ArquivoAtalho(p) });
        ASSERT_TRUE(processo.waitForFinished(10000));
        EXPECT_EQ(processo.exitCode(), 0) << processo.readAllStandardError().toStdString();
        for (int i = 0; i < 100 && !QFile::exists(marca); ++i)
            QThread::msleep(50);
        QThread::msleep(50);
        // Started in its own folder.
        EXPECT_EQ(LeArquivo(marca), QFile::encodeName(p.temporaria.path() + QLatin1Char('/') + pasta) + "\n");
    }
}
