#include "app/uconsulta.h"

#include "agenda/arquivoagenda.h"
#include "agenda/funcoes.h"
#include "agenda/listagem.h"
#include "controls/acessivel.h"
#include "controls/flatstyle.h"
#include "controls/radiogroup.h"
#include "controls/tarvogrid.h"
#include "controls/teclaativar.h"
#include "platform/platform.h"
#include "windows/about.h"
#include "windows/pecasjanela.h"
#include "windows/umostra.h"

#include <QCalendarWidget>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>

namespace {

// A disabled caption as the classic desktop drew it: the text in the shadow colour over the
// same text in the highlight colour one pixel down and right, so that it looks engraved.
class TRotuloGravado : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *evento) override
    {
        if (isEnabled()) {
            QLabel::paintEvent(evento);
            return;
        }
        QPainter p(this);
        p.setPen(palette().color(QPalette::Active, QPalette::Light));
        p.drawText(rect().translated(1, 1), int(alignment()), text());
        p.setPen(palette().color(QPalette::Active, QPalette::Dark));
        p.drawText(rect(), int(alignment()), text());
    }
};

} // namespace

Tfrm_agenda::Tfrm_agenda(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frm_agenda"));
    setWindowTitle(QStringLiteral("Zelvano Agenda Eletrônica V13.1"));
    setFont(Fonte(11));
    MontaMenus();
    MontaJanela();
    PreparaListagem();
    PreparaBandeja();
    // The agenda grid keeps its own look under the flat painter.
    Stringgrid2->setProperty(PropriedadeParentBiDiMode, false);
    FlatStyle1 = new TFlatStyle(this);
    FlatStyle1->Loaded();
    DecoraJanela(this);
    FormCreate(this);
}

Tfrm_agenda::~Tfrm_agenda() = default;

void Tfrm_agenda::MontaMenus()
{
    Funes1 = menuBar()->addMenu(QStringLiteral("&Funções"));
    ProgramarAgenda1 = Funes1->addAction(QStringLiteral("Programar Agenda"));
    Funes1->addSeparator();
    DesativarAgenda1 = Funes1->addAction(QStringLiteral("Desativar Agenda"));
    Sobre1 = menuBar()->addAction(QStringLiteral("Sobre"));

    PopupMenu1 = new QMenu(this);
    ExcluiAgenda1 = PopupMenu1->addAction(QStringLiteral("Exclui Agenda"));
    ExcluiAgenda1->setShortcut(QKeySequence(Qt::Key_Delete));

    PopupMenu2 = new QMenu(this);
    ProgramarAgenda2 = PopupMenu2->addAction(QStringLiteral("Programar Agenda"));
    DesativarAgenda2 = PopupMenu2->addAction(QStringLiteral("Desativar Agenda"));

    connect(ProgramarAgenda1, &QAction::triggered, this, [this] { ProgramarAgenda1Click(ProgramarAgenda1); });
    connect(ProgramarAgenda2, &QAction::triggered, this, [this] { ProgramarAgenda2Click(ProgramarAgenda2); });
    connect(DesativarAgenda1, &QAction::triggered, this, [this] { DesativarAgenda1Click(DesativarAgenda1); });
    connect(DesativarAgenda2, &QAction::triggered, this, [this] { DesativarAgenda2Click(DesativarAgenda2); });
    connect(Sobre1, &QAction::triggered, this, [this] { Sobre1Click(Sobre1); });
}

void Tfrm_agenda::MontaJanela()
{
    auto *cliente = new QWidget(this);
    cliente->setFixedSize(793, 591);
    setCentralWidget(cliente);

    MontaPainelAgenda(cliente);
    MontaPainelConsulta(cliente);
    MontaPainelMensagem(cliente);
    MontaPainelRodape(cliente);

    // Tab goes through the window as it reads: the day's reminders, the filter, the
    // calendar, the message, then the button.
    setTabOrder(Stringgrid2, RadioGroup1);
    setTabOrder(RadioGroup1, MonthCalendar1);
    setTabOrder(MonthCalendar1, RichEdit1);
    setTabOrder(RichEdit1, BitBtn4);
    setTabOrder(BitBtn4, Image2);

    Timer1 = new QTimer(this);
    Timer1->setInterval(15000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(Timer1); });
    Timer1->start();

    adjustSize();
    setFixedSize(sizeHint());
    CentraNaTela(this, QGuiApplication::primaryScreen());
}

