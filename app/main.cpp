#include "app/aplicacao.h"
#include "app/uconsulta.h"
#include "platform/platform.h"

// No arguments are read and the exit status is always 0.
int main(int argc, char **argv)
{
    Aplicacao app(argc, argv);
    Aplicacao::preparaAmbiente();

    // Claiming the class is the lookup: only one of two copies started together gets it.
    const bool livre = platform().registerWindowClass(QStringLiteral("Tfrm_agenda"));
    const bool appBuilder = platform().windowClassExists(QStringLiteral("TAppBuilder"));
    if (!appBuilder && !livre) {
        platform().messageBox(QStringLiteral("Zelvano Agenda - já está aberto. Verifique !"),
                              QStringLiteral("Zelvano já aberto"), Platform::Botoes::Ok);
        platform().bringToFront(QStringLiteral("Tfrm_agenda"));
        return 0;
    }

    QApplication::setApplicationDisplayName(QStringLiteral("Zelvano Agenda Eletrônica"));
    QApplication::setApplicationName(QStringLiteral("Zelvano Agenda Eletrônica"));
    QApplication::setQuitOnLastWindowClosed(false);
    auto *frm_agenda = new Tfrm_agenda;
    frm_agenda->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(frm_agenda, &QObject::destroyed, &app, &QApplication::quit);
    platform().onBringToFront(QStringLiteral("Tfrm_agenda"), [frm_agenda] { frm_agenda->TrazParaFrente(); });
    frm_agenda->show();
    // Shown and made the active window, as a program started by the user expects; the first
    // activation decides between the tray and the startup shortcut.
    frm_agenda->activateWindow();
    app.exec();
    return 0;
}
