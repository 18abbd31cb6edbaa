#include "app/uconsulta.h"

// Placeholders until the entry window and the About window land.
void Tfrm_agenda::ProgramarAgenda1Click(QObject *)
{
}
void Tfrm_agenda::ProgramarAgenda2Click(QObject *sender)
{
    ProgramarAgenda1Click(sender);
}
void Tfrm_agenda::Sobre1Click(QObject *)
{
}
