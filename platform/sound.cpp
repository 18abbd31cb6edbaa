#include "platform/sound.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <canberra.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

qint64 agoraMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Relogio::now().time_since_epoch()).count();
}

// Shared by the thread that waits and the worker that plays. The worker may outlive the wait
// (stuck inside a frozen server), so both hold it.
struct Reproducao
{
    std::atomic<bool> terminou { false };
    // The waiting thread gave up: a server that wakes up later must not sound an alarm the
    // user was already given, nor a bell out of nowhere.
    std::atomic<bool> abandonada { false };
    std::atomic<SomTocado> resultado { SomTocado::Arquivo };
    // Steady-clock milliseconds after which the waiting thread gives up.
    std::atomic<qint64> prazo { 0 };

    // Pushes the deadline out, never in.
    void prolonga(qint64 ate)
    {
        qint64 atual = prazo.load();
        while (atual < ate && !prazo.compare_exchange_weak(atual, ate)) { }
    }
};

constexpr qint64 margemMs = MargemSom.count();

struct FechaSndfile
{
    void operator()(SNDFILE *f) const { sf_close(f); }
};

struct FechaPulse
{
    void operator()(pa_simple *p) const { pa_simple_free(p); }
};

bool tocaArquivo(const QByteArray &caminho, Reproducao &r)
{
    SF_INFO info {};
    std::unique_ptr<SNDFILE, FechaSndfile> som(sf_open(caminho.constData(), SFM_READ, &info));
    if (!som)
        return false;
    if (info.channels <= 0 || info.channels > int(PA_CHANNELS_MAX) || info.samplerate <= 0)
        return false;
    const pa_sample_spec formato { PA_SAMPLE_S16NE, static_cast<uint32_t>(info.samplerate),
        static_cast<uint8_t>(info.channels) };
    if (!pa_sample_spec_valid(&formato))
        return false;
    if (info.frames > 0)
        r.prolonga(agoraMs() + info.frames * 1000 / info.samplerate + margemMs);

    // A tenth of a second per write; the frame count in the header is not trusted (some MP3
    // files state a wrong one), so the file is read until libsndfile has nothing more.
    const sf_count_t quadrosPorBloco = std::max(1, info.samplerate / 10);
    std::vector<short> bloco(static_cast<size_t>(quadrosPorBloco * info.channels));
    sf_count_t lidos = sf_readf_short(som.get(), bloco.data(), quadrosPorBloco);
    if (lidos <= 0)
        return sf_error(som.get()) == SF_ERR_NO_ERROR;

    // A short server buffer keeps the wait for the end of the sound (drain) short.
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(pa_usec_to_bytes(300 * 1000, &formato));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int erro = 0;
    std::unique_ptr<pa_simple, FechaPulse> saida(pa_simple_new(
        nullptr, "Zelvano Agenda", PA_STREAM_PLAYBACK, nullptr, "Alarme", &formato, nullptr, &buffer, &erro));
    if (!saida)
        return false;
    do {
        if (r.abandonada)
            return true;
        const size_t bytes = static_cast<size_t>(lidos * info.channels) * sizeof(short);
        if (pa_simple_write(saida.get(), bloco.data(), bytes, &erro) < 0)
            return false;
        // Writes block at the pace of playback: a server that takes them is alive.
        r.prolonga(agoraMs() + margemMs);
        lidos = sf_readf_short(som.get(), bloco.data(), quadrosPorBloco);
    } while (lidos > 0);
    return pa_simple_drain(saida.get(), &erro) >= 0;
}

struct FimCanberra
{
    std::mutex trava;
    std::condition_variable aviso;
    bool terminou = false;
    int erro = CA_SUCCESS;
};

void canberraTerminou(ca_context *, uint32_t, int erro, void *dados)
{
    auto *fim = static_cast<FimCanberra *>(dados);
    std::lock_guard guarda(fim->trava);
    fim->terminou = true;
    fim->erro = erro;
    fim->aviso.notify_all();
}

// The desktop's default alert sound, played to its end.
bool tocaSomPadrao(Reproducao &r)
{
    r.prolonga(agoraMs() + margemMs);
    ca_context *contexto = nullptr;
    if (ca_context_create(&contexto) < 0)
        return false;
    ca_proplist *propriedades = nullptr;
    ca_proplist_create(&propriedades);
    ca_proplist_sets(propriedades, CA_PROP_EVENT_ID, "bell");
    ca_proplist_sets(propriedades, CA_PROP_EVENT_DESCRIPTION, "Zelvano Agenda");
    FimCanberra fim;
    bool tocou = ca_context_play_full(contexto, 1, propriedades, canberraTerminou, &fim) == CA_SUCCESS;
    ca_proplist_destroy(propriedades);
    if (tocou) {
        std::unique_lock espera(fim.trava);
        fim.aviso.wait_for(espera, MargemSom - std::chrono::milliseconds(500), [&fim] { return fim.terminou; });
        tocou = !fim.terminou || fim.erro == CA_SUCCESS;
    }
    // Cancels a bell still sounding; the callback runs no later than this.
    ca_context_destroy(contexto);
    return tocou;
}

} // namespace

SomTocado tocaSomSincrono(const QString &arquivo)
{
    if (!QFileInfo::exists(arquivo))
        return SomTocado::Silencio;

    auto reproducao = std::make_shared<Reproducao>();
    reproducao->prazo = agoraMs() + margemMs;
    std::thread tocador([reproducao, caminho = QFile::encodeName(arquivo)] {
        SomTocado resultado = SomTocado::Arquivo;
        if (!tocaArquivo(caminho, *reproducao) && !reproducao->abandonada)
            resultado = tocaSomPadrao(*reproducao) ? SomTocado::SomPadrao : SomTocado::Bipe;
        reproducao->resultado = resultado;
        reproducao->terminou = true;
    });

    // Painting and timers go on while the sound plays; clicks and keys wait for its end.
    QEventLoop laco;
    QTimer sonda;
    sonda.setInterval(10);
    QObject::connect(&sonda, &QTimer::timeout, &laco, [&laco, &reproducao] {
        if (reproducao->terminou || agoraMs() > reproducao->prazo)
            laco.quit();
    });
    sonda.start();
    laco.exec(QEventLoop::ExcludeUserInputEvents);

    SomTocado resultado;
    if (reproducao->terminou) {
        tocador.join();
        resultado = reproducao->resultado;
    } else {
        // Stuck in the server: leave it there; it holds its own share of the state.
        reproducao->abandonada = true;
        tocador.detach();
        resultado = SomTocado::TempoEsgotado;
    }
    if (resultado == SomTocado::Bipe || resultado == SomTocado::TempoEsgotado)
        QApplication::beep();
    return resultado;
}
