// The yardstick for our start: a bare Qt Widgets program showing a main window with a menu
// bar, nothing else.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QMainWindow janela;
    janela.setWindowTitle(QStringLiteral("Programa Qt vazio"));
    janela.menuBar()
        ->addMenu(QStringLiteral("&Arquivo"))
        ->addAction(QStringLiteral("&Sair"), &app, &QApplication::quit);
    janela.resize(640, 480);
    janela.show();
    return app.exec();
}
