#include "platform/sound.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QTimer>

// Only the types and constants: the libraries themselves are opened on the first sound.
#include <canberra.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Relogio = std::chrono::steady_clock;

qint64 AgoraMs()
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
    void Prolonga(qint64 ate)
    {
        qint64 atual = prazo.load();
        while (atual < ate && !prazo.compare_exchange_weak(atual, ate)) { }
    }
};

constexpr qint64 margemMs = MargemSom.count();

// The sound stack (libsndfile with its codecs, PulseAudio, libcanberra) is some twenty shared
// libraries, all loaded and relocated at start when linked, for a sound that plays minutes or
// hours later; so it is opened with the first sound and stays loaded. A library missing on
// this machine leaves its part out.
struct BibliotecaSom
{
    // Reading and playing a file.
    decltype(&::sf_open) sf_open = nullptr;
    decltype(&::sf_close) sf_close = nullptr;
    decltype(&::sf_readf_short) sf_readf_short = nullptr;
    decltype(&::sf_error) sf_error = nullptr;
    decltype(&::pa_simple_new) pa_simple_new = nullptr;
    decltype(&::pa_simple_free) pa_simple_free = nullptr;
    decltype(&::pa_simple_write) pa_simple_write = nullptr;
    decltype(&::pa_simple_drain) pa_simple_drain = nullptr;
    decltype(&::pa_sample_spec_valid) pa_sample_spec_valid = nullptr;
    decltype(&::pa_usec_to_bytes) pa_usec_to_bytes = nullptr;
    bool arquivo = false;
    // The desktop's default alert sound.
    decltype(&::ca_context_create) ca_context_create = nullptr;
    decltype(&::ca_context_cancel) ca_context_cancel = nullptr;
    decltype(&::ca_context_play_full) ca_context_play_full = nullptr;
    decltype(&::ca_proplist_create) ca_proplist_create = nullptr;
    decltype(&::ca_proplist_sets) ca_proplist_sets = nullptr;
    decltype(&::ca_proplist_destroy) ca_proplist_destroy = nullptr;
    bool padrao = false;
    // Reused, never destroyed: destroying one unloads its sound driver, which crashed a later
    // bell on a thread the driver had left behind. One that failed (its server gone, say) is
    // set aside and a new one made; the last is the current one.
    mutable QMutex travaContextos;
    mutable std::vector<ca_context *> contextos;

    ca_context *contexto(bool novo) const
    {
        QMutexLocker guarda(&travaContextos);
        if (novo || contextos.empty()) {
            ca_context *c = nullptr;
            if (ca_context_create(&c) < 0)
                return nullptr;
            contextos.push_back(c);
        }
        return contextos.back();
    }
};

// Never closed: a library's threads and callbacks may outlive the sound that opened it.
void *AbreBiblioteca(const QString &nome)
{
    return dlopen(QFile::encodeName(nome).constData(), RTLD_NOW | RTLD_LOCAL);
}

template <typename F> bool LigaSimbolo(void *biblioteca, const char *simbolo, F &funcao)
{
    funcao = biblioteca ? reinterpret_cast<F>(dlsym(biblioteca, simbolo)) : nullptr;
    return funcao != nullptr;
}

std::shared_ptr<const BibliotecaSom> CarregaBibliotecas(const NomesBibliotecasSom &nomes)
{
    auto b = std::make_shared<BibliotecaSom>();
    void *sndfile = AbreBiblioteca(nomes.sndfile);
    void *pulseSimple = AbreBiblioteca(nomes.pulseSimple);
    void *pulse = AbreBiblioteca(nomes.pulse);
    b->arquivo = LigaSimbolo(sndfile, "sf_open", b->sf_open) & LigaSimbolo(sndfile, "sf_close", b->sf_close)
        & LigaSimbolo(sndfile, "sf_readf_short", b->sf_readf_short) & LigaSimbolo(sndfile, "sf_error", b->sf_error)
        & LigaSimbolo(pulseSimple, "pa_simple_new", b->pa_simple_new)
        & LigaSimbolo(pulseSimple, "pa_simple_free", b->pa_simple_free)
        & LigaSimbolo(pulseSimple, "pa_simple_write", b->pa_simple_write)
        & LigaSimbolo(pulseSimple, "pa_simple_drain", b->pa_simple_drain)
        & LigaSimbolo(pulse, "pa_sample_spec_valid", b->pa_sample_spec_valid)
        & LigaSimbolo(pulse, "pa_usec_to_bytes", b->pa_usec_to_bytes);
    void *canberra = AbreBiblioteca(nomes.canberra);
    b->padrao = LigaSimbolo(canberra, "ca_context_create", b->ca_context_create)
        & LigaSimbolo(canberra, "ca_context_cancel", b->ca_context_cancel)
        & LigaSimbolo(canberra, "ca_context_play_full", b->ca_context_play_full)
        & LigaSimbolo(canberra, "ca_proplist_create", b->ca_proplist_create)
        & LigaSimbolo(canberra, "ca_proplist_sets", b->ca_proplist_sets)
        & LigaSimbolo(canberra, "ca_proplist_destroy", b->ca_proplist_destroy);
    return b;
}

