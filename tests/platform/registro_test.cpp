#include "platform/linuxplatform.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
