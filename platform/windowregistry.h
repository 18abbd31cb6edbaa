#pragma once

#include <QString>

// Where the per-user registry of window classes keeps its lock files and sockets:
// the user's runtime folder, else the temporary folder, in a folder only the user can enter.
QString pastaRegistroJanelas();
QString arquivoTravaJanela(const QString &classe);
QString soqueteJanela(const QString &classe);
