#include "platform/linuxplatform.h"
#include "platform/windowregistry.h"
#include "support/processofilho.h"
#include "support/variavelambiente.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <future>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(RegistroJanelas, OneHolderPerClassAndBringToFrontReachesIt)
{
    QTemporaryDir runtime;
    VariavelAmbiente ambiente("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
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
        QFileSystemWatcher vigia({ PastaRegistroJanelas() });
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
}

TEST(RegistroJanelas, ALockLeftByACopyThatDiedIsTakenOverAndTheSocketIsTheUsersOnly)
{
    QTemporaryDir runtime;
    VariavelAmbiente ambiente("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    // A copy killed while running leaves its lock file behind.
    const int codigo = CodigoDoFilho([]() -> int {
        QLockFile trava(ArquivoTravaJanela("Tfrm_teste"));
        _exit(trava.tryLock(0) ? 0 : 3); // gone without letting the lock go
    });
    ASSERT_EQ(codigo, 0);
    ASSERT_TRUE(QFileInfo::exists(ArquivoTravaJanela("Tfrm_teste")));
    {
        LinuxPlatform nova;
        EXPECT_FALSE(nova.windowClassExists("Tfrm_teste"));
        EXPECT_TRUE(nova.registerWindowClass("Tfrm_teste"));
        // Neither the folder nor the socket lets another user in.
        for (const QString &caminho : { PastaRegistroJanelas(), SoqueteJanela("Tfrm_teste") }) {
            struct stat info
            {
            };
            ASSERT_EQ(stat(QFile::encodeName(caminho).constData(), &info), 0) << caminho.toStdString();
            EXPECT_EQ(info.st_mode & 077, 0u) << caminho.toStdString();
        }
        // Opened to everyone by hand, the socket still hears only its own user. Only root can
        // become another user to try.
        if (getuid() == 0) {
            int pedidos = 0;
            nova.onBringToFront("Tfrm_teste", [&] { ++pedidos; });
            // Both paths taken before the runtime folder is opened: open, it is no longer used.
            const QString pasta = PastaRegistroJanelas();
            const QString soquete = SoqueteJanela("Tfrm_teste");
            chmod(QFile::encodeName(runtime.path()).constData(), 0755);
            chmod(QFile::encodeName(pasta).constData(), 0755);
            chmod(QFile::encodeName(soquete).constData(), 0666);
            const int enviado = CodigoDoFilho([&]() -> int {
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    return 2;
                return EnviaPedidoJanela(soquete, "raise") ? 0 : 1;
            });
            EXPECT_EQ(enviado, 0);
            QElapsedTimer relogio;
            relogio.start();
            while (relogio.elapsed() < 500)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            EXPECT_EQ(pedidos, 0);
        }
    }
}

namespace {

mode_t Modo(const QString &caminho)
{
    struct stat info
    {
    };
    return lstat(QFile::encodeName(caminho).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Tells what the platform said instead of showing a box, and ends there as the user's OK does.
class PlataformaMuda : public LinuxPlatform
{
public:
    explicit PlataformaMuda(int saida)
        : m_saida(saida)
    {
    }
    // The box is the end of the refused copy; ending here spares the forked test the
    // sanitizer's exit check of the parent's threads, which the child does not have.
    Resposta messageBox(const QString &texto, const QString &, Botoes) override
    {
        const QByteArray bytes = texto.toUtf8();
        [[maybe_unused]] const auto n = write(m_saida, bytes.constData(), size_t(bytes.size()));
        _exit(0);
    }

private:
    int m_saida;
};

} // namespace

TEST(RegistroJanelas, OnlyAFolderOfTheUsersOwnIsUsedAndAnyOtherIsRefusedByName)
{
    const QString eu = QStringLiteral("zelvano-") + QString::number(getuid());
    const struct
    {
        const char *caso;
        std::function<void(const QString &pasta, const QString &alvo)> prepara;
        const char *motivo; // nullptr: accepted
        mode_t modoFinal; // of the folder, or of the link's target
    } casos[] = {
        { "missing", [](const QString &, const QString &) {}, nullptr, 0700 },
        { "ours, open to others",
            [](const QString &pasta, const QString &) { mkdir(QFile::encodeName(pasta).constData(), 0755); }, nullptr,
            0700 },
        { "ours, open to its group",
            [](const QString &pasta, const QString &) { mkdir(QFile::encodeName(pasta).constData(), 0770); }, nullptr,
            0700 },
        { "a plain file",
            [](const QString &pasta, const QString &) {
                QFile f(pasta);
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                chmod(QFile::encodeName(pasta).constData(), 0644);
            },
            "não é uma pasta", 0644 },
        { "a link to another folder",
            [](const QString &pasta, const QString &alvo) {
                mkdir(QFile::encodeName(alvo).constData(), 0755);
                symlink(QFile::encodeName(alvo).constData(), QFile::encodeName(pasta).constData());
            },
            "link simbólico", 0755 },
        { "another user's, open to all",
            [](const QString &pasta, const QString &) {
                const QByteArray nome = QFile::encodeName(pasta);
                mkdir(nome.constData(), 0777);
                chmod(nome.constData(), 0777);
                // Only root can; as another user the case is left out below.
                [[maybe_unused]] const int r = chown(nome.constData(), 65534, 65534);
            },
            "outro usuário", 0777 },
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.caso);
        QTemporaryDir runtime;
        VariavelAmbiente ambiente("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const QString pasta = runtime.filePath(eu);
        const QString alvo = runtime.filePath(QStringLiteral("alvo"));
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        caso.prepara(pasta, alvo);
        if (getuid() != 0 && QByteArray(caso.caso).startsWith("another"))
            continue;
        QString erro;
        const QString usada = PastaRegistroJanelas(&erro);
        if (caso.motivo) {
            EXPECT_TRUE(usada.isEmpty());
            EXPECT_TRUE(erro.contains(pasta)) << erro.toStdString();
            EXPECT_TRUE(erro.contains(QString::fromUtf8(caso.motivo))) << erro.toStdString();
            EXPECT_TRUE(ArquivoTravaJanela("Tfrm_teste").isEmpty());
        } else {
            EXPECT_EQ(usada, pasta);
            EXPECT_TRUE(erro.isEmpty());
        }
        const bool link = QFileInfo(pasta).isSymLink();
        EXPECT_EQ(Modo(link ? alvo : pasta) & 0777, caso.modoFinal);
    }
}

TEST(RegistroJanelas, WithoutARuntimeFolderTheRegistryIsInTheUsersCache)
{
    QTemporaryDir casa;
    const QString cache = casa.filePath(QStringLiteral("cache"));
    VariavelAmbiente variavel("XDG_CACHE_HOME", QFile::encodeName(cache));
    // A runtime folder that is not the user's own alone counts as none.
    const QString aberta = casa.filePath(QStringLiteral("aberta"));
    mkdir(QFile::encodeName(aberta).constData(), 0700);
    chmod(QFile::encodeName(aberta).constData(), 0777); // no sticky bit: our folder could be moved
    const QString alheia = casa.filePath(QStringLiteral("alheia"));
    mkdir(QFile::encodeName(alheia).constData(), 0700);
    [[maybe_unused]] const int r = chown(QFile::encodeName(alheia).constData(), 65534, 65534); // as root only
    const QString link = casa.filePath(QStringLiteral("link"));
    symlink(QFile::encodeName(casa.path()).constData(), QFile::encodeName(link).constData());
    const QString longa = casa.filePath(QString(100, QLatin1Char('r'))); // no room for the socket
    mkdir(QFile::encodeName(longa).constData(), 0700);
    for (const QString &execucao : { QString(), aberta, alheia, link, longa }) {
        if (execucao == alheia && getuid() != 0)
            continue;
        SCOPED_TRACE(execucao.toStdString());
        VariavelAmbiente runtime("XDG_RUNTIME_DIR", QFile::encodeName(execucao));
        EXPECT_EQ(PastaRegistroJanelas(), cache + QStringLiteral("/zelvano-") + QString::number(getuid()));
        EXPECT_EQ(Modo(PastaRegistroJanelas()), mode_t(0700));
    }
}

// A registry that cannot be used is told to the user by name and the program ends; it is never
// taken for a copy already running.
TEST(RegistroJanelas, ABrokenRegistryEndsTheProgramWithItsOwnMessage)
{
    const struct
    {
        const char *caso;
        std::function<void(const QString &runtime)> prepara;
        const char *esperado;
    } casos[] = {
        { "the folder is a link",
            [](const QString &runtime) {
                mkdir(QFile::encodeName(runtime + "/alvo").constData(), 0700);
                symlink("alvo", QFile::encodeName(runtime + "/zelvano-" + QString::number(getuid())).constData());
            },
            "link simbólico" },
        { "the lock cannot be made",
            [](const QString &runtime) {
                const QString pasta = runtime + "/zelvano-" + QString::number(getuid());
                mkdir(QFile::encodeName(pasta).constData(), 0700);
                mkdir(QFile::encodeName(pasta + "/Tfrm_teste.lock").constData(), 0700);
            },
            "arquivo de trava" },
        { "no path is short enough for the socket",
            [](const QString &runtime) {
                for (const char *variavel : { "XDG_RUNTIME_DIR", "XDG_CACHE_HOME" }) {
                    const QString longa = runtime + QLatin1Char('/') + QString(90, QLatin1Char(variavel[4]));
                    mkdir(QFile::encodeName(longa).constData(), 0700);
                    qputenv(variavel, QFile::encodeName(longa));
                }
            },
            "longo demais" },
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.caso);
        QTemporaryDir runtime;
        VariavelAmbiente ambiente("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        VariavelAmbiente cache("XDG_CACHE_HOME", QFile::encodeName(runtime.filePath(QStringLiteral("cache"))));
        caso.prepara(runtime.path());
        int tubo[2];
        ASSERT_EQ(pipe(tubo), 0);
        const int codigo = CodigoDoFilho([&] {
            close(tubo[0]);
            PlataformaMuda plataforma(tubo[1]);
            // Returning at all (true or "already open") is the fault.
            return plataforma.registerWindowClass("Tfrm_teste") ? 4 : 5;
        });
        close(tubo[1]);
        // The message is short enough to wait in the pipe until the child has ended.
        QByteArray dito;
        char bloco[512];
        for (ssize_t n; (n = read(tubo[0], bloco, sizeof bloco)) > 0;)
            dito.append(bloco, n);
        close(tubo[0]);
        EXPECT_EQ(codigo, 0);
        EXPECT_TRUE(QString::fromUtf8(dito).contains(QString::fromUtf8(caso.esperado))) << dito.toStdString();
        EXPECT_FALSE(dito.contains("já está aberto"));
    }
}

namespace {

// The descriptors this process has open, by trying each number below the limit.
int DescritoresAbertos()
{
    rlimit limite {};
    getrlimit(RLIMIT_NOFILE, &limite);
    int abertos = 0;
    for (int fd = 0; fd < int(std::min<rlim_t>(limite.rlim_cur, 4096)); ++fd)
        abertos += fcntl(fd, F_GETFD) != -1;
    return abertos;
}

// A moment of the event loop, without spinning while nothing happens.
void Espera()
{
    QEventLoop espera;
    QTimer::singleShot(20, &espera, &QEventLoop::quit);
    espera.exec();
}

double SegundosDeCpu()
{
    rusage uso {};
    getrusage(RUSAGE_SELF, &uso);
    return double(uso.ru_utime.tv_sec + uso.ru_stime.tv_sec)
        + double(uso.ru_utime.tv_usec + uso.ru_stime.tv_usec) / 1e6;
}

// A client gone wrong: for two seconds it opens connections as fast as they are taken and
// never writes. Ends with 0 when the program closed some of them on its own.
int Inunda(const QString &caminho)
{
    sockaddr_un endereco {};
    endereco.sun_family = AF_UNIX;
    const QByteArray nome = QFile::encodeName(caminho);
    std::memcpy(endereco.sun_path, nome.constData(), size_t(nome.size()));
    std::vector<int> abertas;
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < 2000 && abertas.size() < 400) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (connect(fd, reinterpret_cast<const sockaddr *>(&endereco), sizeof endereco) == 0) {
            abertas.push_back(fd);
        } else {
            close(fd);
            usleep(2000);
        }
    }
    int fechadas = 0;
    char c;
    for (int fd : abertas)
        fechadas += recv(fd, &c, 1, MSG_DONTWAIT) == 0;
    return fechadas > 0 ? 0 : 1;
}

} // namespace

TEST(RegistroJanelas, AFloodOfIdleConnectionsNeitherSpinsNorKeepsTheNextRequestOut)
{
    QTemporaryDir pasta;
    const QString caminho = pasta.filePath(QStringLiteral("Tfrm_teste.sock"));
    int pedidos = 0;
    const auto ouvinte = OuvinteJanela::Escuta(caminho, [&](const QByteArray &) { ++pedidos; });
    ASSERT_TRUE(ouvinte);
    // Sent from another thread, as another copy would send it: the listener, on this one, goes
    // on accepting meanwhile (a connect waits while the queue is full of the flood's leftovers).
    const auto ouvido = [&](int quantos) {
        auto enviado = std::async(std::launch::async, [&] { return EnviaPedidoJanela(caminho, "raise"); });
        QElapsedTimer relogio;
        relogio.start();
        while (pedidos < quantos && relogio.elapsed() < 5000)
            Espera();
        return enviado.get() && pedidos == quantos;
    };
    // A request before the flood is heard too. (It also has the undefined-behaviour sanitizer
    // check the listener's types while descriptors are free: the check needs two of its own.)
    ASSERT_TRUE(ouvido(1));
    rlimit antes {};
    getrlimit(RLIMIT_NOFILE, &antes);
    // Out of descriptors after three connections (a failed accept), then with room for many.
    for (const int folga : { 3, 200 }) {
        SCOPED_TRACE(folga);
        const int base = DescritoresAbertos();
        const pid_t filho = fork();
        ASSERT_GE(filho, 0);
        if (filho == 0)
            _exit(Inunda(caminho));
        // New descriptors take the lowest free numbers: the limit leaves exactly `folga` of them.
        int limite = 0;
        for (int livres = 0; livres < folga; ++limite)
            livres += fcntl(limite, F_GETFD) == -1;
        const rlimit apertado { rlim_t(limite), antes.rlim_max };
        setrlimit(RLIMIT_NOFILE, &apertado);
        const double cpuAntes = SegundosDeCpu();
        int estado = 0;
        int mantidos = 0;
        QElapsedTimer relogio;
        relogio.start();
        while (waitpid(filho, &estado, WNOHANG) == 0 && relogio.elapsed() < 10000) {
            Espera();
            mantidos = std::max(mantidos, DescritoresAbertos() - base);
        }
        const double cpu = SegundosDeCpu() - cpuAntes;
        setrlimit(RLIMIT_NOFILE, &antes);
        ASSERT_TRUE(WIFEXITED(estado));
        EXPECT_EQ(WEXITSTATUS(estado), 0) << "no idle connection was closed";
        // About two seconds of flood: spinning would take all of them.
        EXPECT_LT(cpu, 0.4);
        EXPECT_LE(mantidos, 16);
    }
    // The flood is over: a copy asking for the window is heard.
    EXPECT_TRUE(ouvido(2));
}
