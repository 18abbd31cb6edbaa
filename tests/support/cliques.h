#pragma once

#include <QStringList>
#include <QTest>

// What a control with the component mouse events raises for a click, a double click and the
// double click's release, with the left button and then the right. A double click reaches a
// widget as press, release, double click, release.
template <typename Controle> QStringList EventosDosCliques(Controle &controle)
{
    QStringList eventos;
    controle.OnMouseDown = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { eventos << "down"; };
    controle.OnMouseUp = [&](QObject *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) { eventos << "up"; };
    controle.OnClick = [&](QObject *) { eventos << "click"; };
    controle.OnDblClick = [&](QObject *) { eventos << "dblclick"; };
    for (Qt::MouseButton botao : { Qt::LeftButton, Qt::RightButton }) {
        QTest::mouseClick(&controle, botao);
        QTest::mouseDClick(&controle, botao);
        QTest::mouseRelease(&controle, botao);
    }
    controle.OnMouseDown = nullptr;
    controle.OnMouseUp = nullptr;
    controle.OnClick = nullptr;
    controle.OnDblClick = nullptr;
    return eventos;
}
