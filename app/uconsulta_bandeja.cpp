#include "app/uconsulta.h"

#include <QApplication>

// Placeholder until the tray residence lands.
void Tfrm_agenda::preparaBandeja()
{
}
void Tfrm_agenda::FormActivate(QObject *)
{
}
void Tfrm_agenda::BitBtn4Click(QObject *)
{
    showMinimized();
}
void Tfrm_agenda::TrayIcon1DblClick(QObject *)
{
    TrazParaFrente();
}
void Tfrm_agenda::DesativarAgenda1Click(QObject *)
{
    QApplication::quit();
}
void Tfrm_agenda::DesativarAgenda2Click(QObject *sender)
{
    DesativarAgenda1Click(sender);
}
