#pragma once

#include "platform/platform.h"

#include <QHash>

#include <memory>

class QLockFile;

class LinuxPlatform : public Platform
{
public:
    LinuxPlatform();
    ~LinuxPlatform() override;

    Resposta messageBox(const QString &texto, const QString &titulo, Botoes botoes) override;
    void beep() override;
    QString applicationFolder() override;
    QString dataFolder() override;
    QString installedFolder() override;
    QDateTime now() override;
    void openUrl(const QUrl &url) override;
    void playSound(const QString &arquivo) override;
    QString autostartFolder() override;
    bool registerWindowClass(const QString &classe) override;
    bool windowClassExists(const QString &classe) override;
    void bringToFront(const QString &classe) override;
    void onBringToFront(const QString &classe, std::function<void()> acao) override;
    void reportError(const QString &texto) override;
    bool serverSideDecorations() override;

private:
    struct Registro;
    // A registry folder or lock that is not safely this user's: told, then the program ends.
    [[noreturn]] void RecusaRegistro(const QString &texto);
    bool TravaDeOutraCopia(QLockFile &trava, const QString &caminho);
    QHash<QString, std::shared_ptr<Registro>> m_registros;
};
