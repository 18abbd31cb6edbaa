#include "platform/sound.h"
#include "support/variavelambiente.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <pulse/simple.h>
#include <sndfile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr int Taxa = 44100;

// A tone of the given length, written by libsndfile in the given container.
bool GravaTom(const QString &caminho, int formato, double segundos)
{
    SF_INFO info {};
    info.samplerate = Taxa;
    info.channels = 1;
    info.format = formato;
    SNDFILE *f = sf_open(QFile::encodeName(caminho).constData(), SFM_WRITE, &info);
    if (!f)
        return false;
    std::vector<short> amostras(static_cast<size_t>(segundos * Taxa));
    for (size_t i = 0; i < amostras.size(); ++i)
        amostras[i] = static_cast<short>(12000 * std::sin(2 * M_PI * 880 * double(i) / Taxa));
    const bool ok = sf_writef_short(f, amostras.data(), sf_count_t(amostras.size())) == sf_count_t(amostras.size());
    sf_close(f);
    return ok;
}

// Points libpulse at a server of the test's own for the lifetime of the result.
VariavelAmbiente ServidorSom(const QString &endereco)
{
    return VariavelAmbiente("PULSE_SERVER", endereco.toUtf8());
}

// A PulseAudio daemon of the test's own with one null sink, in its own runtime folder.
class PulseAudioNulo
{
public:
    PulseAudioNulo()
    {
        const QString programa = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (programa.isEmpty()) {
            motivo = "the pulseaudio program is not installed";
            return;
        }
        soquete = pasta.path() + QStringLiteral("/pulse.sock");
        QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
        ambiente.insert(QStringLiteral("HOME"), pasta.path());
        ambiente.insert(QStringLiteral("XDG_RUNTIME_DIR"), pasta.path());
        ambiente.insert(QStringLiteral("XDG_CONFIG_HOME"), pasta.path());
        processo.setProcessEnvironment(ambiente);
        processo.setProcessChannelMode(QProcess::MergedChannels);
        processo.start(programa,
            { QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                QStringLiteral("--disable-shm=true"), QStringLiteral("-L"),
                QStringLiteral("module-null-sink sink_name=nulo"), QStringLiteral("-L"),
                QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + soquete });
        if (!processo.waitForStarted(5000)) {
            motivo = "pulseaudio could not be started";
            return;
        }
        if (Atende()) {
            // libpulse is pointed at it for as long as it runs.
            servidor.emplace("PULSE_SERVER", (QStringLiteral("unix:") + soquete).toUtf8());
            return;
        }
        processo.kill();
        processo.waitForFinished(2000);
        motivo = "pulseaudio did not start a server: " + processo.readAll().right(400).toStdString();
    }
    ~PulseAudioNulo()
    {
        if (processo.state() == QProcess::Running) {
            processo.terminate();
            if (!processo.waitForFinished(3000))
                processo.kill();
            processo.waitForFinished(2000);
        }
    }

    std::string motivo;
    QString soquete;
    QTemporaryDir pasta;
    QProcess processo;
    std::optional<VariavelAmbiente> servidor;

private:
    // Waits until the server takes a recording from its null sink, or the daemon has died.
    bool Atende()
    {
        const VariavelAmbiente enquantoEspera = ServidorSom(QStringLiteral("unix:") + soquete);
        const pa_sample_spec formato { PA_SAMPLE_S16NE, Taxa, 1 };
        for (int tentativa = 0; tentativa < 100; ++tentativa) {
            if (pa_simple *sonda = pa_simple_new(
                    nullptr, "teste", PA_STREAM_RECORD, "nulo.monitor", "sonda", &formato, nullptr, nullptr, nullptr)) {
                pa_simple_free(sonda);
                return true;
            }
            if (processo.state() != QProcess::Running)
                return false;
            QThread::msleep(50);
        }
        return false;
    }
};

