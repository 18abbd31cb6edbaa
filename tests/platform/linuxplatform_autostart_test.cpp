#include "platform/linuxplatform.h"
#include "support/variavelambiente.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(PastaAutostart, FollowsXdgConfigHomeOnlyWhenItIsAnAbsolutePath)
{
    const QString padrao = QDir::homePath() + QStringLiteral("/.config/autostart/");
    struct Caso
    {
        const char *valor;
        QString pasta;
    } casos[] = {
        { "/tmp/conf", QStringLiteral("/tmp/conf/autostart/") },
        { "", padrao },
        { "conf", padrao },
        { "./conf", padrao },
    };
    LinuxPlatform plataforma;
    for (const Caso &c : casos) {
        VariavelAmbiente xdg("XDG_CONFIG_HOME", c.valor);
        EXPECT_EQ(plataforma.autostartFolder(), c.pasta) << c.valor;
    }
}
