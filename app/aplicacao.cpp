#include "app/aplicacao.h"

#include "controls/acessivel.h"
#include "controls/hookwindowproc.h"
#include "platform/platform.h"

#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QProxyStyle>
#include <QTranslator>
#include <QWindow>

#include <exception>

Aplicacao::Aplicacao(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

namespace {

// The calendar's month arrows are the only themed icons the program shows. Looking them up
// in the desktop's icon theme reads the theme's index and folders: a fifth of all the work
// of a start (callgrind), more than the rest of the calendar. Qt's own arrows are the ones it
// falls back to where a theme has none.
class EstiloAplicacao : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icone, const QStyleOption *opcao, const QWidget *widget) const override
    {
        switch (icone) {
        case SP_ArrowLeft:
            return QIcon(QStringLiteral(":/qt-project.org/styles/commonstyle/images/left-16.png"));
        case SP_ArrowRight:
            return QIcon(QStringLiteral(":/qt-project.org/styles/commonstyle/images/right-16.png"));
        default:
            return QProxyStyle::standardIcon(icone, opcao, widget);
        }
    }
};

} // namespace

namespace {

void RelataErro(const std::exception_ptr &erro)
{
    try {
        std::rethrow_exception(erro);
    } catch (const std::exception &excecao) {
        platform().reportError(QString::fromUtf8(excecao.what()));
    } catch (...) {
        platform().reportError(QStringLiteral("Erro desconhecido"));
    }
}

} // namespace

bool Aplicacao::notify(QObject *receptor, QEvent *evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (...) {
        RelataErro(std::current_exception());
    }
    return false;
}

bool Aplicacao::event(QEvent *evento)
{
    if (evento->type() != TEventoExcecao::Tipo())
        return QApplication::event(evento);
    RelataErro(static_cast<TEventoExcecao *>(evento)->Erro());
    return true;
}

void Aplicacao::PreparaAmbiente()
{
    QApplication::setStyle(new EstiloAplicacao);
    RegistraAcessiveis();
    // Every window and message box takes this icon unless it sets its own; the desktop file
    // name lets Wayland compositors and docks match the windows with the launcher. The sizes
    // are the ones window managers draw in title bars, task lists and window switchers; the
    // larger ones come from the launcher's themed icon. Each size is decoded at start and sent
    // to the X server with every window.
    QIcon icone;
    for (const int lado : { 16, 24, 32, 48, 64 })
        icone.addFile(QStringLiteral(":/icons/zelvano-agenda-%1.png").arg(lado), QSize(lado, lado));
    QApplication::setWindowIcon(icone);
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvano-agenda"));
    // On X the same match goes by the windows' class, which Qt takes from the application's
    // name once, when it makes its first window. That name is the Portuguese title, whose
    // accent the class (Latin-1) cannot carry, and which matches no launcher: the first window
    // is made under the launcher's name, and every window keeps that class.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        const QString nome = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QGuiApplication::desktopFileName());
        QWindow().create();
        QCoreApplication::setApplicationName(nome);
    }
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto *traducao = new QTranslator(qApp);
    if (traducao->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traducao);
}
