#include "app/entrada.h"

#include "platform/platform.h"

bool PodeIniciar()
{
    const QString classe = QStringLiteral("Tfrm_agenda");
    // Claiming the class is the lookup: of two copies started together only one gets it.
    const bool livre = platform().registerWindowClass(classe);
    // A running development environment lets a second copy start, for debugging.
    const bool appBuilder = platform().windowClassExists(QStringLiteral("TAppBuilder"));
    if (appBuilder || livre)
        return true;
    platform().messageBox(QStringLiteral("Zelvano Agenda - já está aberto. Verifique !"),
        QStringLiteral("Zelvano já aberto"), Platform::Botoes::Ok);
    platform().bringToFront(classe);
    return false;
}
