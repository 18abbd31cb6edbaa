#include "windows/uprg.h"

#include "agenda/arquivoagenda.h"
#include "agenda/consultas.h"
#include "agenda/funcoes.h"
#include "controls/acessivel.h"
#include "controls/radiogroup.h"
#include "controls/shadowlabel.h"
#include "platform/platform.h"
#include "resources/jpeg.h"
#include "windows/pecasjanela.h"

#include <QAbstractSpinBox>
#include <QAccessibleWidget>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <exception>

namespace {

const QColor Azul(0, 0, 255);
const QColor Vermelho(255, 0, 0);

// The window's buttons all show the hand over them.
QPushButton *CriaBotaoDeMao(QWidget *pai, const QRect &geometria, const QString &texto, const QString &glifo)
{
    QPushButton *b = CriaBotao(pai, geometria, texto, Fonte(16, true), glifo);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

// The clock was drawn in a font whose digits are half as wide as they are high. Where it is
// missing, a narrow face keeps the 48-pixel height; failing that the size shrinks until
// "00:00:00" fits the box instead of being cut at both ends.
QFont FonteRelogio(int largura)
{
    QFont f = Fonte(48);
    f.setFamilies({ QStringLiteral("MS Song"), QStringLiteral("Nimbus Sans Narrow"),
        QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans Condensed"), FamiliaJanelas });
    while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(QStringLiteral("00:00:00")) > largura)
        f.setPixelSize(f.pixelSize() - 1);
    return f;
}

// Screen readers are told the entry window is a frame of its own, as the main window is.
QAccessibleInterface *JanelaAcessivel(const QString &classe, QObject *objeto)
{
    if (classe == QLatin1String("Tfrm_cadastro") && objeto->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(objeto), QAccessible::Window);
    return nullptr;
}

bool SoDigitosEBrancos(const QString &metade, int &valor)
{
    bool algumDigito = false;
    valor = 0;
    for (const QChar c : metade) {
        if (c == QLatin1Char(' '))
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        algumDigito = true;
        valor = valor * 10 + (c.unicode() - '0');
    }
    return algumDigito;
}

QString TextoNumero(int n)
{
    return QString::number(n);
}

} // namespace

std::optional<HoraAviso> LeHoraAviso(const QString &texto)
{
    if (texto.size() != 5 || texto.at(2) != QLatin1Char(':'))
        return std::nullopt;
    HoraAviso h;
    if (!SoDigitosEBrancos(texto.left(2), h.hora) || !SoDigitosEBrancos(texto.mid(3, 2), h.minuto))
        return std::nullopt;
    if (h.hora > 23 || h.minuto > 59)
        return std::nullopt;
    return h;
}

QString TextoHoraAviso(HoraAviso hora)
{
    return PreencheZeros(TextoNumero(hora.hora), 2) + QLatin1Char(':') + PreencheZeros(TextoNumero(hora.minuto), 2);
}

QString FraseStatus(QDate data, int modalidade, const QString &hora)
{
    const QString dia = TextoNumero(data.day());
    switch (modalidade) {
    case 0:
        return QStringLiteral("Avisar no dia ") + dia + QStringLiteral(" de ") + NomeMes(TextoNumero(data.month()))
            + QStringLiteral(" de ") + TextoNumero(data.year()) + QStringLiteral(" as ") + hora;
    case 1:
        return QStringLiteral("Avisar Mensalmente todo dia ") + dia + QStringLiteral(" de cada mês as ") + hora;
    case 2:
        return QStringLiteral("Avisar Anualmente todo dia ") + dia + QStringLiteral(" de ")
            + NomeMes(TextoNumero(data.month())) + QStringLiteral(" as ") + hora;
    default:
        return {};
    }
}

Tfrm_cadastro::Tfrm_cadastro(QWidget *owner)
    : QWidget(owner,
        Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint)
{
    static const bool papelDaJanela = (QAccessible::installFactory(JanelaAcessivel), true);
    (void)papelDaJanela;
    setObjectName(QStringLiteral("frm_cadastro"));
    setWindowTitle(QStringLiteral("Zelvano - Agenda"));
    setFont(Fonte(11));
    setFixedSize(740, 395);

    // Made before the panels so that they lie over it.
    MontaNomeGravado();
    MontaPagina1();
    MontaPagina2();

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(Timer1); });
    Timer1->start();

