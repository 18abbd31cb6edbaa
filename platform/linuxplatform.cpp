#include "platform/linuxplatform.h"

#include "platform/pastadados.h"
#include "platform/sound.h"
#include "platform/windowregistry.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QMessageBox>
#include <QPushButton>

#include <cerrno>
#include <csignal>
#include <unistd.h>

struct LinuxPlatform::Registro
{
    std::unique_ptr<QLockFile> trava;
    std::unique_ptr<QLocalServer> servidor;
    std::function<void()> acao;
};

LinuxPlatform::LinuxPlatform() = default;
LinuxPlatform::~LinuxPlatform() = default;

Platform::Resposta LinuxPlatform::messageBox(const QString &texto, const QString &titulo, Botoes botoes)
{
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
    return caixa.clickedButton() == ok ? Resposta::Ok : Resposta::Cancelar;
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
    tocaSomSincrono(arquivo);
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
    auto registro = std::make_shared<Registro>();
    registro->trava = std::make_unique<QLockFile>(arquivoTravaJanela(classe));
    // Never stale by age: only a lock whose process is gone may be taken over.
    registro->trava->setStaleLockTime(0);
    if (!registro->trava->tryLock(0))
        return false;

    const QString caminho = soqueteJanela(classe);
    QLocalServer::removeServer(caminho);
    registro->servidor = std::make_unique<QLocalServer>();
    registro->servidor->setSocketOptions(QLocalServer::UserAccessOption);
    if (registro->servidor->listen(caminho)) {
        QLocalServer *servidor = registro->servidor.get();
        Registro *r = registro.get();
        QObject::connect(servidor, &QLocalServer::newConnection, servidor, [servidor, r] {
            while (QLocalSocket *conexao = servidor->nextPendingConnection()) {
                QObject::connect(conexao, &QLocalSocket::disconnected, conexao, &QObject::deleteLater);
                QObject::connect(conexao, &QLocalSocket::readyRead, conexao, [conexao, r] {
                    if (conexao->readAll().contains("raise") && r->acao)
                        r->acao();
                });
            }
        });
    }
    m_registros.insert(classe, registro);
    return true;
}

bool LinuxPlatform::windowClassExists(const QString &classe)
{
    if (m_registros.contains(classe))
        return true;
    // Only read the lock: taking it, even for a moment, would make another copy starting at
    // the same time believe the class is held.
    const QLockFile sonda(arquivoTravaJanela(classe));
    qint64 pid = 0;
    QString maquina;
    QString programa;
    if (!sonda.getLockInfo(&pid, &maquina, &programa) || pid <= 0)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void LinuxPlatform::bringToFront(const QString &classe)
{
    QLocalSocket conexao;
    conexao.connectToServer(soqueteJanela(classe));
    if (!conexao.waitForConnected(1000))
        return;
    conexao.write("raise\n");
    conexao.waitForBytesWritten(1000);
    conexao.disconnectFromServer();
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
