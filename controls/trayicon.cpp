#include "controls/trayicon.h"

#include "controls/qttraybackend.h"

#include <QWidget>

QString CortaDica(const QString &dica)
{
    int fim = 0;
    for (int caracteres = 0; fim < dica.size() && caracteres < TNotifyIconData::TamanhoDica - 1; ++caracteres)
        fim += dica.at(fim).isHighSurrogate() && fim + 1 < dica.size() ? 2 : 1;
    return dica.left(fim);
}

TBaseComponent::TBaseComponent(QObject *owner)
    : QObject(owner)
{
}

namespace {

QWidget *JanelaDe(QObject *owner)
{
    for (QObject *o = owner; o; o = o->parent())
        if (o->isWidgetType())
            return static_cast<QWidget *>(o)->window();
    return nullptr;
}

} // namespace

TCustomTrayIcon::TCustomTrayIcon(QObject *owner, std::unique_ptr<TTrayBackend> backend)
    : TBaseComponent(owner)
    , m_backend(std::move(backend))
{
    if (!m_backend)
        m_backend = std::make_unique<TQtTrayBackend>(JanelaDe(owner));
    m_registro.hWnd = this;
    Liga();
}

TCustomTrayIcon::~TCustomTrayIcon()
{
    setVisible(false);
}

void TCustomTrayIcon::Liga()
{
    m_backend->AoAtividade = [this](quintptr atividade) { WndProc(WM_TRAYNOTIFY, atividade); };
    m_backend->AoMinimizar = [this] { Minimizado(); };
}

void TCustomTrayIcon::setBackend(std::unique_ptr<TTrayBackend> backend)
{
    if (!backend)
        return;
    m_backend = std::move(backend);
    Liga();
    m_backend->PublicaMenu(m_popupMenu);
    if (m_adicionado)
        m_backend->Adiciona(m_registro);
}

void TCustomTrayIcon::setIcon(const QIcon &icone)
{
    // Like a freshly loaded picture, every assignment is passed on to the notification area.
    m_icon = icone;
    Atualiza();
}

void TCustomTrayIcon::setVisible(bool valor)
{
    if (m_visible == valor)
        return;
    m_visible = valor;
    Atualiza();
}

void TCustomTrayIcon::setPopupMenu(QMenu *menu)
{
    m_popupMenu = menu;
    // Some panels never ask the program for its menu: they read it and draw it themselves.
    m_backend->PublicaMenu(menu);
}

void TCustomTrayIcon::setHint(const QString &texto)
{
    if (m_hint == texto)
        return;
    m_hint = texto;
    AtualizaDica();
}

void TCustomTrayIcon::setShowHint(bool valor)
{
    if (m_showHint == valor)
        return;
    m_showHint = valor;
    AtualizaDica();
}

void TCustomTrayIcon::Atualiza()
{
    // Without a picture there is nothing to show, and nothing to take away either.
    if (m_icon.isNull())
        return;
    if (!m_visible) {
        if (m_adicionado) {
            m_backend->Remove(m_registro);
            m_adicionado = false;
        }
        return;
    }
    m_registro.hIcon = m_icon;
    if (m_adicionado) {
        m_backend->Modifica(m_registro);
    } else {
        m_backend->Adiciona(m_registro);
        m_adicionado = true;
    }
}

void TCustomTrayIcon::AtualizaDica()
{
    m_registro.szTip = !m_hint.isEmpty() && m_showHint ? CortaDica(m_hint) : QString();
    Atualiza();
}

void TCustomTrayIcon::WndProc(unsigned mensagem, quintptr lParam)
{
    using namespace AtividadeBandeja;
    if (mensagem != WM_TRAYNOTIFY || !m_enabled)
        return;
    // A press or release reports where the cursor is, then the keys held with the button.
    auto desce = [this](TMouseButton botao, TShiftState doBotao) {
        const QPoint p = m_backend->PosicaoCursor();
        MouseDown(botao, m_backend->EstadoTeclado() | doBotao, p.x(), p.y());
    };
    auto sobe = [this](TMouseButton botao, TShiftState doBotao) {
        const QPoint p = m_backend->PosicaoCursor();
        MouseUp(botao, m_backend->EstadoTeclado() | doBotao, p.x(), p.y());
    };
    switch (lParam) {
    case Move: {
        const QPoint p = m_backend->PosicaoCursor();
        MouseMove(m_backend->EstadoTeclado(), p.x(), p.y());
        break;
    }
    case LeftDown:
        desce(mbLeft, ssLeft);
        m_clicado = true;
        if (m_leftBtnPopup) {
            m_clicado = false;
            MostraPopup();
        }
        break;
    case LeftUp:
        if (m_clicado) {
            m_clicado = false;
            Click();
        }
        sobe(mbLeft, ssLeft);
        break;
    case RightDown:
        desce(mbRight, ssRight);
        MostraPopup();
        break;
    case RightUp:
        sobe(mbRight, ssRight);
        break;
    case MiddleDown:
        desce(mbMiddle, ssMiddle);
        break;
    case MiddleUp:
        sobe(mbMiddle, ssMiddle);
        break;
    case LeftDblClk:
    case RightDblClk:
    case MiddleDblClk:
        DblClick();
        break;
    default:
        break;
    }
}

void TCustomTrayIcon::MostraPopup()
{
    if (!m_popupMenu)
        return;
    const QPoint posicao = m_backend->PosicaoCursor();
    m_backend->ProcessaMensagens();
    // The menu may have gone while the pending messages ran.
    if (m_popupMenu)
        m_backend->MostraMenu(m_popupMenu, posicao);
}

void TCustomTrayIcon::Minimizado()
{
    if (!m_hideTaskBtn)
        return;
    // Hidden with no notification area, the window could never be brought back: then it
    // just stays minimised in the taskbar, and moves to the tray once an area appears.
    if (m_backend->AreaDisponivel())
        m_backend->OcultaAplicacao();
    setVisible(true);
}

void TCustomTrayIcon::Click()
{
    if (OnClick)
        OnClick(this);
}

void TCustomTrayIcon::DblClick()
{
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomTrayIcon::MouseDown(TMouseButton botao, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, botao, shift, x, y);
}

void TCustomTrayIcon::MouseUp(TMouseButton botao, TShiftState shift, int x, int y)
{
    if (OnMouseUp)
        OnMouseUp(this, botao, shift, x, y);
}

void TCustomTrayIcon::MouseMove(TShiftState shift, int x, int y)
{
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}