    // Enter and Esc act on the window's buttons wherever the focus is, as on a dialog.
    for (QWidget *filho : findChildren<QWidget *>())
        filho->installEventFilter(this);

    FormCreate(this);
    DecoraJanela(this);
}

Tfrm_cadastro::~Tfrm_cadastro() = default;

void Tfrm_cadastro::MontaNomeGravado()
{
    ShadowLabel1 = new TShadowLabel(this);
    ShadowLabel1->setAutoSize(false);
    ShadowLabel1->setGeometry(32, 82, 465, 103);
    ShadowLabel1->setAlignment(taCenter);
    // "Niagara Solid" is seldom installed; the toolkit's substitute then stands in.
    QFont nome(QStringLiteral("Niagara Solid"));
    nome.setPixelSize(96);
    ShadowLabel1->setFont(nome);
    ShadowLabel1->setCaption(QStringLiteral("Zelvano"));
    ShadowLabel1->setEnabled(false);
}

// Modality, date and clock above; the time and its sentence in the middle row; the buttons below.
void Tfrm_cadastro::MontaPagina1()
{
    Panel1 = CriaPainel(this, QRect(7, 3, 714, 354));
    MontaModalidade();
    MontaCalendario();
    MontaRelogio();

    Bevel2 = CriaRegua(Panel1, QRect(0, 192, 714, 2));
    Bevel3 = CriaRegua(Panel1, QRect(0, 232, 714, 2));
    Bevel4 = CriaRegua(Panel1, QRect(208, 194, 2, 38));
    MontaLinhaHora();

    BitBtn1 = CriaBotaoDeMao(Panel1, QRect(10, 265, 243, 50), QStringLiteral("OK"), QStringLiteral(":/img/ok.png"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(BitBtn1); });
    Image1 = CriaFigura(Panel1, QRect(299, 271, 233, 37), FiguraJpeg(QStringLiteral(":/img/cadastro.jpg")));
    BitBtn4 = CriaBotaoDeMao(Panel1, QRect(587, 272, 110, 37), QStringLiteral("Fechar"), QString());
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(BitBtn4); });

    setTabOrder(RadioGroup1, data);
    setTabOrder(data, MaskEdit1);
    setTabOrder(MaskEdit1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn4);
}

void Tfrm_cadastro::MontaModalidade()
{
    RadioGroup1 = new TRadioGroup(Panel1);
    RadioGroup1->setTitle(QStringLiteral("< Modalidade de Aviso >"));
    RadioGroup1->setFont(Fonte(16, true));
    RadioGroup1->setGeometry(9, 6, 289, 177);
    RadioGroup1->setCursor(Qt::PointingHandCursor);
    RadioGroup1->setItems({ QStringLiteral("Avisar na data especificada"), QStringLiteral("Avisar Mensalmente"),
        QStringLiteral("Avisar Anualmente") });
    RadioGroup1->setItemIndex(0);
    RadioGroup1->setAccessibleName(QStringLiteral("Modalidade de Aviso"));
    RadioGroup1->OnClick = [this](QObject *sender) { RadioGroup1Click(sender); };
}

void Tfrm_cadastro::MontaCalendario()
{
    data = new QCalendarWidget(Panel1);
    data->setGeometry(301, 1, 201, 189);
    data->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    data->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Three-letter names do not fit seven columns in 201 pixels.
    data->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    data->setCursor(Qt::PointingHandCursor);
    data->setAccessibleName(QStringLiteral("Data do Aviso"));
    NomeiaCalendario(data);
    // Keys move the date too: the sentence follows every change, not only clicks.
    connect(data, &QCalendarWidget::selectionChanged, this, [this] { dataClick(data); });
    // Another month or year shown takes the same day there (the month's last when shorter),
    // so the date OK saves is always one the user can see.
    connect(data, &QCalendarWidget::currentPageChanged, this, [this](int ano, int mes) {
        const QDate inicio(ano, mes, 1);
        data->setSelectedDate(QDate(ano, mes, std::min(data->selectedDate().day(), inicio.daysInMonth())));
    });
}

