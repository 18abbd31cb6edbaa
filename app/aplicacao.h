#pragma once

#include <QApplication>

// The application object. An exception escaping any handler ends here and is shown as a
// message box with its text; the program keeps running.
class Aplicacao : public QApplication
{
    Q_OBJECT
public:
    Aplicacao(int &argc, char **argv);

    bool notify(QObject *receptor, QEvent *evento) override;
    bool event(QEvent *evento) override;

    // Fonts close to the ones the windows were drawn with, Portuguese standard dialogs, and
    // what screen readers see of the program's own controls.
    static void PreparaAmbiente();
};
