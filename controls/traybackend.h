#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QMenu;

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
