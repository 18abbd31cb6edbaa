#include "app/aplicacao.h"

#include "platform/platform.h"

#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>

Aplicacao::Aplicacao(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool Aplicacao::notify(QObject *receptor, QEvent *evento)
{
    try {
        return QApplication::notify(receptor, evento);
    } catch (const std::exception &erro) {
        platform().reportError(QString::fromUtf8(erro.what()));
    } catch (...) {
        platform().reportError(QStringLiteral("Erro desconhecido"));
    }
    return false;
}

void Aplicacao::preparaAmbiente()
{
    // Every window and message box takes this icon unless it sets its own; the desktop file
    // name lets Wayland compositors and docks match the windows with the launcher.
    QIcon icone;
    for (const int lado : { 16, 22, 24, 32, 48, 64, 128, 256 })
        icone.addFile(QStringLiteral(":/icons/zelvano-agenda-%1.png").arg(lado), QSize(lado, lado));
    QApplication::setWindowIcon(icone);
    QGuiApplication::setDesktopFileName(QStringLiteral("zelvano-agenda"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    auto *traducao = new QTranslator(qApp);
    if (traducao->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traducao);
}
