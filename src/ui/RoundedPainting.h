#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace norvelle {

// Small drawing steps shared by painted rows, cards and surfaces.

// A rounded rectangle; radius 0 is a plain rectangle and a negative radius a capsule.
void fillRounded(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color);
// The outline of the same shape, kept inside `rect`.
void strokeRounded(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color, qreal width);

// A soft shadow of the rounded shape at `rect`, moved by `offset` and blurred over `blur`:
// widening layers of faint `color` that add up to its opacity under the shape.
void paintSoftShadow(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color, qreal blur,
    QPointF offset);

// An image clipped to a rounded rectangle.
void drawRoundedImage(QPainter& painter, const QRectF& rect, qreal radius, const QImage& image);

// Text with `padding` around it on a rounded fill; returns the badge's size for `text`.
QSizeF badgeSize(const QString& text, const QFont& font, QSizeF padding);
void drawBadge(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
    const QColor& textColor, const QColor& fill, qreal radius);

} // namespace norvelle
