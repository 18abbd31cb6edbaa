#pragma once

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

// Index lines are kept as bytes so that any line, valid or not, is written back unchanged.
using ListaLinhas = QList<QByteArray>;

// The program's one in-memory copy of AGENDA.AGD: emptied by the main window when it is
// created and closed, reloaded only by the listing's refresh, read by the listing, the
// delete, the alarm check and the conflict lookups.
extern ListaLinhas ListaAgenda;

// Caption of the program's own message boxes.
inline const QString TituloAplicacao = QStringLiteral("Zelvano Agenda Eletrônica");

// Left-pads with zeros after stripping leading blanks and control characters; a text that
// already fills the width comes back exactly as given.
QString PreencheZeros(const QString &texto, int largura);

// "Janeiro" to "Dezembro"; empty for a number outside 1..12 (taken modulo 256). A text that
// is not a number beeps and shows "Variavel de Mes Inválida !!".
QString NomeMes(const QString &mes);
QString NomeMes(const QByteArray &mes);

QString NomeDiaSemana(QDate data);

// Beeps and asks with OK / Cancel under the caption "Drel Sistemas"; true only for OK.
bool Confirma(const QString &pergunta);

// Field n of an index line, counted from 1 after the first bar. LeCampos (agenda/camposlinha.h)
// gives the six fields by name in one pass.
QByteArray ExtraiCampo(int n, const QByteArray &linha);
