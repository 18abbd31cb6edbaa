#pragma once

#include <QString>

// The name the program's startup shortcut goes by.
inline const QString NomeAtalho = QStringLiteral("Zelvano Quorvel");

// The desktop starts at logon every entry in the user's autostart folder; the shortcut is
// "<link name>.desktop" there. The folder is asked for afresh at every call.
QString CaminhoAtalhoInicializar(const QString &nomeLink);

// The entry written for a shortcut: the target quoted for the Exec key, then the arguments as
// given (command-line text), the working folder in Path.
QByteArray ConteudoAtalho(
    const QString &alvo, const QString &argumentos, const QString &pastaTrabalho, const QString &nomeLink);

// One argument of an Exec key, quoted when it holds a character the key reserves.
QString CitaArgumentoExec(const QString &argumento);

// Writes the shortcut whole (an existing one is replaced); a failed write is silent.
void CriaAtalhoInicializar(
    const QString &alvo, const QString &argumentos, const QString &pastaTrabalho, const QString &nomeLink);
// Deletes the shortcut when there is one; a failed deletion is silent.
void RemoveAtalhoInicializar(const QString &nomeLink);
bool ExisteAtalhoInicializar(const QString &nomeLink);
