#include "platform/linuxplatform.h"

#include "platform/pastadados.h"
#include "platform/sound.h"
#include "platform/windowregistry.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <wayland-client.h>

struct LinuxPlatform::Registro
{
    std::unique_ptr<QLockFile> trava;
    std::unique_ptr<OuvinteJanela> ouvinte;
    std::function<void()> acao;
};

namespace {

// The process named in the lock is running (as this user or, seen from an unprivileged
// copy, as another).
bool ProcessoVivo(const QLockFile &trava)
{
    qint64 pid = 0;
    QString maquina;
    QString programa;
    if (!trava.getLockInfo(&pid, &maquina, &programa) || pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Qt keeps its own connection to itself, so the compositor's globals are read over a short
// one of ours. A compositor that decorates offers the decoration manager; Qt asks it for
// server-side decorations whenever it is there. Qt may have taken a socket handed over in
// WAYLAND_SOCKET, which cannot be opened twice: then nothing is known and nothing changes.
bool CompositorDecora()
{
    wl_display *conexao = wl_display_connect(nullptr);
    if (!conexao)
        return true;
    bool decora = false;
    static const wl_registry_listener ouvinte = {
        [](void *dado, wl_registry *, uint32_t, const char *interface, uint32_t) {
            if (std::strcmp(interface, "zxdg_decoration_manager_v1") == 0)
                *static_cast<bool *>(dado) = true;
        },
        [](void *, wl_registry *, uint32_t) {},
    };
    wl_registry *registro = wl_display_get_registry(conexao);
    wl_registry_add_listener(registro, &ouvinte, &decora);
    const bool respondeu = wl_display_roundtrip(conexao) >= 0;
    wl_registry_destroy(registro);
    wl_display_disconnect(conexao);
    return decora || !respondeu;
}

} // namespace

LinuxPlatform::LinuxPlatform() = default;
LinuxPlatform::~LinuxPlatform() = default;

Platform::Resposta LinuxPlatform::messageBox(const QString &texto, const QString &titulo, Botoes botoes)
{
    // Where the keyboard was. Window managers give it back, if at all, to whatever window they
    // choose (Openbox and xfwm4 the main window, none at all without one), and the next keys
    // then went to the wrong window.
    const QPointer<QWidget> janela = QApplication::activeWindow();
    const QPointer<QWidget> foco = QApplication::focusWidget();
    QMessageBox caixa(QMessageBox::NoIcon, titulo, texto, QMessageBox::NoButton, QApplication::activeWindow());
    caixa.setWindowModality(Qt::ApplicationModal);
    // The main window stays on top of ordinary windows; a box under it could never be answered.
    caixa.setWindowFlag(Qt::WindowStaysOnTopHint);
    QPushButton *ok = caixa.addButton(QMessageBox::Ok);
    caixa.setDefaultButton(ok);
    if (botoes == Botoes::OkCancelar)
        caixa.setEscapeButton(caixa.addButton(QMessageBox::Cancel));
    else
        caixa.setEscapeButton(ok);
    caixa.exec();
    const Resposta resposta = caixa.clickedButton() == ok ? Resposta::Ok : Resposta::Cancelar;
    if (janela && janela->isVisible()) {
        janela->activateWindow();
        if (foco && foco->window() == janela && foco->isVisible())
            foco->setFocus(Qt::ActiveWindowFocusReason);
    }
    return resposta;
}

void LinuxPlatform::beep()
{
    QApplication::beep();
}

QString LinuxPlatform::applicationFolder()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

QString LinuxPlatform::dataFolder()
{
    const QString programa = applicationFolder();
    // access() rather than the permission bits: it also knows read-only mounts and root.
    const bool gravavel = ::access(QFile::encodeName(programa).constData(), W_OK | X_OK) == 0;
    return EscolhePastaDados(programa, gravavel, QFileInfo(PastaInstalada(programa)).isDir(),
        qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
}

QString LinuxPlatform::installedFolder()
{
    const QString pasta = PastaInstalada(applicationFolder());
    return QFileInfo(pasta).isDir() ? pasta : QString();
}

QDateTime LinuxPlatform::now()
{
    return QDateTime::currentDateTime();
}

void LinuxPlatform::openUrl(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

void LinuxPlatform::playSound(const QString &arquivo)
{
    TocaSomSincrono(arquivo);
}

QString LinuxPlatform::autostartFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative value is invalid and to be ignored: taken as it stands, the entry would land
    // wherever the program happened to be started, where no desktop looks for it.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/");
}

bool LinuxPlatform::registerWindowClass(const QString &classe)
{
    if (m_registros.contains(classe))
        return true;
    QString erro;
    const QString pasta = PastaRegistroJanelas(&erro);
    if (pasta.isEmpty())
        RecusaRegistro(erro);
    auto registro = std::make_shared<Registro>();
    const QString trava = ArquivoTravaJanela(classe);
    registro->trava = std::make_unique<QLockFile>(trava);
    // Never stale by age: only a lock whose process is gone may be taken over.
    registro->trava->setStaleLockTime(0);
    if (!registro->trava->tryLock(0) && TravaDeOutraCopia(*registro->trava, trava))
        return false;
    Registro *r = registro.get();
    registro->ouvinte = OuvinteJanela::Escuta(SoqueteJanela(classe), [r](const QByteArray &linha) {
        if (linha.startsWith("raise") && r->acao)
            r->acao();
    });
    m_registros.insert(classe, registro);
    return true;
}

// Only a live copy holding the lock means "already open": a lock that cannot be made or read
// would otherwise keep the program from ever starting with no copy running. True when a live
// copy holds it; false when this copy took it after all; anything else is refused.
bool LinuxPlatform::TravaDeOutraCopia(QLockFile &trava, const QString &caminho)
{
    // A copy starting at this very moment has made the file but may not have written its
    // process id in it yet: a few looks before the lock is taken for broken.
    for (int olhada = 0; olhada < 20; ++olhada) {
        if (trava.error() == QLockFile::LockFailedError && ProcessoVivo(trava))
            return true;
        if (trava.error() != QLockFile::LockFailedError)
            break;
        QThread::msleep(10);
        if (trava.tryLock(0))
            return false;
    }
    RecusaRegistro(QStringLiteral("O arquivo de trava do Zelvano Agenda não pôde ser criado ou lido:\n%1\n\n"
                                  "Apague-o ou corrija a pasta e abra o programa de novo.")
                       .arg(QDir::toNativeSeparators(caminho)));
}

void LinuxPlatform::RecusaRegistro(const QString &texto)
{
    messageBox(texto, QStringLiteral("Zelvano Agenda"), Botoes::Ok);
    // Nothing has been opened or written yet; the message names what the user must mend.
    std::exit(0);
}

bool LinuxPlatform::windowClassExists(const QString &classe)
{
    if (m_registros.contains(classe))
        return true;
    const QString trava = ArquivoTravaJanela(classe);
    // Only read the lock: taking it, even for a moment, would make another copy starting at
    // the same time believe the class is held.
    return !trava.isEmpty() && ProcessoVivo(QLockFile(trava));
}

void LinuxPlatform::bringToFront(const QString &classe)
{
    EnviaPedidoJanela(SoqueteJanela(classe), "raise");
}

void LinuxPlatform::onBringToFront(const QString &classe, std::function<void()> acao)
{
    if (auto registro = m_registros.value(classe))
        registro->acao = std::move(acao);
}

void LinuxPlatform::reportError(const QString &texto)
{
    messageBox(texto, QCoreApplication::applicationName(), Botoes::Ok);
}

Platform &PlataformaReal()
{
    static LinuxPlatform real;
    return real;
}

bool LinuxPlatform::serverSideDecorations()
{
    // On X11 (and XWayland) the window manager draws, and takes the Motif hints.
    static const bool decora
        = !QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || CompositorDecora();
    return decora;
}