// Listens to the null sink's monitor and keeps the loudest sample heard.
class Escuta
{
public:
    Escuta()
    {
        const pa_sample_spec formato { PA_SAMPLE_S16NE, Taxa, 1 };
        // Small fragments, so that reading follows the sound closely.
        pa_buffer_attr buffer;
        buffer.maxlength = static_cast<uint32_t>(-1);
        buffer.fragsize = static_cast<uint32_t>(pa_usec_to_bytes(20 * 1000, &formato));
        m_entrada = pa_simple_new(
            nullptr, "teste", PA_STREAM_RECORD, "nulo.monitor", "escuta", &formato, nullptr, &buffer, nullptr);
        if (m_entrada)
            m_linha = std::thread([this] {
                std::vector<short> bloco(Taxa / 50);
                while (!m_parar && pa_simple_read(m_entrada, bloco.data(), bloco.size() * sizeof(short), nullptr) >= 0)
                    for (short s : bloco)
                        m_pico = std::max(m_pico.load(), std::abs(int(s)));
            });
    }
    ~Escuta()
    {
        m_parar = true;
        if (m_linha.joinable())
            m_linha.join();
        if (m_entrada)
            pa_simple_free(m_entrada);
    }
    int Pico() const { return m_pico; }
    bool Ouvindo() const { return m_entrada != nullptr; }

private:
    pa_simple *m_entrada = nullptr;
    std::thread m_linha;
    std::atomic<bool> m_parar { false };
    std::atomic<int> m_pico { 0 };
};

// Each test's own folder, with a short tone in it as the alarm sound.
class SomSincrono : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(GravaTom(m_wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 0.3)); }

    QTemporaryDir m_pasta;
    const QString m_wav = m_pasta.filePath(QStringLiteral("AGENDA.WAV"));
};

} // namespace

