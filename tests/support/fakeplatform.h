#pragma once

#include "platform/platform.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <vector>

// Records every request and answers as the test scripts it. Installed for the lifetime of
// the object; the application folder is a fresh temporary folder unless set.
class FakePlatform : public Platform
{
public:
    struct Caixa
    {
        QString texto;
        QString titulo;
        Botoes botoes;
    };

    FakePlatform();
    ~FakePlatform() override;

    Resposta messageBox(const QString &texto, const QString &titulo, Botoes botoes) override;
    void beep() override { ++bipes; }
    QString applicationFolder() override { return pasta; }
    QString dataFolder() override { return pastaDados.isEmpty() ? pasta : pastaDados; }
    QString installedFolder() override { return pastaInstalada; }
    QDateTime now() override { return agora; }
    void openUrl(const QUrl &url) override { enderecos.push_back(url); }
    void playSound(const QString &arquivo) override;
    QString autostartFolder() override { return pastaAutostart; }
    bool registerWindowClass(const QString &classe) override;
    bool windowClassExists(const QString &classe) override { return classesExistentes.contains(classe); }
    void bringToFront(const QString &classe) override { trazidas.push_back(classe); }
    void onBringToFront(const QString &classe, std::function<void()> acao) override;
    void reportError(const QString &texto) override { erros.push_back(texto); }
    bool serverSideDecorations() override { return decoracoesServidor; }

    // Answers for the next boxes, in order; Ok once they run out.
    std::deque<Resposta> respostas;
    // Runs while a box is "up", before it is answered (to look at the screen, or change files).
    std::function<void(const Caixa &)> aoMostrarCaixa;
    // Runs while a sound "plays".
    std::function<void(const QString &)> aoTocar;

    std::vector<Caixa> caixas;
    std::vector<QUrl> enderecos;
    QStringList sons;
    QStringList erros;
    QStringList trazidas;
    QStringList classesExistentes;
    std::map<QString, std::function<void()>> acoesFrente;
    int bipes = 0;
    // False for a desktop that leaves the title bars to the program.
    bool decoracoesServidor = true;

    QTemporaryDir temporaria;
    QString pasta;
    // The data folder when it is not the application folder; the installed files' folder.
    QString pastaDados;
    QString pastaInstalada;
    QString pastaAutostart;
    QDateTime agora { QDate(2024, 5, 7), QTime(9, 5, 0) };

    QString Caminho(const QString &relativo) const { return pasta + relativo; }
    QStringList TextosCaixas() const;
};
