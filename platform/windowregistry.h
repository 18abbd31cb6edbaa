#pragma once

#include <QString>

#include <functional>
#include <memory>

// The per-user registry of window classes keeps its lock files and sockets in a folder of the
// user's own: zelvano-<uid> in the user's runtime folder, else in the user's cache folder.
// The folder must be a real folder (no symlink), owned by this user, closed to everyone else;
// one of ours open to others is closed, anything else is refused. Returns the folder, or an
// empty text with *erro set to a message for the user that names it.
QString PastaRegistroJanelas(QString *erro = nullptr);
// Empty when the folder is refused.
QString ArquivoTravaJanela(const QString &classe);
QString SoqueteJanela(const QString &classe);

// The channel by which a second copy asks the running one to come to the front: a Unix-domain
// socket at a full path, reachable only by this user. A plain socket: Qt's local socket class
// would bring in the network module with its authentication and proxy libraries at start.
class OuvinteJanela
{
public:
    // Listens at the path (replacing a socket left by a copy that died); nullptr on failure.
    // pedido is called with each message line received.
    static std::unique_ptr<OuvinteJanela> Escuta(
        const QString &caminho, std::function<void(const QByteArray &)> pedido);
    ~OuvinteJanela();
    OuvinteJanela(const OuvinteJanela &) = delete;
    OuvinteJanela &operator=(const OuvinteJanela &) = delete;

private:
    struct Dados;
    explicit OuvinteJanela(std::unique_ptr<Dados> dados);
    std::unique_ptr<Dados> m_dados;
};

// Sends one message line to the copy listening at the path; false when none took it within
// about a second.
bool EnviaPedidoJanela(const QString &caminho, const QByteArray &linha);