TEST_F(SomSincrono, PlaysWavAndMp3ToTheEndThroughTheSoundServer)
{
    PulseAudioNulo pulse;
    if (!pulse.motivo.empty())
        GTEST_SKIP() << "no sound server for this test: " << pulse.motivo;

    const struct
    {
        const char *nome;
        int formato;
    } casos[] = { { "AGENDA.WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16 },
        { "AGENDA.MP3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III } };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.nome);
        const QString arquivo = m_pasta.filePath(QString::fromLatin1(caso.nome));
        ASSERT_TRUE(GravaTom(arquivo, caso.formato, 0.8));
        Escuta escuta;
        ASSERT_TRUE(escuta.Ouvindo());
        QElapsedTimer relogio;
        relogio.start();
        EXPECT_EQ(TocaSomSincrono(arquivo), SomTocado::Arquivo);
        const qint64 ms = relogio.elapsed();
        // Synchronous: the call returns only once the tone has been heard to its end.
        EXPECT_GE(ms, 700);
        EXPECT_LT(ms, 800 + MargemSom.count());
        QThread::msleep(100);
        EXPECT_GT(escuta.Pico(), 6000);
    }
}

TEST_F(SomSincrono, WithoutASoundServerEveryFileGivesTheDefaultSoundAndAMissingOneSilence)
{
    const VariavelAmbiente servidor
        = ServidorSom(QStringLiteral("unix:") + m_pasta.filePath(QStringLiteral("ninguem.sock")));
    const QString corrompido = m_pasta.filePath(QStringLiteral("corrompido.wav"));
    QFile f(corrompido);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    static const char corrompidos[] = "RIFF\x10\0\0\0WAVEfmt garbage that is no sound at all";
    f.write(corrompidos, sizeof corrompidos - 1);
    f.close();
    const QString texto = m_pasta.filePath(QStringLiteral("AGENDA.MP3"));
    QFile t(texto);
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("Lembrete: isto não é um som\r\n");
    t.close();

    for (const QString &arquivo : { m_wav, corrompido, texto }) {
        SCOPED_TRACE(arquivo.toStdString());
        QElapsedTimer relogio;
        relogio.start();
        const SomTocado r = TocaSomSincrono(arquivo);
        EXPECT_TRUE(r == SomTocado::SomPadrao || r == SomTocado::Bipe) << int(r);
        EXPECT_LT(relogio.elapsed(), MargemSom.count() + 1000);
    }
    EXPECT_EQ(TocaSomSincrono(m_pasta.filePath(QStringLiteral("nada.wav"))), SomTocado::Silencio);
}

// A server that takes the connection and never answers, as a hung one does.
TEST_F(SomSincrono, FrozenServerEndsTheWaitAndTimersKeepRunningMeanwhile)
{
    QLocalServer mudo;
    const QString soquete = m_pasta.filePath(QStringLiteral("mudo.sock"));
    ASSERT_TRUE(mudo.listen(soquete));
    const VariavelAmbiente servidor = ServidorSom(QStringLiteral("unix:") + soquete);

    int voltas = 0;
    QTimer pintura;
    QObject::connect(&pintura, &QTimer::timeout, [&voltas] { ++voltas; });
    pintura.start(50);

    QElapsedTimer relogio;
    relogio.start();
    EXPECT_EQ(TocaSomSincrono(m_wav), SomTocado::TempoEsgotado);
    EXPECT_LT(relogio.elapsed(), 300 + MargemSom.count() + 1000);
    EXPECT_GT(voltas, 10);
}

// The waiting ended while the server was frozen; when it thaws, the alarm is not played late.
TEST_F(SomSincrono, AServerThatThawsAfterTheWaitEndedPlaysNothingLate)
{
    PulseAudioNulo pulse;
    if (!pulse.motivo.empty())
        GTEST_SKIP() << "no sound server for this test: " << pulse.motivo;
    Escuta escuta;
    ASSERT_TRUE(escuta.Ouvindo());

    const auto pid = static_cast<pid_t>(pulse.processo.processId());
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    EXPECT_EQ(TocaSomSincrono(m_wav), SomTocado::TempoEsgotado);
    ASSERT_EQ(kill(pid, SIGCONT), 0);
    QThread::msleep(1500);
    EXPECT_LT(escuta.Pico(), 1000);
}

// The sound libraries are opened at the first sound; one missing on the machine costs only
// what it plays, never the alarm itself.
TEST_F(SomSincrono, AMissingSoundLibraryGivesTheFallbacksAndNeverACrash)
{
    PulseAudioNulo pulse;
    if (!pulse.motivo.empty())
        GTEST_SKIP() << "no sound server for this test: " << pulse.motivo;

    const QString ausente = QStringLiteral("libzelvano-ausente.so.0");
    // Whether the bell itself sounds depends on the desktop's sound theme: either fallback is
    // right where the bell is possible.
    const auto padraoOuBipe = { SomTocado::SomPadrao, SomTocado::Bipe };
    const auto bipe = { SomTocado::Bipe };
    const auto arquivo = { SomTocado::Arquivo };
    const struct
    {
        const char *caso;
        NomesBibliotecasSom nomes;
        std::initializer_list<SomTocado> esperados;
    } casos[] = {
        { "no libsndfile", { .sndfile = ausente }, padraoOuBipe },
        { "no PulseAudio simple API", { .pulseSimple = ausente }, padraoOuBipe },
        { "no libcanberra either", { .sndfile = ausente, .canberra = ausente }, bipe },
        { "all there", {}, arquivo },
    };
    for (const auto &caso : casos) {
        SCOPED_TRACE(caso.caso);
        UsaBibliotecasSom(caso.nomes);
        const SomTocado r = TocaSomSincrono(m_wav);
        EXPECT_NE(std::find(caso.esperados.begin(), caso.esperados.end(), r), caso.esperados.end()) << int(r);
        EXPECT_EQ(TocaSomSincrono(m_pasta.filePath(QStringLiteral("nada.wav"))), SomTocado::Silencio);
    }
}
