#include "controls/pinturaflat.h"

#include "controls/desenhoflat.h"
#include "controls/drawtext.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyleOption>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

#include <algorithm>

namespace {

QColor CorDoFundo(const QWidget *w)
{
    return w->palette().color(w->backgroundRole());
}

// The control's own Color: the face the user types on for edits and grids, else its
// background.
QColor CorDoControle(const QWidget *w)
{
    if (auto *area = qobject_cast<const QAbstractScrollArea *>(w))
        return CorDoFundo(area->viewport());
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w)
        || qobject_cast<const QComboBox *>(w))
        return w->palette().color(QPalette::Base);
    return CorDoFundo(w);
}

bool EhGrade(const QWidget *w)
{
    return qobject_cast<const QTableView *>(w) || w->inherits("TStringGrid");
}

} // namespace

TTipoControle TipoControle(const QWidget *w)
{
    if (qobject_cast<const QLineEdit *>(w) || qobject_cast<const QTextEdit *>(w)
        || qobject_cast<const QPlainTextEdit *>(w) || EhGrade(w))
        return TTipoControle::Edit;
    if (auto *botao = qobject_cast<const QPushButton *>(w))
        return botao->icon().isNull() ? TTipoControle::Botao : TTipoControle::BitBtn;
    if (qobject_cast<const QRadioButton *>(w))
        return TTipoControle::Radio;
    if (qobject_cast<const QGroupBox *>(w))
        return TTipoControle::Grupo;
    // The three controls of other libraries known by name only map to Qt's spin box,
    // progress bar and combo box.
    if (qobject_cast<const QAbstractSpinBox *>(w))
        return TTipoControle::UpDown;
    if (qobject_cast<const QProgressBar *>(w))
        return TTipoControle::Gauge;
    if (qobject_cast<const QComboBox *>(w))
        return TTipoControle::Combo;
    return TTipoControle::Nenhum;
}

namespace {

bool BordaAfundada(const QWidget *w)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(w))
        return edit->hasFrame();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(w))
        return spin->hasFrame();
    if (auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->hasFrame();
    if (auto *moldura = qobject_cast<const QFrame *>(w))
        return moldura->frameShape() != QFrame::NoFrame && moldura->frameShadow() == QFrame::Sunken
            && moldura->frameWidth() > 0;
    return false;
}

// The face of a flat button cell: white above the gradient, which starts a quarter down (half
// when hot and not pressed); pressed turns the fill darker and the gradient around.
void FaceDoBotao(QPainter &p, const QRect &r, bool quente, bool pressionado, bool apertado)
{
    const int inicio = (quente && !pressionado && !apertado) ? r.height() / 2 : r.height() / 4;
    const QRect g(r.left(), r.top() + inicio, r.width(), r.height() - inicio);
    if (apertado) {
        p.fillRect(r, FlatCores::FaceEscura);
        GradientFill(p, g, TDirecaoPreenchimento::Vertical, FlatCores::FaceEscura, Qt::white);
    } else {
        p.fillRect(r, Qt::white);
        GradientFill(p, g, TDirecaoPreenchimento::Vertical, FlatCores::FaceClara, FlatCores::FaceEscura);
    }
}

// A small arrow of pixel rows, 7 wide at its base.
void Seta(QPainter &p, const QRect &r, bool paraCima, const QColor &cor)
{
    const int cx = r.left() + r.width() / 2;
    const int cy = r.top() + r.height() / 2;
    for (int k = 0; k < 4; ++k) {
        if (paraCima)
            LinhaH(p, cx - k, cx + k, cy - 2 + k, cor);
        else
            LinhaH(p, cx - 3 + k, cx + 3 - k, cy - 1 + k, cor);
    }
}

// A flat cell used by the painter's own looks for spin, combo and gauge controls.
void CelulaPlana(QPainter &p, const QRect &r, bool quente, bool apertado)
{
    if (r.width() < 3 || r.height() < 3)
        return;
    FaceDoBotao(p, r, quente, apertado, apertado);
    Contorno(p, r, FlatCores::ContornoBotao);
    if (quente && !apertado && r.width() > 5 && r.height() > 5)
        DoubleFrame(p, r.adjusted(1, 1, -1, -1), ConjuntoQuente);
}

// The glyph images a button carries: index 0 normal, 1 disabled, 2 pressed (the icon's
// Active mode). Returns how many there are, counting up to the last one present.
int ContaGlifos(const QIcon &icone)
{
    if (!icone.availableSizes(QIcon::Active).isEmpty())
        return 3;
    if (!icone.availableSizes(QIcon::Disabled).isEmpty())
        return 2;
    return 1;
}