struct EstadoBibliotecas
{
    QMutex trava;
    NomesBibliotecasSom nomes;
    std::shared_ptr<const BibliotecaSom> carregada;
    // Every set ever loaded, kept with its sound context to the end of the run.
    std::vector<std::shared_ptr<const BibliotecaSom>> todas;
};

EstadoBibliotecas &EstadoDasBibliotecas()
{
    // Never destroyed: a worker stuck in a frozen server may still use it at exit.
    static EstadoBibliotecas &estado = *new EstadoBibliotecas;
    return estado;
}

// Called on the worker thread, so the first alarm's window paints while the libraries load.
std::shared_ptr<const BibliotecaSom> BibliotecaCarregada()
{
    EstadoBibliotecas &estado = EstadoDasBibliotecas();
    QMutexLocker guarda(&estado.trava);
    if (!estado.carregada) {
        estado.carregada = CarregaBibliotecas(estado.nomes);
        estado.todas.push_back(estado.carregada);
    }
    return estado.carregada;
}

bool TocaArquivo(const BibliotecaSom &api, const QByteArray &caminho, Reproducao &r)
{
    if (!api.arquivo)
        return false;
    const auto fechaSndfile = [&api](SNDFILE *f) { api.sf_close(f); };
    const auto fechaPulse = [&api](pa_simple *p) { api.pa_simple_free(p); };
    SF_INFO info {};
    std::unique_ptr<SNDFILE, decltype(fechaSndfile)> som(
        api.sf_open(caminho.constData(), SFM_READ, &info), fechaSndfile);
    if (!som)
        return false;
    if (info.channels <= 0 || info.channels > int(PA_CHANNELS_MAX) || info.samplerate <= 0)
        return false;
    const pa_sample_spec formato { PA_SAMPLE_S16NE, static_cast<uint32_t>(info.samplerate),
        static_cast<uint8_t>(info.channels) };
    if (!api.pa_sample_spec_valid(&formato))
        return false;
    if (info.frames > 0)
        r.Prolonga(AgoraMs() + info.frames * 1000 / info.samplerate + margemMs);

    // A tenth of a second per write; the frame count in the header is not trusted (some MP3
    // files state a wrong one), so the file is read until libsndfile has nothing more.
    const sf_count_t quadrosPorBloco = std::max(1, info.samplerate / 10);
    std::vector<short> bloco(static_cast<size_t>(quadrosPorBloco * info.channels));
    sf_count_t lidos = api.sf_readf_short(som.get(), bloco.data(), quadrosPorBloco);
    if (lidos <= 0)
        return api.sf_error(som.get()) == SF_ERR_NO_ERROR;

    // A short server buffer keeps the wait for the end of the sound (drain) short.
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<uint32_t>(-1);
    buffer.tlength = static_cast<uint32_t>(api.pa_usec_to_bytes(300 * 1000, &formato));
    buffer.prebuf = static_cast<uint32_t>(-1);
    buffer.minreq = static_cast<uint32_t>(-1);
    buffer.fragsize = static_cast<uint32_t>(-1);
    int erro = 0;
    std::unique_ptr<pa_simple, decltype(fechaPulse)> saida(
        api.pa_simple_new(
            nullptr, "Zelvano Agenda", PA_STREAM_PLAYBACK, nullptr, "Alarme", &formato, nullptr, &buffer, &erro),
        fechaPulse);
    if (!saida)
        return false;
    do {
        if (r.abandonada)
            return true;
        const size_t bytes = static_cast<size_t>(lidos * info.channels) * sizeof(short);
        if (api.pa_simple_write(saida.get(), bloco.data(), bytes, &erro) < 0)
            return false;
        // Writes block at the pace of playback: a server that takes them is alive.
        r.Prolonga(AgoraMs() + margemMs);
        lidos = api.sf_readf_short(som.get(), bloco.data(), quadrosPorBloco);
    } while (lidos > 0);
    return api.pa_simple_drain(saida.get(), &erro) >= 0;
}

