#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>

class QWidget;

// The box around some pixels of a picture, the one measure the widget tests take of where
// something was drawn: text, a glyph, a shadow. Empty when no pixel qualifies.
//
// Within `area`, or the whole picture when it is empty; `escolhe` sees each pixel's colour.
QRect CaixaDosPixels(const QImage &imagem, const std::function<bool(const QColor &)> &escolhe, const QRect &area = {});
// The pixels of exactly one colour.
QRect CaixaDaCor(const QImage &imagem, const QColor &cor, const QRect &area = {});
// The ink: every pixel of another colour than the background.
QRect CaixaDaTinta(const QImage &imagem, const QColor &fundo, const QRect &area = {});

// How many pixels within `area` are of another colour than `fundo`.
int PixelsDiferentes(const QImage &imagem, const QRect &area, const QColor &fundo);

// The widget as a screen of that device pixel ratio shows it (1.5: three device pixels for two
// of the widget's), whatever the ratio of the test's own screen.
QImage RetratoEmEscala(QWidget *w, qreal escala);
