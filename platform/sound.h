#pragma once

#include <QString>

#include <chrono>

// What the user heard.
enum class SomTocado {
    Silencio, // no such file
    Arquivo, // the file, to its end
    SomPadrao, // the file could not be played: the desktop's "bell" instead
    Bipe, // neither the file nor the bell could be played
    TempoEsgotado, // the sound server stopped answering; the program went on with a beep
};

// How long the program waits for the sound server beyond the sound's own length.
inline constexpr std::chrono::milliseconds MargemSom { 3000 };

// Plays a sound file to its end before returning. The sound is decoded and played on a
// worker thread while this thread keeps painting but takes no user input; the wait is bounded
// by the sound's length plus MargemSom, so a frozen sound server cannot freeze the program.
// A file that cannot be played (corrupt, unknown format, no sound server) gives the default
// alert sound; a missing file gives silence.
SomTocado TocaSomSincrono(const QString &arquivo);

// The shared libraries the sounds come from, opened with the first sound. Without the first
// three no file plays (the default sound instead); without the last there is no default sound
// either (the beep instead).
struct NomesBibliotecasSom
{
    QString sndfile = QStringLiteral("libsndfile.so.1");
    QString pulseSimple = QStringLiteral("libpulse-simple.so.0");
    QString pulse = QStringLiteral("libpulse.so.0");
    QString canberra = QStringLiteral("libcanberra.so.0");
};

// Opens these libraries instead at the next sound; only while no sound is playing.
void UsaBibliotecasSom(const NomesBibliotecasSom &nomes);
