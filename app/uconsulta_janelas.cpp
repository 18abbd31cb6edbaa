#include "app/uconsulta.h"

#include "windows/about.h"

// Placeholders until the entry window and the About window land.
void Tfrm_agenda::ProgramarAgenda1Click(QObject *)
{
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