// The day's reminders: time and kind shown, the rest kept in hidden columns.
void Tfrm_agenda::MontaPainelAgenda(QWidget *cliente)
{
    Panel2 = CriaPainel(cliente, QRect(8, 8, 336, 459));
    Label3 = CriaRotulo(Panel2, QPoint(8, 8), QStringLiteral("Agenda para:"), Fonte(13, true));
    Stringgrid2 = new TtarvoGrid(Panel2);
    Stringgrid2->setGeometry(8, 26, 319, 426);
    Stringgrid2->setColCount(ColunasListagem);
    Stringgrid2->setFixedCols(0);
    Stringgrid2->setRowCount(2);
    Stringgrid2->setFixedRows(1);
    const int larguras[ColunasListagem] = { 74, 239, 53, 123, 456, 456, 456 };
    for (int c = 0; c < ColunasListagem; ++c)
        Stringgrid2->setColWidths(c, larguras[c]);
    Stringgrid2->setDefaultRowHeight(17);
    Stringgrid2->setColor(QColor(254, 248, 233));
    Stringgrid2->setFixedColor(QColor(219, 208, 149));
    Stringgrid2->setFont(Fonte(13));
    Stringgrid2->setFontColor(Qt::black);
    Stringgrid2->setScrollBars(TStringGrid::ssVertical);
    Stringgrid2->setCursor(Qt::PointingHandCursor);
    Stringgrid2->setOptions(
        GO::goFixedVertLine | GO::goFixedHorzLine | GO::goVertLine | GO::goHorzLine | GO::goRowSelect);
    Stringgrid2->setPopupMenu(PopupMenu1);
    // Code, file name and date are read back by the program; the user sees time and kind.
    for (int c = ColunaCodigoModalidade; c < ColunasListagem; ++c)
        Stringgrid2->setColunaDeDados(c, true);
}

// Which reminders of the chosen day to list, and the calendar to choose it.
void Tfrm_agenda::MontaPainelConsulta(QWidget *cliente)
{
    Panel3 = CriaPainel(cliente, QRect(351, 8, 433, 167));
    RadioGroup1 = new TRadioGroup(Panel3);
    RadioGroup1->setTitle(QStringLiteral("< Consulta no Mês Selecionado >"));
    RadioGroup1->setFont(Fonte(11, true));
    RadioGroup1->setGeometry(19, 8, 214, 151);
    RadioGroup1->setItems({ QStringLiteral("TODAS NO DIA"), QStringLiteral("AVISO ESPECÍFICO"),
        QStringLiteral("AVISO MENSAL (Geral)"), QStringLiteral("AVISO ANUAL (Geral)") });
    RadioGroup1->setItemIndex(0);
    MonthCalendar1 = new QCalendarWidget(Panel3);
    MonthCalendar1->setGeometry(233, 5, 191, 153);
    MonthCalendar1->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setGridVisible(false);
    MonthCalendar1->setAccessibleName(QStringLiteral("Agenda para"));
    NomeiaCalendario(MonthCalendar1);
    RadioGroup1->setAccessibleName(QStringLiteral("Consulta no Mês Selecionado"));
}

// The chosen reminder's message.
void Tfrm_agenda::MontaPainelMensagem(QWidget *cliente)
{
    Panel4 = CriaPainel(cliente, QRect(349, 178, 435, 289));
    Label2 = CriaRotulo(Panel4, QPoint(16, 11), QStringLiteral("STATUS"), Fonte(11));
    RichEdit1 = new QTextEdit(Panel4);
    RichEdit1->setGeometry(4, 34, 425, 250);
    RichEdit1->setReadOnly(true);
    RichEdit1->setFont(Fonte(16));
    RichEdit1->setStyleSheet(QStringLiteral("QTextEdit { background-color: rgb(255, 255, 232); }"));
    RichEdit1->setAccessibleName(QStringLiteral("Mensagem"));
    // Read only: Tab goes on to the next control instead of being typed.
    RichEdit1->setTabChangesFocus(true);
    MostraFoco(RichEdit1, Qt::black);
}

