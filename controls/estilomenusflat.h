#pragma once

#include <QProxyStyle>
#include <QSize>

// Owner-drawn menu measure: drop-down items grow by 74 x 5, menu-bar items keep theirs.
QSize MeasureMenuItem(QSize medida, bool itemDaBarra);

// The style the flat painter gives menus and menu bars: items measured by MeasureMenuItem and
// drawn by DrawMenuItem, everything else left to the style underneath.
class TEstiloMenusFlat : public QProxyStyle
{
public:
    QSize sizeFromContents(
        ContentsType tipo, const QStyleOption *opcao, const QSize &tamanho, const QWidget *widget) const override;
    void drawControl(
        ControlElement elemento, const QStyleOption *opcao, QPainter *p, const QWidget *widget) const override;
};
