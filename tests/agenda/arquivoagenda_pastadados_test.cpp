#include "agenda/arquivoagenda.h"
#include "support/fakeplatform.h"
#include "support/files.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

TEST(PreparaPastaDados, APerUserFolderIsCreatedPrivateAndTakesTheIndexAndMessages)
{
    FakePlatform fake;
    fake.pastaDados = fake.temporaria.path() + QStringLiteral("/home/.local/share/zelvano-agenda/");
    ASSERT_TRUE(PreparaPastaDados());
    // Read, write and search for the owner; nothing for the group or others.
    const auto dono = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const auto outros = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther
        | QFile::ExeOther;
    EXPECT_EQ(QFileInfo(fake.pastaDados).permissions() & (dono | outros), dono);
    EXPECT_TRUE(QDir(fake.pastaDados).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    CriaPastaMensagens();
    ASSERT_TRUE(GravaIndice({ "|2024|05|07|09:05|0|a.txt|" }));
    ASSERT_TRUE(GravaMensagem("a.txt", QStringLiteral("oi")));
    EXPECT_EQ(LeArquivo(fake.pastaDados + QStringLiteral("AGENDA.AGD")), "|2024|05|07|09:05|0|a.txt|\r\n");
    EXPECT_EQ(LeArquivo(fake.pastaDados + QStringLiteral("CND/a.txt")), "oi");
    EXPECT_TRUE(QDir(fake.pasta).isEmpty());
}

TEST(PreparaPastaDados, AFolderThatCanBeNeitherUsedNorCreatedIsRefused)
{
    FakePlatform fake;
    // A file where a folder should be: refused even for root, who ignores permissions.
    GravaArquivo(fake.temporaria.path() + QStringLiteral("/arquivo"), "x");
    for (const QString &pasta : { QStringLiteral("/arquivo/zelvano-agenda/"), QStringLiteral("/arquivo/") }) {
        fake.pastaDados = fake.temporaria.path() + pasta;
        EXPECT_FALSE(PreparaPastaDados()) << pasta.toStdString();
    }
}

TEST(SomAlarme, DataFolderWavThenMp3ThenTheInstalledSoundElseSilence)
{
    FakePlatform fake;
    fake.pastaDados = fake.temporaria.path() + QStringLiteral("/dados/");
    fake.pastaInstalada = fake.temporaria.path() + QStringLiteral("/share/");
    QDir().mkpath(fake.pastaDados);
    QDir().mkpath(fake.pastaInstalada);
    const QString wav = fake.pastaDados + QStringLiteral("AGENDA.WAV");
    const QString mp3 = fake.pastaDados + QStringLiteral("AGENDA.MP3");
    const QString instalado = fake.pastaInstalada + QStringLiteral("AGENDA.WAV");

    EXPECT_EQ(SomAlarme(), QString());
    GravaArquivo(fake.pasta + QStringLiteral("AGENDA.WAV"), "x"); // beside the program: not looked at
    EXPECT_EQ(SomAlarme(), QString());
    GravaArquivo(instalado, "x");
    EXPECT_EQ(SomAlarme(), instalado);
    GravaArquivo(mp3, "x");
    EXPECT_EQ(SomAlarme(), mp3);
    GravaArquivo(wav, "x");
    EXPECT_EQ(SomAlarme(), wav);
    fake.pastaInstalada.clear();
    QFile::remove(wav);
    QFile::remove(mp3);
    EXPECT_EQ(SomAlarme(), QString());
}