void Tfrm_cadastro::MontaRelogio()
{
    Label4 = CriaCaixaTexto(
        Panel1, QRect(503, 33, 202, 50), QStringLiteral("00:00:00"), FonteRelogio(202), Qt::AlignHCenter, Azul);
    // Digits have no descenders: centring the line keeps them whole in the 50-pixel box.
    Label4->setAlignment(Qt::AlignCenter);
    Image2 = CriaFigura(Panel1, QRect(505, 107, 194, 73), QPixmap(QStringLiteral(":/img/relogio.png")));
}

void Tfrm_cadastro::MontaLinhaHora()
{
    Label2 = CriaRotulo(Panel1, QPoint(16, 204), QStringLiteral("Hora do Aviso:"), Fonte(16, true), Azul);

    MaskEdit1 = new QLineEdit(Panel1);
    MaskEdit1->setGeometry(134, 199, 57, 28);
    MaskEdit1->setFont(Fonte(16, true));
    // Every digit optional: a blank position is kept as a space in the five-character text.
    MaskEdit1->setInputMask(QStringLiteral("00:00;_"));
    MaskEdit1->setMaxLength(5);
    MaskEdit1->setText(QStringLiteral("  :  "));
    MaskEdit1->setAccessibleName(QStringLiteral("Hora do Aviso"));
    ExpoeTextoInteiro(MaskEdit1);
    Label2->setBuddy(MaskEdit1);
    connect(MaskEdit1, &QLineEdit::textChanged, this, [this] { MaskEdit1Change(MaskEdit1); });

    Label11 = CriaRotulo(Panel1, QPoint(218, 203), QStringLiteral("Status"), Fonte(16, true));
}

// The confirmation panel: modality and message on the left, date and time on the right.
void Tfrm_cadastro::MontaPagina2()
{
    Panel2 = CriaPainel(this, QRect(0, 0, 740, 395));
    Panel2->hide();

    Label8 = CriaRotulo(Panel2, QPoint(15, 14), QStringLiteral("Modalidade:"), Fonte(16), Azul);
    Label7 = CriaCaixaTexto(
        Panel2, QRect(113, 14, 352, 20), QStringLiteral("[]"), Fonte(16, true), Qt::AlignLeft, Vermelho);

    Memo1 = new QPlainTextEdit(Panel2);
    Memo1->setGeometry(16, 40, 505, 268);
    Memo1->setFont(Fonte(16));
    QPalette amarelo = Memo1->palette();
    amarelo.setColor(QPalette::Base, QColor(255, 255, 242));
    Memo1->setPalette(amarelo);
    Memo1->setTabChangesFocus(true);
    Memo1->setAccessibleName(QStringLiteral("Mensagem"));

    Label12
        = CriaCaixaTexto(Panel2, QRect(16, 314, 505, 13), QStringLiteral("Status"), Fonte(11, true), Qt::AlignHCenter);

    Label1 = CriaRotulo(Panel2, QPoint(558, 34), QStringLiteral("Data do Aviso:"), Fonte(16), Azul);
    Label3 = CriaCaixaTexto(Panel2, QRect(528, 55, 181, 20), QStringLiteral("[]"), Fonte(16, true), Qt::AlignHCenter);
    Label9 = CriaCaixaTexto(
        Panel2, QRect(526, 82, 181, 20), QStringLiteral("[]"), Fonte(13, true), Qt::AlignHCenter, Vermelho);
    Label5 = CriaRotulo(Panel2, QPoint(561, 150), QStringLiteral("Hora do Aviso:"), Fonte(16), Azul);
    Label6 = CriaCaixaTexto(Panel2, QRect(531, 174, 181, 20), QStringLiteral("[]"), Fonte(16, true), Qt::AlignHCenter);

    Bevel1 = CriaRegua(Panel2, QRect(0, 395 - 56, 740, 2));

    BitBtn2
        = CriaBotaoDeMao(Panel2, QRect(143, 351, 144, 32), QStringLiteral("&Salvar"), QStringLiteral(":/img/ok.png"));
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(BitBtn2); });
    BitBtn3 = CriaBotaoDeMao(
        Panel2, QRect(407, 351, 144, 32), QStringLiteral("Cancelar"), QStringLiteral(":/img/cancelar.png"));
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(BitBtn3); });

    setTabOrder(Memo1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);
}