struct FimCanberra
{
    std::mutex trava;
    std::condition_variable aviso;
    bool terminou = false;
    int erro = CA_SUCCESS;
};

// Called once per bell (ended, failed or cancelled), maybe after the wait gave up: it holds
// its own share of the state.
void CanberraTerminou(ca_context *, uint32_t, int erro, void *dados)
{
    const std::unique_ptr<std::shared_ptr<FimCanberra>> parte(static_cast<std::shared_ptr<FimCanberra> *>(dados));
    FimCanberra &fim = **parte;
    std::lock_guard guarda(fim.trava);
    fim.terminou = true;
    fim.erro = erro;
    fim.aviso.notify_all();
}

enum class Sino { Tocou, Falhou, NaoTocou };

Sino TocaSino(const BibliotecaSom &api, ca_context *contexto)
{
    static std::atomic<uint32_t> proximo { 1 };
    const uint32_t id = proximo++;
    ca_proplist *propriedades = nullptr;
    api.ca_proplist_create(&propriedades);
    api.ca_proplist_sets(propriedades, CA_PROP_EVENT_ID, "bell");
    api.ca_proplist_sets(propriedades, CA_PROP_EVENT_DESCRIPTION, "Zelvano Agenda");
    auto fim = std::make_shared<FimCanberra>();
    auto *parte = new std::shared_ptr<FimCanberra>(fim);
    const bool comecou = api.ca_context_play_full(contexto, id, propriedades, CanberraTerminou, parte) == CA_SUCCESS;
    api.ca_proplist_destroy(propriedades);
    if (!comecou) {
        delete parte;
        return Sino::NaoTocou;
    }
    std::unique_lock espera(fim->trava);
    if (!fim->aviso.wait_for(espera, MargemSom - std::chrono::milliseconds(500), [&fim] { return fim->terminou; })) {
        // Still sounding: stopped, so that it does not run into whatever comes next.
        espera.unlock();
        api.ca_context_cancel(contexto, id);
        return Sino::Tocou;
    }
    return fim->erro == CA_SUCCESS ? Sino::Tocou : Sino::Falhou;
}

// The desktop's default alert sound, played to its end.
bool TocaSomPadrao(const BibliotecaSom &api, Reproducao &r)
{
    if (!api.padrao)
        return false;
    r.Prolonga(AgoraMs() + margemMs);
    // A context that cannot play may be one whose server went away: a new one is tried once.
    for (bool novo : { false, true }) {
        ca_context *contexto = api.contexto(novo);
        if (!contexto)
            return false;
        if (TocaSino(api, contexto) == Sino::Tocou)
            return true;
        r.Prolonga(AgoraMs() + margemMs);
    }
    return false;
}

} // namespace

SomTocado TocaSomSincrono(const QString &arquivo)
{
    if (!QFileInfo::exists(arquivo))
        return SomTocado::Silencio;

    auto reproducao = std::make_shared<Reproducao>();
    reproducao->prazo = AgoraMs() + margemMs;
    std::thread tocador([reproducao, caminho = QFile::encodeName(arquivo)] {
        const auto som = BibliotecaCarregada();
        SomTocado resultado = SomTocado::Arquivo;
        if (!TocaArquivo(*som, caminho, *reproducao) && !reproducao->abandonada)
            resultado = TocaSomPadrao(*som, *reproducao) ? SomTocado::SomPadrao : SomTocado::Bipe;
        reproducao->resultado = resultado;
        reproducao->terminou = true;
    });

    // Painting and timers go on while the sound plays; clicks and keys wait for its end.
    QEventLoop laco;
    QTimer sonda;
    sonda.setInterval(10);
    QObject::connect(&sonda, &QTimer::timeout, &laco, [&laco, &reproducao] {
        if (reproducao->terminou || AgoraMs() > reproducao->prazo)
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

void UsaBibliotecasSom(const NomesBibliotecasSom &nomes)
{
    EstadoBibliotecas &estado = EstadoDasBibliotecas();
    QMutexLocker guarda(&estado.trava);
    estado.nomes = nomes;
    estado.carregada.reset();
}
