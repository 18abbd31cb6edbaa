#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Whether a stored reminder already takes a slot. Each walks ListaAgenda as the main window
// last loaded it and gives field 5 (the modality code) of the first line that takes the
// slot, or an empty text when the slot is free.

// A specific-date reminder on that date at that time.
QByteArray ConsultaEspecifica(int dia, int mes, int ano, int hora, int minuto);
// A monthly reminder on that day of any month at that time.
QByteArray ConsultaMensal(int dia, int hora, int minuto);
// An annual reminder on that day and month of any year at that time.
QByteArray ConsultaAnual(int dia, int mes, int hora, int minuto);

// The modality code as a number: leading blanks, an optional sign, then digits to the end;
// anything else is -1, so a damaged field takes no slot.
int CodigoModalidade(QByteArrayView campo);
