#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"

#include "platform/platform.h"
#include "windows/umostra.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDir>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdlib>
#include <utility>

void Tfrm_agenda::LigaFormMostra(Tform_mostra *janela)
{
    m_formMostra = janela;
    if (!janela)
        return;
    // A full interval after the alert closes: the next reminder comes 15 seconds later.
    janela->OnClose = [guarda = QPointer<Tfrm_agenda>(this)](QObject *) {
        if (guarda)
            guarda->Timer1->start();
    };
}

void Tfrm_agenda::Timer1Timer(QObject *)
{
    const QDateTime agora = platform().now();
    if (agora.date() != DiaAtual) {
        // The calendar and the listing move to the new day; this tick looks for nothing, and
        // the next one still covers the minutes skipped here.
        DiaAtual = agora.date();
        {
            // Moving the calendar would refresh the listing on its own; one refresh is enough.
            const QSignalBlocker bloqueio(MonthCalendar1);
            MonthCalendar1->setSelectedDate(DiaAtual);
        }
        Atualiza();
        return;
    }

    const std::optional<Aviso> aviso = ProximoAviso(ListaAgenda, agora, m_memoriaAvisos);
    if (!aviso) {
        // Once at start and then hourly, so that a start after a power cut looks back from
        // about where this run stopped looking.
        if (!m_avisosGuardados || std::abs(*m_memoriaAvisos.ultimoVerificado - *m_avisosGuardados) >= 60)
            GuardaAvisos();
        return;
    }
    UltimoAviso = QString::fromLatin1(aviso->nome);
    Timer1->stop();

    const QString som = SomAlarme();
    if (!som.isEmpty())
        platform().playSound(som);

    // Announced from here on (the sound has played, the alert follows): a later start does
    // not ring it again.
    GuardaAvisos();
    if (m_formMostra)
        m_formMostra->MostraAviso(aviso->linha, platform().now());
    else
        Timer1->start();
}

void Tfrm_agenda::RecuperaAvisos()
{
    const AvisosLidos lidos = LeAvisos();
    m_avisosDanificados = lidos.danificados;
    m_memoriaAvisos = RecuperaMemoria(lidos.texto, MinutoDe(platform().now()));
    // Written back before anything is caught up from it: a memory that stays as it is (a
    // read-only file in a read-only folder, a folder in its place) would have each start ring
    // the week again. Without it only what falls due from now on rings.
    if (m_memoriaAvisos.ultimoVerificado && !GuardaAvisos())
        m_memoriaAvisos.ultimoVerificado.reset();
}

bool Tfrm_agenda::GuardaAvisos()
{
    // The memory is kept in this run all the same and written again later.
    const bool gravada = GravaAvisos(GuardaMemoria(m_memoriaAvisos, MinutoDe(platform().now())));
    m_avisosGuardados = m_memoriaAvisos.ultimoVerificado;
    const QString arquivo = QDir::toNativeSeparators(ArquivoAvisos());
    if (!gravada) {
        DizSobreAvisos(QStringLiteral("Não foi possível gravar a memória de avisos do Zelvano Agenda:\n%1\n\n"
                                      "Os lembretes continuam tocando enquanto o programa estiver aberto, mas os que "
                                      "vencerem com ele fechado não serão avisados depois. Verifique as permissões "
                                      "desse arquivo e da pasta dele.")
                           .arg(arquivo));
    } else if (std::exchange(m_avisosDanificados, false)) {
        DizSobreAvisos(QStringLiteral("A memória de avisos do Zelvano Agenda não era um arquivo válido e foi "
                                      "substituída:\n%1\n\nLembretes que venceram com o programa fechado podem "
                                      "não ter sido avisados.")
                           .arg(arquivo));
    }
    return gravada;
}

void Tfrm_agenda::DizSobreAvisos(const QString &texto)
{
    if (std::exchange(m_avisosDito, true))
        return;
    // After the tick: a box waits for its answer, and the tick may have an alert to show first.
    QTimer::singleShot(
        0, this, [texto] { platform().messageBox(texto, QCoreApplication::applicationName(), Platform::Botoes::Ok); });
}
