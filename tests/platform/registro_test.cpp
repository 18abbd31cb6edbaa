#include "platform/linuxplatform.h"
#include "platform/windowregistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(RegistroJanelas, OneHolderPerClassAndBringToFrontReachesIt)
{
    QTemporaryDir runtime;
    const QByteArray antes = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    {
        LinuxPlatform primeira;
        LinuxPlatform segunda;
        EXPECT_FALSE(segunda.windowClassExists("Tfrm_teste"));
        ASSERT_TRUE(primeira.registerWindowClass("Tfrm_teste"));
        EXPECT_FALSE(segunda.registerWindowClass("Tfrm_teste"));
        EXPECT_TRUE(segunda.windowClassExists("Tfrm_teste"));
        EXPECT_FALSE(segunda.windowClassExists("TAppBuilder"));
        // Looking never takes the lock, even for a moment: a copy starting at that moment
        // would see the class held and start as a second full copy.
        QFileSystemWatcher vigia({ pastaRegistroJanelas() });
        int mudancas = 0;
        QObject::connect(&vigia, &QFileSystemWatcher::directoryChanged, [&] { ++mudancas; });
        EXPECT_FALSE(segunda.windowClassExists("TAppBuilder"));
        QElapsedTimer espera;
        espera.start();
        while (espera.elapsed() < 300)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        EXPECT_EQ(mudancas, 0);

        int chamadas = 0;
        primeira.onBringToFront("Tfrm_teste", [&] { ++chamadas; });
        segunda.bringToFront("Tfrm_teste");
        QElapsedTimer relogio;
        relogio.start();
        while (chamadas == 0 && relogio.elapsed() < 3000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(chamadas, 1);
    }
    // Once the holder is gone the class is free again.
    LinuxPlatform terceira;
    EXPECT_TRUE(terceira.registerWindowClass("Tfrm_teste"));
    qputenv("XDG_RUNTIME_DIR", antes);
}

TEST(RegistroJanelas, ALockLeftByACopyThatDiedIsTakenOverAndTheSocketIsTheUsersOnly)
{
    QTemporaryDir runtime;
    const QByteArray antes = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // A copy killed while running leaves its lock file behind.
    const pid_t filho = fork();
    ASSERT_GE(filho, 0);
    if (filho == 0) {
        QLockFile trava(arquivoTravaJanela("Tfrm_teste"));
        _exit(trava.tryLock(0) ? 0 : 3);
    }
    int estado = 0;
    waitpid(filho, &estado, 0);
    ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0);
    ASSERT_TRUE(QFileInfo::exists(arquivoTravaJanela("Tfrm_teste")));
    {
        LinuxPlatform nova;
        EXPECT_FALSE(nova.windowClassExists("Tfrm_teste"));
        EXPECT_TRUE(nova.registerWindowClass("Tfrm_teste"));
        // Neither the folder nor the socket lets another user in.
        for (const QString &caminho : { pastaRegistroJanelas(), soqueteJanela("Tfrm_teste") }) {
            struct stat info
            {
            };
            ASSERT_EQ(stat(QFile::encodeName(caminho).constData(), &info), 0) << caminho.toStdString();
            EXPECT_EQ(info.st_mode & 077, 0u) << caminho.toStdString();
        }
    }
    qputenv("XDG_RUNTIME_DIR", antes);
}
