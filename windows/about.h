#pragma once

#include <QDialog>
#include <QString>

class QCloseEvent;
class QFrame;
class QLabel;
class TGradientButton;

// The maker's web site: opened by the main window's logo and shown by the About window.
inline const QString EnderecoFabricante = QStringLiteral("https://www.zelvano.example/");

// The About window: product, version, maker and web address, closed by its OK button. It
// frees itself when closed, so every "Sobre" builds a fresh one.
class Tform_about : public QDialog
{
    Q_OBJECT
public:
    explicit Tform_about(QWidget *owner);

    void FormCreate(QObject *sender);
    void Label1Click(QObject *sender);
    void GradientButton1Click(QObject *sender);
    void FormClose(QObject *sender);

    QFrame *Panel1 = nullptr;
    QFrame *Panel2 = nullptr;
    QFrame *Panel3 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Copyright = nullptr; // the company line
    QLabel *Comments = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Image1 = nullptr;
    TGradientButton *GradientButton1 = nullptr;

public slots:
    // Esc closes the window the same way OK does, so it is freed as well.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *evento) override;
    void showEvent(QShowEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void MontaJanela();
    void MontaPainelNome();
    void MontaPainelFigura();
    void MontaBotaoOk();
};
