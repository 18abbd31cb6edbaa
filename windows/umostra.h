#pragma once

#include <QDialog>

#include <functional>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The alert window: one reminder that fell due, with its kind, stored date, the time it was
// shown and its message. Created once at start and shown again at every alert.
class Tform_mostra : public QDialog
{
    Q_OBJECT
public:
    explicit Tform_mostra(QWidget *parent = nullptr);

    // Shows the reminder of the index line; `agora` is read after the sound has ended.
    void MostraAviso(const QByteArray &linha, const QDateTime &agora);

    void BitBtn1Click(QObject *sender);
    void FormClose(QObject *sender);

    // Raised whenever the window closes: "OK", Enter, Esc, the close button, the system menu.
    std::function<void(QObject *sender)> OnClose;

    QFrame *Panel3 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Image1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *BitBtn1 = nullptr;

public slots:
    // Every way of closing a dialog ends here.
    void done(int resultado) override;

protected:
    void showEvent(QShowEvent *evento) override;

private:
    bool m_figuras = false;
};

// The one alert window of the program, created at start after the main window.
extern Tform_mostra *form_mostra;
