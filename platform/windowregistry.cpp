#include "platform/windowregistry.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

namespace {

QString PastaDeExecucao()
{
    // A relative value is invalid and ignored, as the desktop's folder rules say.
    QString pasta = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!pasta.isEmpty() && !QDir::isRelativePath(pasta))
        return pasta;
    // No runtime folder: the user's own cache, never a shared folder such as /tmp, where
    // another user could make the folder first.
    pasta = qEnvironmentVariable("XDG_CACHE_HOME");
    if (pasta.isEmpty() || QDir::isRelativePath(pasta))
        pasta = QDir::homePath() + QStringLiteral("/.cache");
    return pasta;
}

QString Recusa(const QString &pasta, const QString &motivo)
{
    return QStringLiteral("A pasta de controle do Zelvano Agenda não pode ser usada:\n%1\n\n%2\n\n"
                          "Apague-a ou corrija-a e abra o programa de novo.")
        .arg(QDir::toNativeSeparators(pasta), motivo);
}

class Descritor
{
public:
    explicit Descritor(int fd)
        : m_fd(fd)
    {
    }
    ~Descritor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descritor(const Descritor &) = delete;
    Descritor &operator=(const Descritor &) = delete;
    int fd() const { return m_fd; }
    int solta() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

bool EnderecoDe(const QString &caminho, sockaddr_un &endereco)
{
    const QByteArray nome = QFile::encodeName(caminho);
    endereco = {};
    endereco.sun_family = AF_UNIX;
    if (nome.isEmpty() || size_t(nome.size()) >= sizeof endereco.sun_path)
        return false;
    std::memcpy(endereco.sun_path, nome.constData(), size_t(nome.size()));
    return true;
}

} // namespace

QString PastaRegistroJanelas(QString *erro)
{
    const QString pai = PastaDeExecucao();
    const QString pasta = pai + QStringLiteral("/zelvano-") + QString::number(getuid());
    const auto falha = [&](const QString &motivo) {
        if (erro)
            *erro = Recusa(pasta, motivo);
        return QString();
    };
    QDir().mkpath(pai);
    const QByteArray nome = QFile::encodeName(pasta);
    if (::mkdir(nome.constData(), 0700) != 0 && errno != EEXIST)
        return falha(QStringLiteral("Ela não pôde ser criada (%1).").arg(QString::fromLocal8Bit(std::strerror(errno))));
    // Opened without following a link, then checked through what was opened: a link or a
    // folder swapped in between can neither pass the checks nor have its target changed.
    Descritor dir(::open(nome.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (dir.fd() < 0) {
        const int motivo = errno;
        struct stat info
        {
        };
        if (::lstat(nome.constData(), &info) == 0 && S_ISLNK(info.st_mode))
            return falha(QStringLiteral("Ela é um atalho (link simbólico) para outro lugar."));
        if (motivo == ENOTDIR)
            return falha(QStringLiteral("Ela não é uma pasta."));
        return falha(
            QStringLiteral("Ela não pôde ser aberta (%1).").arg(QString::fromLocal8Bit(std::strerror(motivo))));
    }
    struct stat info
    {
    };
    if (::fstat(dir.fd(), &info) != 0 || !S_ISDIR(info.st_mode))
        return falha(QStringLiteral("Ela não é uma pasta."));
    // Even for root: a folder another user made could be emptied or filled by that user.
    if (info.st_uid != getuid())
        return falha(QStringLiteral("Ela pertence a outro usuário."));
    // Ours but open to others (made by an older version or by hand): closed again.
    if ((info.st_mode & 077) != 0 && ::fchmod(dir.fd(), 0700) != 0)
        return falha(QStringLiteral("Ela está aberta a outros usuários e não pôde ser fechada."));
    if (erro)
        erro->clear();
    return pasta;
}

QString ArquivoTravaJanela(const QString &classe)
{
    const QString pasta = PastaRegistroJanelas();
    return pasta.isEmpty() ? QString() : pasta + QLatin1Char('/') + classe + QStringLiteral(".lock");
}

QString SoqueteJanela(const QString &classe)
{
    const QString pasta = PastaRegistroJanelas();
    return pasta.isEmpty() ? QString() : pasta + QLatin1Char('/') + classe + QStringLiteral(".sock");
}

// A message is one short line; anything longer is not ours and is dropped.
constexpr qsizetype MaiorLinha = 512;

struct Conexao
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> aviso;
    QByteArray lido;
};

struct OuvinteJanela::Dados
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> aviso;
    std::vector<std::unique_ptr<Conexao>> conexoes;
    std::function<void(const QByteArray &)> pedido;

    ~Dados()
    {
        for (const auto &c : conexoes)
            ::close(c->fd);
        if (fd >= 0)
            ::close(fd);
    }

    void fecha(Conexao *c)
    {
        // Called from the connection's own notifier: its deletion waits for the event loop.
        c->aviso->setEnabled(false);
        c->aviso.release()->deleteLater();
        ::close(c->fd);
        std::erase_if(conexoes, [c](const auto &p) { return p.get() == c; });
    }

    void aceita()
    {
        for (;;) {
            const int fd = ::accept4(this->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0)
                return;
            // The folder already keeps others out; the peer's user is checked all the same.
            ucred credencial {};
            socklen_t tamanho = sizeof credencial;
            if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credencial, &tamanho) != 0 || credencial.uid != getuid()) {
                ::close(fd);
                continue;
            }
            auto c = std::make_unique<Conexao>();
            c->fd = fd;
            c->aviso = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
            Conexao *p = c.get();
            QObject::connect(c->aviso.get(), &QSocketNotifier::activated, c->aviso.get(), [this, p] { le(p); });
            conexoes.push_back(std::move(c));
        }
    }

    void le(Conexao *c)
    {
        char bloco[256];
        for (;;) {
            const ssize_t n = ::read(c->fd, bloco, sizeof bloco);
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                return;
            if (n > 0)
                c->lido.append(bloco, n);
            const qsizetype fim = c->lido.indexOf('\n');
            if (fim >= 0 || n <= 0 || c->lido.size() > MaiorLinha) {
                const QByteArray linha = fim >= 0 ? c->lido.left(fim) : QByteArray();
                fecha(c);
                if (!linha.isEmpty() && pedido)
                    pedido(linha);
                return;
            }
        }
    }
};

