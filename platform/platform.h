#pragma once

#include <QDateTime>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// The desktop facilities the program uses. One process-wide instance is current: the real
// one, made at the first call of platform(), unless a test installed a fake that records calls
// and answers as scripted.
class Platform
{
public:
    enum class Botoes { Ok, OkCancelar };
    enum class Resposta { Ok, Cancelar };

    virtual ~Platform() = default;

    // Modal, application-wide, centred, without icon. Esc and closing answer Cancelar.
    virtual Resposta messageBox(const QString &texto, const QString &titulo, Botoes botoes) = 0;
    virtual void beep() = 0;

    // The executable's folder with a trailing '/'; read at every use.
    virtual QString applicationFolder() = 0;
    // The folder of the index, CND/ and the alarm sound, with a trailing '/'; read at every
    // use. The application folder unless the program is installed for every user or its folder
    // cannot be written: then the user's own data folder, which may not exist yet.
    virtual QString dataFolder() { return applicationFolder(); }
    // The files installed with the program (its default alarm sound), with a trailing '/';
    // empty when the program was not installed.
    virtual QString installedFolder() { return {}; }
    virtual QDateTime now() = 0;
    virtual void openUrl(const QUrl &url) = 0;

    // Plays a sound file to its end before returning. A file that cannot be played gives the
    // desktop's default alert sound; a missing file gives silence.
    virtual void playSound(const QString &arquivo) = 0;

    // The folder whose .desktop files the desktop starts at logon, with a trailing '/'.
    virtual QString autostartFolder() = 0;

    // Single-instance registry of main-window classes, per user.
    // Claims the class for this process; false when a running copy already holds it. A
    // registry that is not safely this user's (or a lock that cannot be made) is reported to
    // the user by name and ends the program: it is never taken for a running copy.
    virtual bool registerWindowClass(const QString &classe) = 0;
    // True when some running process holds the class.
    virtual bool windowClassExists(const QString &classe) = 0;
    // Asks the copy holding the class to restore, raise and activate its window.
    virtual void bringToFront(const QString &classe) = 0;
    // What this copy does when another asks it to come to the front.
    virtual void onBringToFront(const QString &classe, std::function<void()> acao) = 0;

    // The general error report: an exception that escaped a handler.
    virtual void reportError(const QString &texto) = 0;

    // Whether the desktop draws the windows' title bars. Where it does not (a Wayland
    // compositor without server-side decorations, GNOME's among them) the toolkit would draw
    // its own, with every button whatever the window asks for. Answered once per run.
    virtual bool serverSideDecorations() { return true; }
};

// The current platform. Installing nullptr puts back the real one.
Platform &platform();
void setPlatform(Platform *atual);
// This desktop's real facilities, one for the run, made at the first call (linuxplatform.cpp).
Platform &PlataformaReal();
