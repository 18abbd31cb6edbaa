#pragma once

#include <QString>

// Where the program keeps the user's reminders (the index, CND/ and the alarm sound).
//
// A copy of the executable in a folder of the user's own keeps them beside itself, as it
// always did. An installed program keeps them in the user's data folder instead: its folder is
// shared by every user of the machine, cannot be written by them, and even root, who could,
// must not scatter reminders among the system's programs.

// The files installed with the program (the default alarm sound): <prefix>/share/zelvano-agenda/
// for a program in <prefix>/bin/. The folder of the executable ends in '/'.
QString PastaInstalada(const QString &pastaPrograma);

// The data folder, with a trailing '/'. `gravavel`: the user may create files in the program's
// folder; `instalado`: the program's installed files sit beside it (PastaInstalada exists).
// `xdgDataHome` and `home` as in the environment; a relative XDG_DATA_HOME is to be ignored.
QString EscolhePastaDados(
    const QString &pastaPrograma, bool gravavel, bool instalado, const QString &xdgDataHome, const QString &home);