// Steps shared by plain and glyph push buttons: face, outline, double frame, softened
// corners and focus rectangle.
void FundoDoBotao(QPainter &p, QPushButton *botao, const EstadoDoControle &estado, bool comGlifo)
{
    const QRect r = botao->rect();
    const bool apertado = (estado.pressionado && estado.quente) || estado.espaco;
    FaceDoBotao(p, r, estado.quente, estado.pressionado || estado.espaco, apertado);
    ContornoArredondado(p, r, 4, FlatCores::ContornoBotao);

    if (!estado.pressionado && !estado.espaco) {
        const QRect dentro = r.adjusted(1, 1, -1, -1);
        if (estado.quente) {
            DoubleFrame(p, dentro, ConjuntoQuente);
        } else if (botao->hasFocus()) {
            DoubleFrame(p, dentro, ConjuntoFoco);
        } else if (botao->isDefault()) {
            auto *ativo = qobject_cast<QPushButton *>(QApplication::focusWidget());
            const bool ativoEhBotao = ativo && (!comGlifo || !ativo->icon().isNull());
            if (!ativoEhBotao)
                DoubleFrame(p, dentro, ConjuntoFoco);
        }
    }
    const QWidget *pai = botao->parentWidget();
    SoftenCorners(p, r, FlatCores::ContornoBotao, pai ? CorDoFundo(pai) : CorDoFundo(botao));
    if (botao->hasFocus())
        RetanguloFoco(p, r.adjusted(2, 2, -2, -2));
}

void FonteDoBotao(QPainter &p, const QWidget *botao)
{
    p.setFont(botao->font());
    p.setPen(botao->isEnabled() ? botao->palette().color(QPalette::ButtonText) : FlatCores::TextoDesabilitado);
    p.setBackgroundMode(Qt::TransparentMode);
}

} // namespace

void PaintEditFrame(QPainter &p, QWidget *control)
{
    if (!BordaAfundada(control))
        return;
    const QRect r = control->rect();
    Contorno(p, r, FlatCores::MolduraEdit);
    Contorno(p, r.adjusted(1, 1, -1, -1), CorDoControle(control));
}

void PaintPushButton(QPainter &p, QPushButton *botao, const EstadoDoControle &estado)
{
    FundoDoBotao(p, botao, estado, false);
    FonteDoBotao(p, botao);
    QRect r = botao->rect().adjusted(3, 0, -3, 0);
    DrawText(p, botao->text(), r, DT::SingleLine | DT::Center | DT::VCenter | DT::EndEllipsis);
}

void PaintBitButton(QPainter &p, QPushButton *botao, const EstadoDoControle &estado)
{
    FundoDoBotao(p, botao, estado, true);

    const QIcon icone = botao->icon();
    const int imagens = ContaGlifos(icone);
    QIcon::Mode modo = QIcon::Normal;
    if (!botao->isEnabled() && imagens >= 2)
        modo = QIcon::Disabled;
    else if (estado.pressionado && imagens > 2)
        modo = QIcon::Active;
    const QPixmap glifo = icone.pixmap(botao->iconSize(), EscalaDoPintor(p), modo);

    FonteDoBotao(p, botao);
    const QVariant layout = botao->property(PropriedadeLayout);
    const QVariant espaco = botao->property(PropriedadeSpacing);
    LayoutGlyphAndCaption(p, botao->rect(), glifo, true, estado.pressionado || estado.espaco,
        layout.isValid() ? layout.toInt() : 0, espaco.isValid() ? espaco.toInt() : 4, botao->text());
}

void PaintRadioButton(QPainter &p, QRadioButton *radio, const EstadoDoControle &estado)
{
    const QRect r = radio->rect();
    const QColor fundo = CorDoControle(radio);
    // The caption sits right of the button unless the control reads right to left.
    const int x = radio->layoutDirection() == Qt::RightToLeft ? r.right() - 13 : r.left();
    p.fillRect(x, r.top(), 14, r.height(), fundo);
    const int y = r.top() + (r.height() - 14) / 2;
    // The image is made of whole pixels: on a high-density screen they would be stretched
    // unevenly and the rim would break up, so the circle is drawn at the screen's own pixels.
    if (qFuzzyCompare(EscalaDoPintor(p), 1.0))
        p.drawImage(x, y, ImagemRadio(estado.quente, radio->isChecked(), fundo));
    else
        DesenhaRadio(p, QPointF(x, y), estado.quente, radio->isChecked());
}

