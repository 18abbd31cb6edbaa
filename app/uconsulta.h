#pragma once

#include "agenda/alarme.h"
#include "controls/tarvogrid.h"

#include <QDate>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QCalendarWidget;
class QCloseEvent;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;
class TFlatStyle;
class TRadioGroup;
class TTrayIcon;
class Tform_mostra;

// The main window: the day's reminders, their details and the program's menus. It is built,
// started and closed in uconsulta.cpp; the day listing, the alarm, the tray and the opening of
// the other windows each have their handlers in a file of their own (uconsulta_listagem.cpp,
// uconsulta_alarme.cpp, uconsulta_bandeja.cpp, uconsulta_janelas.cpp).
class Tfrm_agenda : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tfrm_agenda(QWidget *parent = nullptr);
    ~Tfrm_agenda() override;

    // Frame
    void FormCreate(QObject *sender);
    void FormClose(QObject *sender);
    void Image2Click(QObject *sender);

    // Day listing
    void FormShow(QObject *sender);
    void Atualiza();
    void Atualiza_dia();
    void MonthCalendar1Click(QObject *sender);
    void RadioGroup1Click(QObject *sender);
    void Stringgrid2Click(QObject *sender);
    void ExcluiAgenda1Click(QObject *sender);

    // Alarm
    void Timer1Timer(QObject *sender);
    // The alert window the tick shows; closing it starts Timer1 again.
    void LigaFormMostra(Tform_mostra *janela);

    // Tray residence
    void FormActivate(QObject *sender);
    void BitBtn4Click(QObject *sender);
    void TrayIcon1DblClick(QObject *sender);
    void DesativarAgenda1Click(QObject *sender);
    void DesativarAgenda2Click(QObject *sender);

    // Entry window and About window
    void ProgramarAgenda1Click(QObject *sender);
    void ProgramarAgenda2Click(QObject *sender);
    void Sobre1Click(QObject *sender);

    // Restores, raises and activates the window (a second copy asked for it).
    void TrazParaFrente();

    QDate DiaAtual;
    QString UltimoAviso;

    // Panels and their controls, under the names the program has always had (NOMES.md).
    QFrame *Panel1 = nullptr;
    QFrame *Panel2 = nullptr;
    QFrame *Panel3 = nullptr;
    QFrame *Panel4 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    TtarvoGrid *Stringgrid2 = nullptr;
    TRadioGroup *RadioGroup1 = nullptr;
    QCalendarWidget *MonthCalendar1 = nullptr;
    QTextEdit *RichEdit1 = nullptr;
    QFrame *Bevel1 = nullptr;
    QFrame *Bevel2 = nullptr;
    QLabel *Image2 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QTimer *Timer1 = nullptr;
    TTrayIcon *TrayIcon1 = nullptr;
    TFlatStyle *FlatStyle1 = nullptr;

    QMenu *Funes1 = nullptr;
    QAction *ProgramarAgenda1 = nullptr;
    QAction *DesativarAgenda1 = nullptr;
    QAction *Sobre1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *ExcluiAgenda1 = nullptr;
    QMenu *PopupMenu2 = nullptr;
    QAction *ProgramarAgenda2 = nullptr;
    QAction *DesativarAgenda2 = nullptr;

protected:
    void showEvent(QShowEvent *evento) override;
    void hideEvent(QHideEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    bool event(QEvent *evento) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void MontaMenus();
    void MontaJanela();
    void MontaPainelAgenda(QWidget *cliente);
    void MontaPainelConsulta(QWidget *cliente);
    void MontaPainelMensagem(QWidget *cliente);
    void MontaPainelRodape(QWidget *cliente);
    // Each subsystem connects its own controls.
    void PreparaListagem();
    void PreparaBandeja();
    // Reads the alarm's memory at start. One that cannot be written again is not caught up
    // from: every start would ring the same reminders again.
    void RecuperaAvisos();
    // Writes the alarm's memory beside the index: a later start neither repeats what was
    // announced nor misses what fell due while the program was not running. False when it
    // could not be written; the user is told once per run.
    bool GuardaAvisos();
    // Tells the user once per run what became of the memory, after the tick that found it.
    void DizSobreAvisos(const QString &texto);

    // The calendar's day grid, and the day chosen when a press on it began.
    QWidget *m_diasDoCalendario = nullptr;
    QDate m_diaNoClique;

    bool m_mostrada = false;
    // The first activation runs once per run of the program.
    bool m_primeiraAtivacaoFeita = false;
    QPointer<Tform_mostra> m_formMostra;
    // Which reminders were announced for which minute, and up to where the clock was checked.
    MemoriaAlarme m_memoriaAvisos;
    // The minute checked up to at the last time the alarm's memory was written.
    std::optional<MinutoRelogio> m_avisosGuardados;
    // What was found in place of the memory at start was not a memory (told once replaced).
    bool m_avisosDanificados = false;
    // Something about the memory has been told in this run.
    bool m_avisosDito = false;
    // Entry windows that went to the tray with the main window, to come back with it.
    QList<QPointer<QWidget>> m_ocultasJunto;
};
