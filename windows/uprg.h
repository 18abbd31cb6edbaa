#pragma once

#include <QDate>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QCalendarWidget;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class TRadioGroup;
class TShadowLabel;

// Hour and minute read from the time edit.
struct HoraAviso
{
    int hora = 0;
    int minuto = 0;
};

// The time edit's five characters "HH:MM", blanks as spaces. Each half holds blanks and
// digits with at least one digit; the hour is 0 to 23 and the minute 0 to 59. Anything else
// could never fall due, so it is refused rather than stored.
std::optional<HoraAviso> LeHoraAviso(const QString &texto);
// Two-digit hour ":" two-digit minute: the form the lookups and the alarm compare with.
QString TextoHoraAviso(HoraAviso hora);

// The sentence that describes the reminder as it will be; the time as the user left it.
// Empty when no modality is chosen.
QString FraseStatus(QDate data, int modalidade, const QString &hora);

// The reminder entry window: modality, date and time on the first page; the confirmation
// panel with the message on the second. It tells its owner through events, so it needs
// nothing of the main window.
class Tfrm_cadastro : public QWidget
{
    Q_OBJECT
public:
    explicit Tfrm_cadastro(QWidget *owner = nullptr);
    ~Tfrm_cadastro() override;

    void FormCreate(QObject *sender);
    void FormShow(QObject *sender);
    void FormClose(QObject *sender);
    void Timer1Timer(QObject *sender);
    void dataClick(QObject *sender);
    void RadioGroup1Click(QObject *sender);
    void MaskEdit1Change(QObject *sender);
    void BitBtn1Click(QObject *sender);
    void BitBtn2Click(QObject *sender);
    void BitBtn3Click(QObject *sender);
    void BitBtn4Click(QObject *sender);

    // The time edit's five characters, blank positions as spaces.
    QString HoraDigitada() const;

    // The window was closed (hidden): the owner reloads its reminders.
    std::function<void(QObject *sender)> OnClose;
    // A reminder was written: the owner reloads at once, so the next lookup and the alarm
    // see it while this window stays open.
    std::function<void(QObject *sender)> OnSave;

    // First page
    QFrame *Panel1 = nullptr;
    TRadioGroup *RadioGroup1 = nullptr;
    QCalendarWidget *data = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Image2 = nullptr;
    QFrame *Bevel2 = nullptr;
    QFrame *Bevel3 = nullptr;
    QFrame *Bevel4 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *MaskEdit1 = nullptr;
    QLabel *Label11 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QLabel *Image1 = nullptr;
    QPushButton *BitBtn4 = nullptr;

    // Confirmation panel
    QFrame *Panel2 = nullptr;
    QLabel *Label8 = nullptr;
    QLabel *Label7 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *Label12 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label9 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Label6 = nullptr;
    QFrame *Bevel1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;

    QTimer *Timer1 = nullptr;

    // The program's name, engraved; it lies under Panel1, which is drawn over it.
    TShadowLabel *ShadowLabel1 = nullptr;

protected:
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    void changeEvent(QEvent *evento) override;
    void keyPressEvent(QKeyEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void MontaNomeGravado();
    void MontaPagina1();
    void MontaModalidade();
    void MontaCalendario();
    void MontaRelogio();
    void MontaLinhaHora();
    void MontaPagina2();
    void AtualizaStatus();
    void MostraConfirmacao(bool mostra);
    void AcertaRelogio();
    bool TrataTecla(QObject *objeto, QKeyEvent *tecla);

    // Set at creation and by a close: the next showing is a new one (FormShow). Shown again
    // after the program hid it with the main window, the window keeps what the user typed.
    bool m_novaExibicao = true;
};
