// The first alarm of a session: from the call to the moment its sound is heard on the sound
// server, with the sound libraries not yet loaded (this program links none of them; the
// listener is a separate parec process). One iteration: only the first sound is the first.
#include "platform/sound.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <csignal>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using Relogio = std::chrono::steady_clock;
constexpr int Taxa = 44100;

bool GravaWav(const QString &caminho, double segundos)
{
    std::vector<qint16> amostras(static_cast<size_t>(segundos * Taxa));
    for (size_t i = 0; i < amostras.size(); ++i)
        amostras[i] = static_cast<qint16>(12000 * std::sin(2 * M_PI * 880 * double(i) / Taxa));
    const auto dados = static_cast<quint32>(amostras.size() * 2);
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char *>(&v), 4); };
    const auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char *>(&v), 2); };
    wav.append("RIFF");
    u32(36 + dados);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(Taxa);
    u32(Taxa * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(dados);
    wav.append(reinterpret_cast<const char *>(amostras.data()), dados);
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly) && f.write(wav) == wav.size();
}

void PrimeiroSom(benchmark::State &estado)
{
    const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
    if (pulseaudio.isEmpty() || parec.isEmpty()) {
        estado.SkipWithError("needs the pulseaudio and parec programs");
        return;
    }
    QTemporaryDir pasta;
    const QString wav = pasta.filePath(QStringLiteral("AGENDA.WAV"));
    const QString soquete = pasta.filePath(QStringLiteral("pulse.sock"));
    GravaWav(wav, 0.5);
    QProcess servidor;
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("HOME"), pasta.path());
    ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), pasta.path());
    servidor.setProcessEnvironment(ambiente);
    servidor.start(pulseaudio,
        { QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
            QStringLiteral("--disable-shm=true"), QStringLiteral("-L"),
            QStringLiteral("module-null-sink sink_name=nulo"), QStringLiteral("-L"),
            QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + soquete });
    qputenv("PULSE_SERVER", (QStringLiteral("unix:") + soquete).toUtf8());

    // The listener: raw samples of the null sink's monitor through a pipe.
    std::atomic<bool> fluindo { false };
    std::atomic<qint64> ouvido { 0 };
    int tubo[2] = { -1, -1 };
    pid_t ouvinte = -1;
    std::thread leitor;
    for (int tentativa = 0; tentativa < 50 && !fluindo; ++tentativa) {
        QThread::msleep(100);
        if (pipe(tubo) != 0)
            break;
        ouvinte = fork();
        if (ouvinte == 0) {
            dup2(tubo[1], 1);
            close(tubo[0]);
            const QByteArray programa = QFile::encodeName(parec);
            execl(programa.constData(), "parec", "-d", "nulo.monitor", "--raw", "--format=s16le", "--rate=44100",
                "--channels=1", "--latency-msec=5", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(tubo[1]);
        leitor = std::thread([&, fd = tubo[0]] {
            std::vector<qint16> bloco(64);
            ssize_t n;
            while ((n = read(fd, bloco.data(), bloco.size() * 2)) > 0) {
                fluindo = true;
                for (ssize_t i = 0; i < n / 2; ++i)
                    if (std::abs(int(bloco[size_t(i)])) > 3000 && ouvido == 0)
                        ouvido = Relogio::now().time_since_epoch().count();
            }
            close(fd);
        });
        for (int espera = 0; espera < 10 && !fluindo; ++espera)
            QThread::msleep(50);
        if (!fluindo) {
            kill(ouvinte, SIGTERM);
            waitpid(ouvinte, nullptr, 0);
            leitor.join();
        }
    }
    if (!fluindo) {
        estado.SkipWithError("no sound server to listen to");
        return;
    }
    QThread::msleep(200);
    for (auto _ : estado) {
        const auto inicio = Relogio::now();
        const SomTocado r = TocaSomSincrono(wav);
        QThread::msleep(100);
        if (r != SomTocado::Arquivo || ouvido == 0) {
            estado.SkipWithError("the sound was not heard");
            break;
        }
        const double ms = double(ouvido - inicio.time_since_epoch().count()) / 1e6;
        estado.SetIterationTime(ms / 1000);
        estado.counters["ms_ate_ouvir"] = ms;
    }
    kill(ouvinte, SIGTERM);
    waitpid(ouvinte, nullptr, 0);
    leitor.join();
}

} // namespace

BENCHMARK(PrimeiroSom)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