void Tfrm_cadastro::FormCreate(QObject *)
{
    // Dates are written "dd/MM/yyyy" wherever they are shown; there is no locale to set.
    Panel2->setGeometry(rect());
}

void Tfrm_cadastro::FormShow(QObject *)
{
    const QDateTime agora = platform().now();
    MaskEdit1->setText(agora.toString(QStringLiteral("HH:mm:ss")).left(5));
    data->setSelectedDate(agora.date());
    AtualizaStatus();
}

void Tfrm_cadastro::FormClose(QObject *)
{
    if (OnClose)
        OnClose(this);
}

void Tfrm_cadastro::Timer1Timer(QObject *)
{
    Label4->setText(platform().now().toString(QStringLiteral("HH:mm:ss")));
}

void Tfrm_cadastro::dataClick(QObject *)
{
    AtualizaStatus();
}
void Tfrm_cadastro::RadioGroup1Click(QObject *)
{
    AtualizaStatus();
}
void Tfrm_cadastro::MaskEdit1Change(QObject *)
{
    MaskEdit1->setAccessibleDescription(QString());
    AtualizaStatus();
}

QString Tfrm_cadastro::HoraDigitada() const
{
    return MaskEdit1->displayText().replace(QLatin1Char('_'), QLatin1Char(' '));
}

void Tfrm_cadastro::AtualizaStatus()
{
    const QString frase = FraseStatus(data->selectedDate(), RadioGroup1->ItemIndex(), HoraDigitada());
    Label11->setText(frase);
    Label11->adjustSize();
    Label12->setText(frase);
}

void Tfrm_cadastro::BitBtn1Click(QObject *)
{
    auto aviso = [](const QString &texto) { platform().messageBox(texto, TituloAplicacao, Platform::Botoes::Ok); };

    const std::optional<HoraAviso> hora = LeHoraAviso(HoraDigitada());
    if (!hora) {
        aviso(QStringLiteral("Campo Hora está com dados Inválidos - Verifique !!"));
        MaskEdit1->setFocus();
        return;
    }
    const QDate dia = data->selectedDate();
    if (!dia.isValid()) {
        aviso(QStringLiteral("Data Inválida"));
        return;
    }
    if (!ConsultaEspecifica(dia.day(), dia.month(), dia.year(), hora->hora, hora->minuto).isEmpty()) {
        aviso(QStringLiteral("Agenda já possui registro para data em especifico"));
        return;
    }
    if (!ConsultaMensal(dia.day(), hora->hora, hora->minuto).isEmpty()) {
        aviso(QStringLiteral("Agenda já possui registro para data Mensalmente"));
        return;
    }
    if (!ConsultaAnual(dia.day(), dia.month(), hora->hora, hora->minuto).isEmpty()) {
        aviso(QStringLiteral("Agenda já possui registro para data Anualmente"));
        return;
    }

    Label3->setText(dia.toString(QStringLiteral("dd/MM/yyyy")));
    Label6->setText(TextoHoraAviso(*hora));
    Label7->setText(RadioGroup1->Items().value(RadioGroup1->ItemIndex()));
    Label9->setText(NomeDiaSemana(dia));
    Memo1->clear();
    MostraConfirmacao(true);
    Memo1->setFocus();
}

void Tfrm_cadastro::BitBtn2Click(QObject *)
{
    auto aviso = [](const QString &texto) { platform().messageBox(texto, TituloAplicacao, Platform::Botoes::Ok); };

    const QString mensagem = Memo1->toPlainText();
    if (mensagem.isEmpty()) {
        aviso(QStringLiteral("Campo para mensagem de agenda vazio - verifique !!"));
        return;
    }
    // The first page is out of reach while the panel is up, so the time is the one OK accepted.
    const std::optional<HoraAviso> hora = LeHoraAviso(HoraDigitada());
    if (!hora) {
        MostraConfirmacao(false);
        return;
    }
    bool gravou = false;
    try {
        gravou = IncluiLembrete(data->selectedDate(), TextoHoraAviso(*hora), RadioGroup1->ItemIndex(), mensagem);
    } catch (const std::exception &erro) {
        // An index that exists but cannot be read: nothing was written, the message stays.
        platform().reportError(QString::fromUtf8(erro.what()));
        return;
    }
    if (!gravou) {
        // Keep the panel and the message so the user can free the folder and try again.
        aviso(QStringLiteral("Erro de Gravação do Arquivo"));
        return;
    }
    if (OnSave)
        OnSave(this);
    // Nothing on screen says the reminder was written; a screen reader is told with the time
    // field, where the focus goes, until the field changes or loses the focus.
    MaskEdit1->setAccessibleDescription(QStringLiteral("Aviso gravado. ") + Label11->text());
    MostraConfirmacao(false);
}

