#pragma once

#include <QString>

// Plays a sound file to its end. Returns when it has ended, or at once when the file is missing.
void tocaSomSincrono(const QString &arquivo);
