#pragma once

#include "controls/traybackend.h"

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

// The first 63 characters of a tip; a character outside the basic plane counts as one and is
// never split.
QString CortaDica(const QString &dica);

// Version information the tray component carries.
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
