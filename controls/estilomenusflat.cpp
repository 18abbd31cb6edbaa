#include "controls/estilomenusflat.h"

#include "controls/pinturaflat.h"

#include <QPainter>
#include <QStyleOption>

#include <algorithm>

QSize MeasureMenuItem(QSize medida, bool itemDaBarra)
{
    if (itemDaBarra)
        return medida;
    return medida + QSize(74, 5);
}

QSize TEstiloMenusFlat::sizeFromContents(
    ContentsType tipo, const QStyleOption *opcao, const QSize &tamanho, const QWidget *widget) const
{
    const QSize medida = QProxyStyle::sizeFromContents(tipo, opcao, tamanho, widget);
    if (tipo == CT_MenuItem)
        return MeasureMenuItem(medida, false);
    if (tipo == CT_MenuBarItem) {
        // The bar keeps the style's measure, but our captions sit 6 pixels in from each
        // side (past a 24-pixel column with an image), which some styles leave no room for.
        QSize ajustada = MeasureMenuItem(medida, true);
        auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(opcao);
        const int coluna = item && !item->icon.isNull() ? 24 : 0;
        ajustada.setWidth(std::max(ajustada.width(), tamanho.width() + 12 + coluna));
        return ajustada;
    }
    return medida;
}

void TEstiloMenusFlat::drawControl(
    ControlElement elemento, const QStyleOption *opcao, QPainter *p, const QWidget *widget) const
{
    if (elemento == CE_MenuItem || elemento == CE_MenuBarItem) {
        if (auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(opcao)) {
            p->save();
            DrawMenuItem(*p, *item, elemento == CE_MenuBarItem, widget);
            p->restore();
            return;
        }
    }
    // The bar beyond its last item is white, like the items' own background.
    if (elemento == CE_MenuBarEmptyArea) {
        p->fillRect(opcao->rect, opcao->palette.color(QPalette::Base));
        return;
    }
    QProxyStyle::drawControl(elemento, opcao, p, widget);
}