void PaintGroupBox(QPainter &p, QGroupBox *grupo, const EstadoDoControle &)
{
    QFont fonte = grupo->font();
    const QColor corTitulo
        = grupo->testAttribute(Qt::WA_SetFont) ? grupo->palette().color(QPalette::WindowText) : FlatCores::TituloGrupo;
    const QColor fundo = CorDoControle(grupo);
    QRect medidaH(0, 0, 0, 0);
    MedeTexto(fonte, QStringLiteral("H"), medidaH, DT::CalcRect | DT::SingleLine);

    // Qt's styles place the title and frame their own way: the whole face goes back to the
    // background first (the items are child widgets and paint afterwards).
    if (!grupo->isCheckable())
        p.fillRect(grupo->rect(), fundo);
    QRect moldura = grupo->rect();
    moldura.setTop(moldura.top() + medidaH.height() / 2 - 1);
    Contorno(p, moldura, fundo);
    const QRect dentro = moldura.adjusted(1, 1, -1, -1);
    Contorno(p, dentro, fundo);
    ContornoArredondado(p, dentro, 6, FlatCores::MolduraGrupo);

    const QString titulo = grupo->title();
    if (titulo.isEmpty())
        return;
    p.setFont(fonte);
    p.setPen(corTitulo);
    QRect legenda(8, 0, 0, 0);
    DrawText(p, titulo, legenda, DT::CalcRect | DT::SingleLine);
    legenda.setRight(std::min(legenda.right(), grupo->rect().right()));
    p.fillRect(legenda, fundo);
    DrawText(p, titulo, legenda, DT::SingleLine);
}

void PaintUpDown(QPainter &p, QWidget *control, const EstadoDoControle &estado)
{
    auto *spin = qobject_cast<QAbstractSpinBox *>(control);
    if (!spin)
        return;
    PaintEditFrame(p, control);
    if (spin->buttonSymbols() == QAbstractSpinBox::NoButtons)
        return;
    QStyleOptionSpinBox opcao;
    opcao.initFrom(spin);
    opcao.rect = spin->rect();
    opcao.frame = spin->hasFrame();
    opcao.buttonSymbols = spin->buttonSymbols();
    opcao.subControls
        = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame | QStyle::SC_SpinBoxEditField;
    const QRect limite = spin->rect().adjusted(1, 1, -1, -1);
    const QColor corSeta = spin->isEnabled() ? QColor(Qt::black) : FlatCores::TextoDesabilitado;
    for (const bool cima : { true, false }) {
        const QRect r = spin->style()
                            ->subControlRect(
                                QStyle::CC_SpinBox, &opcao, cima ? QStyle::SC_SpinBoxUp : QStyle::SC_SpinBoxDown, spin)
                            .intersected(limite);
        const bool quente = spin->isEnabled() && estado.quente && r.contains(estado.posicaoMouse);
        CelulaPlana(p, r, quente, quente && estado.pressionado);
        Seta(p, r, cima, corSeta);
    }
}

void PaintGauge(QPainter &p, QWidget *control)
{
    auto *barra = qobject_cast<QProgressBar *>(control);
    if (!barra)
        return;
    const QRect r = barra->rect();
    Contorno(p, r, FlatCores::MolduraEdit);
    const QRect dentro = r.adjusted(1, 1, -1, -1);
    p.fillRect(dentro, Qt::white);
    const qint64 faixa = qint64(barra->maximum()) - barra->minimum();
    const qint64 feito = std::clamp<qint64>(qint64(barra->value()) - barra->minimum(), 0, faixa);
    if (faixa > 0 && feito > 0) {
        QRect cheio = dentro;
        if (barra->orientation() == Qt::Horizontal) {
            const int w = int(dentro.width() * feito / faixa);
            cheio.setWidth(w);
            if (barra->invertedAppearance())
                cheio.moveRight(dentro.right());
            GradientFill(p, cheio, TDirecaoPreenchimento::Vertical, ConjuntoFoco.externaTopo, ConjuntoFoco.externaBase);
        } else {
            const int h = int(dentro.height() * feito / faixa);
            cheio.setTop(dentro.bottom() - h + 1);
            if (barra->invertedAppearance())
                cheio.moveTop(dentro.top());
            GradientFill(
                p, cheio, TDirecaoPreenchimento::Horizontal, ConjuntoFoco.externaTopo, ConjuntoFoco.externaBase);
        }
    }
    if (barra->isTextVisible() && barra->orientation() == Qt::Horizontal) {
        p.setFont(barra->font());
        p.setPen(barra->isEnabled() ? barra->palette().color(QPalette::WindowText) : FlatCores::TextoDesabilitado);
        QRect texto = r;
        DrawText(p, barra->text(), texto, DT::SingleLine | DT::Center | DT::VCenter | DT::NoPrefix);
    }
}

