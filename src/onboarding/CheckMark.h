#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace norvelle {

// A ticked circle: a disc of `fill` with a white tick of `tickWidth`.
void paintTickedCircle(QPainter& painter, const QRectF& box, const QColor& fill, qreal tickWidth);
// An open circle: a ring of `color` and `width`, kept inside `box`.
void paintOpenCircle(QPainter& painter, const QRectF& box, const QColor& color, qreal width);

} // namespace norvelle
