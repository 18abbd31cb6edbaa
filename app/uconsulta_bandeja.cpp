#include "app/uconsulta.h"

#include "agenda/atalho.h"
#include "controls/trayicon.h"
#include "platform/platform.h"
#include "windows/umostra.h"

#include <QApplication>
#include <QFileInfo>
#include <QHideEvent>
#include <QMenu>
#include <QTimer>

#include <utility>

namespace {

// The running program as the desktop should start it at logon: its own file in its folder.
QString Executavel()
{
    return platform().applicationFolder() + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace

void Tfrm_agenda::PreparaBandeja()
{
    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setIcon(QIcon(QStringLiteral(":/img/icone.png")));
    TrayIcon1->setVisible(true);
    TrayIcon1->setHint(QStringLiteral("Zelvano Agenda Eletrônica"));
    TrayIcon1->setShowHint(true);
    TrayIcon1->setPopupMenu(PopupMenu2);
    TrayIcon1->setHideTaskBtn(true);
    TrayIcon1->OnDblClick = [this](QObject *sender) { TrayIcon1DblClick(sender); };
}

void Tfrm_agenda::FormActivate(QObject *)
{
    if (m_primeiraAtivacaoFeita)
        return;
    m_primeiraAtivacaoFeita = true;
    // Started at logon: straight to the tray. Started by hand: from now on, start at logon.
    if (ExisteAtalhoInicializar(NomeAtalho))
        showMinimized();
    else
        CriaAtalhoInicializar(Executavel(), QString(), platform().applicationFolder(), NomeAtalho);
    // What fell due while the program was not running is announced now that the window is up
    // (or in the tray), not 15 seconds later; queued behind the tray's own hiding.
    QTimer::singleShot(0, this, [this] {
        if (Timer1->isActive())
            Timer1Timer(Timer1);
    });
}

void Tfrm_agenda::BitBtn4Click(QObject *)
{
    // Clicks on the icon while the window goes away would bring it straight back.
    TrayIcon1->setEnabled(false);
    showMinimized();
    TrayIcon1->setEnabled(true);
}

void Tfrm_agenda::TrazParaFrente()
{
    // Under Wayland a program can neither un-minimise nor raise a window of its own (Qt 6.4
    // asks for activation only on behalf of a window that has the keyboard), and a compositor
    // without a taskbar would keep a minimised one out of reach for good. A window mapped afresh
    // is one the compositor shows and gives the keyboard to.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")) && isVisible()
        && (isMinimized() || !isActiveWindow()))
        hide();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    for (const QPointer<QWidget> &janela : std::exchange(m_ocultasJunto, {})) {
        if (!janela)
            continue;
        janela->show();
        // The alert is up again: the alarm waits for it to be closed, as before.
        if (janela.data() == m_formMostra.data())
            Timer1->stop();
    }
    raise();
    activateWindow();
}

void Tfrm_agenda::hideEvent(QHideEvent *evento)
{
    QMainWindow::hideEvent(evento);
    if (evento->spontaneous())
        return;
    // The program goes to the tray as a whole: the entry windows it owns go with it and come
    // back with it, as they were.
    for (QWidget *filha : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (filha->isWindow() && filha->isVisible() && !qobject_cast<QMenu *>(filha)) {
            m_ocultasJunto.push_back(filha);
            filha->hide();
        }
    }
    // So does an open alert. Out of sight it no longer holds the alarm back: reminders keep
    // ringing in the tray, and the alert comes back with the window.
    if (m_formMostra && m_formMostra->isVisible()) {
        m_ocultasJunto.push_back(m_formMostra.data());
        m_formMostra->hide();
        Timer1->start();
    }
}

void Tfrm_agenda::TrayIcon1DblClick(QObject *)
{
    TrazParaFrente();
}

void Tfrm_agenda::DesativarAgenda1Click(QObject *)
{
    // The program ends whatever became of the shortcut; an error still reaches the report.
    try {
        if (ExisteAtalhoInicializar(NomeAtalho))
            RemoveAtalhoInicializar(NomeAtalho);
    } catch (...) {
        QApplication::quit();
        throw;
    }
    QApplication::quit();
}

void Tfrm_agenda::DesativarAgenda2Click(QObject *sender)
{
    DesativarAgenda1Click(sender);
}
