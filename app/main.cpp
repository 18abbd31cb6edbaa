#include "agenda/arquivoagenda.h"
#include "app/aplicacao.h"
#include "app/entrada.h"
#include "app/uconsulta.h"
#include "platform/platform.h"
#include "windows/umostra.h"

#include <QDir>

// No arguments are read and the exit status is always 0.
int main(int argc, char **argv)
{
    Aplicacao app(argc, argv);
    Aplicacao::PreparaAmbiente();
    if (!PodeIniciar())
        return 0;

    // The application title. Not the display name: Qt would append that to the caption of
    // every window and message box on X11 ("... V13.1 — Zelvano Agenda Eletrônica").
    QApplication::setApplicationName(QStringLiteral("Zelvano Agenda Eletrônica"));
    // Told now, not at the first "Salvar" after a reminder was typed.
    if (!PreparaPastaDados()) {
        platform().messageBox(QStringLiteral("Não foi possível usar nem criar a pasta de dados do Zelvano Agenda:\n"
                                             "%1\n\nVerifique as permissões dessa pasta e abra o programa de novo.")
                                  .arg(QDir::toNativeSeparators(platform().dataFolder())),
            QApplication::applicationName(), Platform::Botoes::Ok);
        return 0;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    auto *frm_agenda = new Tfrm_agenda;
    frm_agenda->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(frm_agenda, &QObject::destroyed, &app, &QApplication::quit);
    form_mostra = new Tform_mostra;
    frm_agenda->LigaFormMostra(form_mostra);
    platform().onBringToFront(QStringLiteral("Tfrm_agenda"), [frm_agenda] { frm_agenda->TrazParaFrente(); });
    frm_agenda->show();
    // Shown and made the active window, as a program started by the user expects; the first
    // activation decides between the tray and the startup shortcut.
    frm_agenda->activateWindow();
    app.exec();
    delete form_mostra;
    form_mostra = nullptr;
    return 0;
}
