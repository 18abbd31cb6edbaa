#include "app/uconsulta.h"

#include "windows/about.h"
#include "windows/uprg.h"

// Each use opens a window of its own, owned by this one; closing only hides it. After a save
// and after closing, the listing, the lookups and the alarm see the new reminder at once.
void Tfrm_agenda::ProgramarAgenda1Click(QObject *)
{
    auto *janela = new Tfrm_cadastro(this);
    janela->OnSave = [this](QObject *) { Atualiza(); };
    janela->OnClose = [this](QObject *) { Atualiza(); };
    janela->show();
    // A tool window is not given the keyboard on its own by every window manager (Openbox
    // leaves it behind the main window): ask for it, as the user just asked for the window.
    janela->raise();
    janela->activateWindow();
}
void Tfrm_agenda::ProgramarAgenda2Click(QObject *sender)
{
    ProgramarAgenda1Click(sender);
}
// Each "Sobre" builds a new About window; it frees itself on closing.
void Tfrm_agenda::Sobre1Click(QObject *)
{
    auto *sobre = new Tform_about(this);
    sobre->exec();
}