void PaintComboButton(QPainter &p, QWidget *control, const EstadoDoControle &estado)
{
    auto *combo = qobject_cast<QComboBox *>(control);
    if (!combo)
        return;
    PaintEditFrame(p, control);
    QStyleOptionComboBox opcao;
    opcao.initFrom(combo);
    opcao.rect = combo->rect();
    opcao.editable = combo->isEditable();
    opcao.frame = combo->hasFrame();
    opcao.subControls = QStyle::SC_All;
    const QRect r = combo->style()
                        ->subControlRect(QStyle::CC_ComboBox, &opcao, QStyle::SC_ComboBoxArrow, combo)
                        .intersected(combo->rect().adjusted(2, 2, -2, -2));
    const bool quente = combo->isEnabled() && estado.quente;
    CelulaPlana(p, r, quente, quente && estado.pressionado);
    Seta(p, r, false, combo->isEnabled() ? QColor(Qt::black) : FlatCores::TextoDesabilitado);
}

void DrawMenuItem(QPainter &p, const QStyleOptionMenuItem &item, bool itemDaBarra, const QWidget *)
{
    const QRect R = item.rect;
    const bool temImagem = !item.icon.isNull();
    const int b = (itemDaBarra && !temImagem) ? 0 : 24;
    const QRect I(R.left(), R.top(), b, R.height());
    const QRect X(R.left() + b, R.top(), R.width() - b, R.height());
    const QColor janela = item.palette.color(QPalette::Base);
    const bool habilitado = item.state & QStyle::State_Enabled;

    p.fillRect(R, janela);
    if (itemDaBarra)
        p.fillRect(I, janela);
    else
        GradientFill(p, I, TDirecaoPreenchimento::Horizontal, janela, FlatCores::ColunaMenu);

    // A bar item under the mouse is hot; once its menu is open (sunken) it is selected.
    const bool marcado = item.state & QStyle::State_Selected;
    const bool quente = itemDaBarra && marcado && !(item.state & QStyle::State_Sunken);
    if (marcado) {
        Contorno(p, R, FlatCores::MolduraItem);
        const QRect dentro = R.adjusted(1, 1, -1, -1);
        if (itemDaBarra) {
            const QColor fim = quente ? FlatCores::BarraQuente : FlatCores::ColunaMenu;
            GradientFill(p, dentro, TDirecaoPreenchimento::Vertical, BlendColor(janela, fim, 25), fim);
        } else {
            p.fillRect(dentro, FlatCores::ItemSelecionado);
        }
    }

    if (!itemDaBarra && item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked) {
        const QRect caixa = I.adjusted(3, 3, -3, -3);
        p.fillRect(caixa, marcado ? FlatCores::MarcaSelecionada : FlatCores::MarcaNormal);
        Contorno(p, caixa, FlatCores::MolduraItem);
        const int l = caixa.left() + (caixa.width() - 9) / 2;
        const int t = caixa.top() + (caixa.height() - 10) / 2;
        for (int i = 1; i <= 3; ++i) {
            for (int k = 0; k < 2; ++k)
                Pixel(p, l + 2 + k, t + i + 3 + k, Qt::black);
            for (int k = 0; k < 5; ++k)
                Pixel(p, l + 4 + k, t + i + 5 - k, Qt::black);
        }
    }

    if (temImagem) {
        const int lado = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize);
        QPixmap imagem = item.icon.pixmap(QSize(lado, lado));
        if (!habilitado)
            imagem = QPixmap::fromImage(ImagemCinza(imagem.toImage()));
        LayoutGlyphAndCaption(p, I, imagem, true, false, 0, 0, QString());
    }

    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        LinhaH(p, X.left() + 6, X.right(), X.top() + X.height() / 2, FlatCores::Separador);
        return;
    }

    QFont fonte = item.font;
    fonte.setBold(item.menuItemType == QStyleOptionMenuItem::DefaultItem);
    fonte.setItalic(false);
    fonte.setUnderline(false);
    fonte.setStrikeOut(false);
    p.setFont(fonte);
    p.setPen(habilitado ? item.palette.color(QPalette::Active, QPalette::Text)
                        : item.palette.color(QPalette::Disabled, QPalette::Text));
    p.setBackgroundMode(Qt::TransparentMode);
    // Qt carries the shortcut after a tab in the item's text.
    const qsizetype tab = item.text.indexOf(QLatin1Char('\t'));
    const QString legenda = tab < 0 ? item.text : item.text.left(tab);
    const QString atalho = tab < 0 ? QString() : item.text.mid(tab + 1);
    QRect texto = X.adjusted(6, 0, -6, 0);
    DrawText(p, legenda, texto, DT::SingleLine | DT::VCenter | DT::Left);
    if (!itemDaBarra && !atalho.isEmpty()) {
        texto = X.adjusted(6, 0, -6, 0);
        DrawText(p, atalho, texto, DT::SingleLine | DT::VCenter | DT::Right | DT::NoPrefix);
    }
}
