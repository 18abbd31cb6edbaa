#include "app/uconsulta.h"

// Placeholder until the alarm check lands.
void Tfrm_agenda::preparaAlarme()
{
}
void Tfrm_agenda::Timer1Timer(QObject *)
{
}
