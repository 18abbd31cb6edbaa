#include "platform/windowregistry.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

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

// Room left in a socket address for "/<class>.sock" after the folder: our classes' names are
// short ("Tfrm_agenda").
constexpr qsizetype ReservaNomeSoquete = 32;

bool CabeNoSoquete(const QString &pasta)
{
    return QFile::encodeName(pasta).size() + ReservaNomeSoquete < qsizetype(sizeof(sockaddr_un::sun_path));
}

// A runtime folder is used only when it is the user's own as the desktop promises: a folder,
// not a link, of this user and closed to everyone else. In one that others may write in
// without the sticky bit, another user could move our folder away and let a second copy start
// beside the first.
bool PastaDeExecucaoPropria(const QString &pasta)
{
    struct stat info
    {
    };
    return ::lstat(QFile::encodeName(pasta).constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid()
        && (info.st_mode & 077) == 0;
}

// A folder that everyone can write in keeps our folder in place only with the sticky bit. (A
// folder writable by the user's own group is common and left alone.)
bool OutrosPodemMover(const QString &pasta)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(pasta).constData(), &info) == 0 && (info.st_mode & S_IWOTH) != 0
        && (info.st_mode & S_ISVTX) == 0;
}

// The folder that holds zelvano-<uid>: the runtime folder when it is fit for it, else the
// user's own cache, never a shared folder such as /tmp, where another user could make the
// folder first.
QString PastaDeExecucao()
{
    // A relative value is invalid and ignored, as the desktop's folder rules say.
    const QString pasta = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString nossa = QStringLiteral("/zelvano-") + QString::number(getuid());
    if (!pasta.isEmpty() && !QDir::isRelativePath(pasta) && PastaDeExecucaoPropria(pasta)
        && CabeNoSoquete(pasta + nossa))
        return pasta;
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || QDir::isRelativePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache;
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
    int Solta() { return std::exchange(m_fd, -1); }

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
    // Without its socket a running copy could not be brought back by a second start.
    if (!CabeNoSoquete(pasta))
        return falha(QStringLiteral("O caminho dela é longo demais para o canal entre as cópias do programa. "
                                    "Defina XDG_RUNTIME_DIR ou XDG_CACHE_HOME com um caminho mais curto."));
    QDir().mkpath(pai);
    if (OutrosPodemMover(pai))
        return falha(QStringLiteral("A pasta que a contém pode ser alterada por outros usuários."));
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
// A flood of connections (a client gone wrong) holds at most this many descriptors; the rest
// wait in the listening queue.
constexpr std::size_t MaisConexoes = 8;
// A copy asking to come to the front writes its line at once; one that sends nothing within
// this time is closed to make room.
constexpr int PrazoLinhaMs = 1000;
// After an accept failed for want of descriptors the waiting connection stays readable: the
// listener waits this long rather than be woken again at once, all day.
constexpr int PausaAceiteMs = 200;

struct Conexao
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> aviso;
    QByteArray lido;
    QDeadlineTimer prazo;
};

struct OuvinteJanela::Dados
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> aviso;
    std::vector<std::unique_ptr<Conexao>> conexoes;
    std::function<void(const QByteArray &)> pedido;
    // Closes the connections whose time is up; runs only while there are connections.
    QTimer varredura;
    // Accepting again after a failed accept.
    QTimer pausa;

    ~Dados()
    {
        for (const auto &c : conexoes)
            ::close(c->fd);
        if (fd >= 0)
            ::close(fd);
    }

    void Fecha(Conexao *c)
    {
        // Called from the connection's own notifier: its deletion waits for the event loop.
        c->aviso->setEnabled(false);
        c->aviso.release()->deleteLater();
        ::close(c->fd);
        std::erase_if(conexoes, [c](const auto &p) { return p.get() == c; });
        if (conexoes.empty())
            varredura.stop();
        aviso->setEnabled(!pausa.isActive() && conexoes.size() < MaisConexoes);
    }

    void Varre()
    {
        std::vector<Conexao *> vencidas;
        for (const auto &c : conexoes) {
            if (c->prazo.hasExpired())
                vencidas.push_back(c.get());
        }
        for (Conexao *c : vencidas)
            Fecha(c);
    }

    void Aceita()
    {
        while (conexoes.size() < MaisConexoes) {
            const int cliente = ::accept4(fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (cliente < 0) {
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                    aviso->setEnabled(false);
                    pausa.start();
                }
                return;
            }
            // The folder already keeps others out; the peer's user is checked all the same.
            ucred credencial {};
            socklen_t tamanho = sizeof credencial;
            if (::getsockopt(cliente, SOL_SOCKET, SO_PEERCRED, &credencial, &tamanho) != 0
                || credencial.uid != getuid()) {
                ::close(cliente);
                continue;
            }
            auto c = std::make_unique<Conexao>();
            c->fd = cliente;
            c->prazo = QDeadlineTimer(PrazoLinhaMs);
            c->aviso = std::make_unique<QSocketNotifier>(cliente, QSocketNotifier::Read);
            Conexao *p = c.get();
            QObject::connect(c->aviso.get(), &QSocketNotifier::activated, c->aviso.get(), [this, p] { Le(p); });
            conexoes.push_back(std::move(c));
            if (!varredura.isActive())
                varredura.start();
        }
        // Full: the next ones are accepted as these are done.
        aviso->setEnabled(false);
    }

    void Le(Conexao *c)
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
                Fecha(c);
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
    dados->fd = fd.Solta();
    dados->pedido = std::move(pedido);
    dados->aviso = std::make_unique<QSocketNotifier>(dados->fd, QSocketNotifier::Read);
    Dados *d = dados.get();
    QObject::connect(d->aviso.get(), &QSocketNotifier::activated, d->aviso.get(), [d] { d->Aceita(); });
    d->varredura.setInterval(PrazoLinhaMs / 4);
    QObject::connect(&d->varredura, &QTimer::timeout, [d] { d->Varre(); });
    d->pausa.setSingleShot(true);
    d->pausa.setInterval(PausaAceiteMs);
    QObject::connect(&d->pausa, &QTimer::timeout, [d] { d->aviso->setEnabled(d->conexoes.size() < MaisConexoes); });
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