OuvinteJanela::OuvinteJanela(std::unique_ptr<Dados> dados)
    : m_dados(std::move(dados))
{
}

OuvinteJanela::~OuvinteJanela() = default;

std::unique_ptr<OuvinteJanela> OuvinteJanela::Escuta(
    const QString &caminho, std::function<void(const QByteArray &)> pedido)
{
    sockaddr_un endereco;
    if (!EnderecoDe(caminho, endereco))
        return nullptr;
    Descritor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.fd() < 0)
        return nullptr;
    // Only the lock holder gets here, so a socket already at the path is a dead copy's.
    ::unlink(endereco.sun_path);
    if (::bind(fd.fd(), reinterpret_cast<const sockaddr *>(&endereco), sizeof endereco) != 0
        || ::chmod(endereco.sun_path, 0600) != 0 || ::listen(fd.fd(), 8) != 0)
        return nullptr;
    auto dados = std::make_unique<Dados>();
    dados->fd = fd.solta();
    dados->pedido = std::move(pedido);
    dados->aviso = std::make_unique<QSocketNotifier>(dados->fd, QSocketNotifier::Read);
    Dados *d = dados.get();
    QObject::connect(d->aviso.get(), &QSocketNotifier::activated, d->aviso.get(), [d] { d->aceita(); });
    return std::unique_ptr<OuvinteJanela>(new OuvinteJanela(std::move(dados)));
}

bool EnviaPedidoJanela(const QString &caminho, const QByteArray &linha)
{
    sockaddr_un endereco;
    if (!EnderecoDe(caminho, endereco))
        return false;
    Descritor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.fd() < 0)
        return false;
    // A copy too busy to read must not hold this one up for long.
    const timeval prazo { 1, 0 };
    ::setsockopt(fd.fd(), SOL_SOCKET, SO_SNDTIMEO, &prazo, sizeof prazo);
    if (::connect(fd.fd(), reinterpret_cast<const sockaddr *>(&endereco), sizeof endereco) != 0)
        return false;
    const QByteArray mensagem = linha + '\n';
    return ::send(fd.fd(), mensagem.constData(), size_t(mensagem.size()), MSG_NOSIGNAL) == mensagem.size();
}
