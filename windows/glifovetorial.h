#pragma once

#include <QIconEngine>
#include <QImage>
#include <QPainterPath>
#include <QString>

// A button glyph that stays sharp on every screen: at its own size it is the artwork's pixels,
// at any other (a high-density screen asks for 30 or 40 device pixels for a 20-pixel glyph)
// the same shape is drawn as a vector at that size, instead of the artwork's pixels stretched.
// The strip holds the normal picture and, beside it, the disabled one; each is one colour.
class TGlifoVetorial : public QIconEngine
{
public:
    TGlifoVetorial(const QImage &faixa, const QPainterPath &forma);

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QIconEngine *clone() const override;
    QString key() const override;

private:
    QImage Imagem(QIcon::Mode modo) const;

    QImage m_faixa;
    QPainterPath m_forma; // in the artwork's pixels
    QSize m_tamanho;
};

// The outline of a glyph of ours, in the pixels of its artwork (20 x 20); empty for a picture
// that has none.
QPainterPath FormaDoGlifo(const QString &recurso);