void Tfrm_cadastro::BitBtn3Click(QObject *)
{
    MostraConfirmacao(false);
}

void Tfrm_cadastro::BitBtn4Click(QObject *)
{
    close();
}

// The first page hides behind the panel, so Tab cannot wander onto controls the user cannot see.
// Back on the first page the focus is on the time, the field most often changed before the next
// reminder; Enter there is OK again.
void Tfrm_cadastro::MostraConfirmacao(bool mostra)
{
    if (mostra) {
        Panel2->show();
        Panel2->raise();
        Panel1->hide();
    } else {
        Panel1->show();
        Panel2->hide();
        MaskEdit1->setFocus();
    }
}

// The clock runs only while the window can be seen: a closed (hidden) or minimised window costs
// nothing. Coming back it shows the time at once rather than the one it stopped at.
void Tfrm_cadastro::AcertaRelogio()
{
    if (!isVisible() || isMinimized()) {
        Timer1->stop();
        return;
    }
    if (Timer1->isActive())
        return;
    Timer1Timer(Timer1);
    Timer1->start();
}

void Tfrm_cadastro::showEvent(QShowEvent *evento)
{
    QWidget::showEvent(evento);
    AcertaRelogio();
    if (evento->spontaneous() || !m_novaExibicao)
        return;
    m_novaExibicao = false;
    CentraNaTela(this, screen());
    FormShow(this);
}

void Tfrm_cadastro::hideEvent(QHideEvent *evento)
{
    QWidget::hideEvent(evento);
    AcertaRelogio();
}

void Tfrm_cadastro::changeEvent(QEvent *evento)
{
    QWidget::changeEvent(evento);
    if (evento->type() == QEvent::WindowStateChange)
        AcertaRelogio();
}

void Tfrm_cadastro::closeEvent(QCloseEvent *evento)
{
    QWidget::closeEvent(evento);
    m_novaExibicao = true;
    FormClose(this);
}

void Tfrm_cadastro::keyPressEvent(QKeyEvent *evento)
{
    if (!TrataTecla(this, evento))
        QWidget::keyPressEvent(evento);
}

bool Tfrm_cadastro::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == MaskEdit1 && evento->type() == QEvent::FocusOut)
        MaskEdit1->setAccessibleDescription(QString());
    if (evento->type() == QEvent::KeyPress && TrataTecla(objeto, static_cast<QKeyEvent *>(evento)))
        return true;
    return QWidget::eventFilter(objeto, evento);
}

// Enter clicks the focused button, or OK on the first page; in the memo it makes a new line.
// Esc is "Cancelar" while the confirmation panel is up.
bool Tfrm_cadastro::TrataTecla(QObject *objeto, QKeyEvent *tecla)
{
    if ((tecla->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    switch (tecla->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // The memo makes a new line; the calendar's month menu picks its month.
        if (objeto == Memo1 || qobject_cast<QMenu *>(objeto))
            return false;
        // In the calendar's year editor Enter ends the editing, as leaving it does; the user
        // goes on to pick the day, so it is not OK with the year not yet taken.
        for (QObject *o = objeto; o && o != this; o = o->parent())
            if (qobject_cast<QAbstractSpinBox *>(o)) {
                data->setFocus();
                return true;
            }
        if (auto *focado = qobject_cast<QPushButton *>(objeto)) {
            focado->click();
            return true;
        }
        if (Panel2->isHidden()) {
            BitBtn1->click();
            return true;
        }
        return false;
    case Qt::Key_Escape:
        if (Panel2->isHidden())
            return false;
        BitBtn3->click();
        return true;
    default:
        return false;
    }
}
