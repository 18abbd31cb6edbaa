#include "windows/umostra.h"

#include "agenda/alarme.h"
#include "agenda/arquivoagenda.h"
#include "agenda/camposlinha.h"
#include "resources/jpeg.h"
#include "windows/pecasjanela.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

Tform_mostra *form_mostra = nullptr;

namespace {

// Held back from the window under a closed alert: the repeats of the key that closed it, and for
// a double-click interval the clicks that followed the one that closed it. Enter held down on
// the alert would otherwise go on to answer the box beneath, which then has the focus.
class TRetemEntrada : public QObject
{
public:
    TRetemEntrada()
        : QObject(qApp)
    {
        qApp->installEventFilter(this);
        m_fimCliques.start();
    }

protected:
    bool eventFilter(QObject *, QEvent *evento) override
    {
        switch (evento->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (static_cast<QKeyEvent *>(evento)->isAutoRepeat())
                return true;
            // The key is let go, or another one is pressed on purpose: the keyboard is the
            // user's again, and that release is still the alert's.
            deleteLater();
            qApp->removeEventFilter(this);
            return evento->type() == QEvent::KeyRelease;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return !m_fimCliques.hasExpired(QApplication::doubleClickInterval());
        default:
            return false;
        }
    }

private:
    QElapsedTimer m_fimCliques;
};

// The alert's kind, date and time as its labels show them; empty before the first alert.
QString NomeAcessivelAviso(const QString &modalidade, const QString &data, const QString &hora)
{
    if (modalidade == QLatin1String("[]"))
        return {};
    return modalidade + QStringLiteral(", ") + data + QStringLiteral(", ") + hora;
}

// Screen readers read a dialog's own texts only when it is an alert; its title is the message
// file's name, which says nothing. The alert is named by its kind, date and time, and its
// message is its description, so that all of it is read when it opens.
class TAvisoAcessivel : public QAccessibleWidget
{
public:
    explicit TAvisoAcessivel(Tform_mostra *janela)
        : QAccessibleWidget(janela, QAccessible::AlertMessage)
    {
    }
    QString text(QAccessible::Text tipo) const override
    {
        const auto *janela = static_cast<Tform_mostra *>(widget());
        // Asked for while the window is still being built, too.
        if (!janela->Label4 || !janela->Label2 || !janela->Label3 || !janela->Memo1)
            return QAccessibleWidget::text(tipo);
        const QString nome = NomeAcessivelAviso(janela->Label4->text(), janela->Label2->text(), janela->Label3->text());
        if (tipo == QAccessible::Name && !nome.isEmpty())
            return nome;
        if (tipo == QAccessible::Description && !nome.isEmpty())
            return janela->Memo1->toPlainText();
        return QAccessibleWidget::text(tipo);
    }
};

QAccessibleInterface *AvisoAcessivel(const QString &classe, QObject *objeto)
{
    if (classe == QLatin1String("Tform_mostra"))
        return new TAvisoAcessivel(static_cast<Tform_mostra *>(objeto));
    return nullptr;
}

} // namespace

Tform_mostra::Tform_mostra(QWidget *parent)
    : QDialog(parent,
        Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
            | Qt::WindowStaysOnTopHint)
{
    static const bool papelDeAviso = (QAccessible::installFactory(AvisoAcessivel), true);
    (void)papelDeAviso;
    setObjectName(QStringLiteral("form_mostra"));
    setWindowTitle(QStringLiteral("Zelvano Agenda Eletrônica"));
    setFont(Fonte(11));
    setModal(false);

    Panel3 = CriaPainel(this, QRect(0, 0, 710, 417));
    PintaFundo(Panel3, QColor(0, 64, 128));

    Label2 = CriaRotulo(Panel3, QPoint(40, 8), QStringLiteral("[]"), Fonte(19, true), Qt::yellow);
    Label3 = CriaRotulo(Panel3, QPoint(200, 8), QStringLiteral("[]"), Fonte(19, true), Qt::yellow);
    Label4 = CriaRotulo(Panel3, QPoint(40, 40), QStringLiteral("[]"), Fonte(19, true), Qt::white);

    Image1 = CriaFigura(Panel3, QRect(405, 10, 281, 46));

    Memo1 = new QPlainTextEdit(Panel3);
    Memo1->setGeometry(14, 73, 680, 281);
    Memo1->setFont(Fonte(16, true));
    QPalette creme = Memo1->palette();
    creme.setColor(QPalette::Base, QColor(255, 255, 240));
    creme.setColor(QPalette::Text, Qt::black);
    Memo1->setPalette(creme);
    Memo1->setAccessibleName(QStringLiteral("Mensagem"));
    // What is typed here is never kept: Tab goes on to "OK" rather than into the text.
    Memo1->setTabChangesFocus(true);

    BitBtn1 = CriaBotao(Panel3, QRect(11, 362, 688, 38), QStringLiteral("OK"), Fonte(11));
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(BitBtn1); });

    setFixedSize(710, 417);
    DecoraJanela(this);
    CentraNaTela(this, QGuiApplication::primaryScreen());
}

void Tform_mostra::showEvent(QShowEvent *evento)
{
    // Made at start but maybe never shown in a session: its pictures wait for the first alert.
    if (!m_figuras) {
        m_figuras = true;
        Image1->setPixmap(FiguraJpeg(QStringLiteral(":/img/alerta.jpg")));
        PoeGlifo(BitBtn1, QStringLiteral(":/img/ok.png"));
    }
    QDialog::showEvent(evento);
}

void Tform_mostra::MostraAviso(const QByteArray &linha, const QDateTime &agora)
{
    // A box or the About window waiting for an answer blocks every other window, and the alert
    // would come up over it unanswerable while Enter went to the hidden box. Over such a window
    // the alert is modal itself for as long as it is up: it takes the keyboard and the mouse,
    // and the box is left as it was, still waiting, once the alert closes.
    QWidget *aberta = QApplication::activeModalWidget();
    const Qt::WindowModality modalidade = aberta && aberta != this ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != modalidade) {
        // Qt takes a new modality only from a hidden window.
        hide();
        setWindowModality(modalidade);
    }
    const CamposLinha campos = LeCampos(linha);
    const QByteArray nome = campos.arquivo.toByteArray();
    setWindowTitle(TituloAviso(nome));
    Memo1->clear();
    Label4->setText(TextoModalidade(campos.modalidade));
    Label4->adjustSize();
    Label2->setText(TextoData(campos));
    Label2->adjustSize();
    Label3->setText(TextoHora(agora));
    Label3->adjustSize();
    if (const std::optional<QStringList> mensagem = LeMensagem(nome))
        Memo1->setPlainText(mensagem->join(QLatin1Char('\n')));
    else
        Memo1->appendPlainText(QStringLiteral("Arquivo não Encontrado"));
    // Shown once it is filled in: a screen reader reads it as it opens.
    show();
    raise();
    activateWindow();
    BitBtn1->setFocus();
}

void Tform_mostra::BitBtn1Click(QObject *)
{
    close();
}

void Tform_mostra::done(int resultado)
{
    const bool estavaVisivel = isVisible();
    QDialog::done(resultado);
    if (estavaVisivel && windowModality() != Qt::NonModal) {
        setWindowModality(Qt::NonModal);
        if (QApplication::activeModalWidget())
            new TRetemEntrada;
    }
    if (estavaVisivel)
        FormClose(this);
}

void Tform_mostra::FormClose(QObject *)
{
    if (OnClose)
        OnClose(this);
}