// The status line, the maker's logo, the program's engraved name and the button to the tray.
void Tfrm_agenda::MontaPainelRodape(QWidget *cliente)
{
    Panel1 = CriaPainel(cliente, QRect(8, 469, 777, 111));
    Label4 = CriaRotulo(Panel1, QPoint(9, 4), QStringLiteral("Status"), Fonte(11, true), Qt::red);
    Bevel2 = CriaRegua(Panel1, QRect(-2, 21, 787, 2));
    Image2 = CriaFigura(Panel1, QRect(20, 30, 194, 73), QPixmap(QStringLiteral(":/img/logo.png")));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);
    // Tab reaches the logo too; Enter or Space there opens the maker's site as a click does.
    Image2->setFocusPolicy(Qt::TabFocus);
    MostraFoco(Image2, Qt::black);
    Image2->setAccessibleName(EnderecoFabricante);
    ExpoeComoLink(Image2);
    Bevel1 = new QFrame(Panel1);
    Bevel1->setGeometry(270, 47, 240, 41);
    // A one-pixel lowered box: shadow on top and left, highlight on bottom and right.
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1 = new TRotuloGravado(QStringLiteral("Zelvano Agenda"), Panel1);
    Label1->setFont(Fonte(19, true));
    Label1->move(297, 55);
    Label1->adjustSize();
    Label1->setEnabled(false);
    BitBtn4 = CriaBotao(Panel1, QRect(592, 46, 145, 38), QStringLiteral("Minimizar"), Fonte(13, true),
        QStringLiteral(":/img/minimizar.png"));
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(BitBtn4); });
}

void Tfrm_agenda::FormCreate(QObject *)
{
    // Dates are written "dd/MM/yyyy" wherever they are shown; there is no locale to set.
    CriaPastaMensagens();
    // No other copy runs (the single-instance rule came first): no save is under way.
    RemoveTemporariosOrfaos();
    ListaAgenda.clear();
    // Reminders that fell due while the program was not running are caught up by the ticks.
    RecuperaAvisos();
}

void Tfrm_agenda::FormClose(QObject *)
{
    ListaAgenda.clear();
}

void Tfrm_agenda::Image2Click(QObject *)
{
    platform().openUrl(QUrl(EnderecoFabricante));
}

void Tfrm_agenda::showEvent(QShowEvent *evento)
{
    QMainWindow::showEvent(evento);
    // Coming back from the tray is not a new showing: the day the user chose stays.
    if (!evento->spontaneous() && !m_mostrada) {
        m_mostrada = true;
        FormShow(this);
    }
}

void Tfrm_agenda::closeEvent(QCloseEvent *evento)
{
    FormClose(this);
    QMainWindow::closeEvent(evento);
}

bool Tfrm_agenda::event(QEvent *evento)
{
    if (evento->type() == QEvent::WindowActivate)
        FormActivate(this);
    return QMainWindow::event(evento);
}

bool Tfrm_agenda::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == m_diasDoCalendario && evento->type() == QEvent::MouseButtonPress)
        m_diaNoClique = MonthCalendar1->selectedDate();
    // A click is a release over the picture: a press dragged off it and let go is not.
    if (objeto == Image2 && evento->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton
        && Image2->rect().contains(static_cast<QMouseEvent *>(evento)->position().toPoint())) {
        Image2Click(Image2);
        return true;
    }
    if (objeto == Image2 && TeclaDeAtivar(evento)) {
        Image2Click(Image2);
        return true;
    }
    return QMainWindow::eventFilter(objeto, evento);
}
