#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

enum TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Shift-state set: the modifier keys held and the button of a press or release.
using TShiftState = unsigned;
enum : TShiftState {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};

// The icon's mouse activity, numbered as the notification area reports it.
namespace AtividadeBandeja {
inline constexpr quintptr Move = 0x200;
inline constexpr quintptr LeftDown = 0x201;
inline constexpr quintptr LeftUp = 0x202;
inline constexpr quintptr LeftDblClk = 0x203;
inline constexpr quintptr RightDown = 0x204;
inline constexpr quintptr RightUp = 0x205;
inline constexpr quintptr RightDblClk = 0x206;
inline constexpr quintptr MiddleDown = 0x207;
inline constexpr quintptr MiddleUp = 0x208;
inline constexpr quintptr MiddleDblClk = 0x209;
} // namespace AtividadeBandeja

// The message number the icon's activity arrives under; anything else is not the icon's.
inline constexpr unsigned WM_TRAYNOTIFY = 0x444;

// What the component hands to the notification area on every add, modify and delete.
struct TNotifyIconData
{
    static constexpr unsigned NIF_MESSAGE = 1;
    static constexpr unsigned NIF_ICON = 2;
    static constexpr unsigned NIF_TIP = 4;
    // Room for the tip text, its terminating zero included.
    static constexpr int TamanhoDica = 64;

    unsigned cbSize = 88;
    const QObject *hWnd = nullptr; // who receives the icon's messages
    unsigned uID = 0;
    unsigned uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    unsigned uCallbackMessage = WM_TRAYNOTIFY;
    QIcon hIcon;
    QString szTip; // at most TamanhoDica - 1 characters; empty means no tooltip
};

// The first 63 characters of a tip; a character outside the basic plane counts as one and is
// never split.
QString CortaDica(const QString &dica);

// The desktop side of the tray icon. The component asks; the backend answers mouse activity
// and the main window's minimising through the two callbacks the component sets.
class TTrayBackend
{
public:
    virtual ~TTrayBackend() = default;

    virtual void Adiciona(const TNotifyIconData &registro) = 0;
    virtual void Modifica(const TNotifyIconData &registro) = 0;
    virtual void Remove(const TNotifyIconData &registro) = 0;

    // Screen coordinates.
    virtual QPoint PosicaoCursor() = 0;
    // Only ssShift, ssCtrl and ssAlt.
    virtual TShiftState EstadoTeclado() = 0;
    virtual void ProcessaMensagens() = 0;
    // Brings the main window forward and pops the menu up at the position; returns once the
    // menu has closed.
    virtual void MostraMenu(QMenu *menu, const QPoint &posicao) = 0;
    // Takes the main window and its taskbar entry off the screen.
    virtual void OcultaAplicacao() = 0;
    // Whether the desktop has a notification area the icon can live in right now.
    virtual bool AreaDisponivel() = 0;
    // The menu to hand to a panel that draws the icon's menu itself (none: no menu there).
    virtual void PublicaMenu(QMenu *menu) = 0;

    // Mouse activity on the icon (one of AtividadeBandeja).
    std::function<void(quintptr atividade)> AoAtividade;
    // The main window has been minimised (or is minimised when a notification area appears).
    std::function<void()> AoMinimizar;
};

// Version information every component of ours carries.
class TBaseComponent : public QObject
{
    Q_OBJECT
public:
    explicit TBaseComponent(QObject *owner = nullptr);

    QString Version() const { return m_version; }

private:
    QString m_version = QStringLiteral("1.3");
};

// An icon with a tooltip in the notification area, its mouse activity as events, a popup
// menu, and the main window taken off the taskbar when minimised.
class TCustomTrayIcon : public TBaseComponent
{
    Q_OBJECT
public:
    // Without a backend the icon goes to the real notification area.
    explicit TCustomTrayIcon(QObject *owner = nullptr, std::unique_ptr<TTrayBackend> backend = {});
    ~TCustomTrayIcon() override;

    // Swaps the desktop side; an icon already shown is shown again through the new one.
    void setBackend(std::unique_ptr<TTrayBackend> backend);
    TTrayBackend *Backend() const { return m_backend.get(); }

    QIcon Icon() const { return m_icon; }
    void setIcon(const QIcon &icone);
    bool Visible() const { return m_visible; }
    void setVisible(bool valor);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool valor) { m_enabled = valor; }
    QString Hint() const { return m_hint; }
    void setHint(const QString &texto);
    bool ShowHint() const { return m_showHint; }
    void setShowHint(bool valor);
    QMenu *PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu *menu);
    bool HideTaskBtn() const { return m_hideTaskBtn; }
    void setHideTaskBtn(bool valor) { m_hideTaskBtn = valor; }
    bool LeftBtnPopup() const { return m_leftBtnPopup; }
    void setLeftBtnPopup(bool valor) { m_leftBtnPopup = valor; }

    // What the notification area was last given, and whether the icon is there.
    const TNotifyIconData &Registro() const { return m_registro; }
    bool Adicionado() const { return m_adicionado; }

    std::function<void(QObject *sender)> OnClick;
    std::function<void(QObject *sender)> OnDblClick;
    std::function<void(QObject *sender, TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(QObject *sender, TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(QObject *sender, TShiftState shift, int x, int y)> OnMouseMove;

protected:
    virtual void WndProc(unsigned mensagem, quintptr lParam);
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton botao, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton botao, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

private:
    void Atualiza();
    void AtualizaDica();
    void MostraPopup();
    void Minimizado();
    void Liga();

    std::unique_ptr<TTrayBackend> m_backend;
    TNotifyIconData m_registro;
    QIcon m_icon;
    bool m_enabled = true;
    QString m_hint;
    bool m_showHint = false;
    bool m_visible = false;
    // Cleared by Qt when the menu is destroyed.
    QPointer<QMenu> m_popupMenu;
    bool m_adicionado = false;
    bool m_clicado = false;
    bool m_hideTaskBtn = false;
    bool m_leftBtnPopup = false;
};

class TTrayIcon : public TCustomTrayIcon
{
    Q_OBJECT
public:
    using TCustomTrayIcon::TCustomTrayIcon;
};
