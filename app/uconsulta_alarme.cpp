#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"

#include "platform/platform.h"
#include "windows/umostra.h"

#include <QCalendarWidget>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdlib>

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

    const std::optional<Aviso> aviso = ProximoAviso(ListaAgenda, agora, MemoriaAvisos);
    if (!aviso) {
        // Once at start and then hourly, so that a start after a power cut looks back from
        // about where this run stopped looking.
        if (!m_avisosGuardados || std::abs(*MemoriaAvisos.ultimoVerificado - *m_avisosGuardados) >= 60)
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

void Tfrm_agenda::GuardaAvisos()
{
    // A failed write is silent: the memory is kept in this run and written again later.
    GravaAvisos(GuardaMemoria(MemoriaAvisos, MinutoDe(platform().now())));
    m_avisosGuardados = MemoriaAvisos.ultimoVerificado;
}
