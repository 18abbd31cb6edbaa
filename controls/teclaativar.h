#pragma once

#include <QKeyEvent>

// Enter, Return or Space without a modifier: what presses a focused link or picture as a
// click would.
inline bool TeclaDeAtivar(const QEvent *evento)
{
    if (evento->type() != QEvent::KeyPress)
        return false;
    const auto *tecla = static_cast<const QKeyEvent *>(evento);
    const int k = tecla->key();
    return tecla->modifiers() == Qt::NoModifier && (k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space);
}
