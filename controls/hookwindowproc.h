#pragma once

#include "controls/pinturaflat.h"

#include <QEvent>
#include <QObject>
#include <QPoint>

#include <exception>

class QWidget;

// What a hooked control's own handling threw, posted to the application object: the error
// report sees it there, with no exception unwinding through Qt's own frames.
class TEventoExcecao : public QEvent
{
public:
    explicit TEventoExcecao(std::exception_ptr erro);
    static QEvent::Type Tipo();
    std::exception_ptr Erro() const { return m_erro; }

private:
    std::exception_ptr m_erro;
};

// Sits in front of one control's event handling: hands each event to the control, then keeps
// the pressed, hot and space flags and paints the flat look over what the control painted.
// Made by the painter (its owner); it ends with its control.
class THookWindowProc : public QObject
{
    Q_OBJECT
public:
    THookWindowProc(QObject *owner, QWidget *control);
    // Gives the control its own handling back when the hook goes first.
    ~THookWindowProc() override;

    QWidget *Control() const { return m_control; }
    bool Pressed() const { return m_estado.pressionado; }
    bool Hot() const { return m_estado.quente; }
    QEvent::Type UltimaMensagem() const { return m_ultimaMensagem; }
    bool Space() const { return m_estado.espaco; }
    // Where the pointer was last seen over the control (spin arrows light up one at a time).
    QPoint PosicaoMouse() const { return m_estado.posicaoMouse; }

    // The hook in front of a control, or null.
    static THookWindowProc *HookOf(const QWidget *control);

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void HookedWindowProc(QEvent *evento);
    void PaintFlat(QEvent *evento);
    void Pinta();
    // The control is gone: so is the hook.
    void Solta();

    QWidget *m_control;
    EstadoDoControle m_estado;
    QEvent::Type m_ultimaMensagem = QEvent::None;
};
