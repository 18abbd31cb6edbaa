#pragma once

#include <QEvent>
#include <QObject>
#include <QPoint>

class QWidget;
class TFlatStyle;

// Sits in front of one control's event handling: hands each event to the control, then keeps
// the pressed, hot and space flags and paints the flat look over what the control painted.
class THookWindowProc : public QObject
{
    Q_OBJECT
public:
    THookWindowProc(TFlatStyle *owner, QWidget *control);
    // Gives the control its own handling back when the hook goes first.
    ~THookWindowProc() override;

    QWidget *Control() const { return m_control; }
    bool Pressed() const { return m_pressed; }
    bool Hot() const { return m_hot; }
    QEvent::Type LastMessage() const { return m_lastMessage; }
    bool Space() const { return m_space; }
    // Where the pointer was last seen over the control (spin arrows light up one at a time).
    QPoint PosicaoMouse() const { return m_posMouse; }

    // The hook in front of a control, or null.
    static THookWindowProc *HookOf(const QWidget *control);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void HookedWindowProc(QEvent *evento);
    void PaintFlat(QEvent *evento);
    void Pinta();

    TFlatStyle *m_owner;
    QWidget *m_control;
    bool m_pressed = false;
    bool m_hot = false;
    QEvent::Type m_lastMessage = QEvent::None;
    bool m_space = false;
    QPoint m_posMouse;
};
