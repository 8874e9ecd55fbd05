#include "onboarding/CheckMark.h"

#include <QPainter>
#include <QPainterPath>

namespace norvelle {

void paintTickedCircle(QPainter& painter, const QRectF& box, const QColor& fill, qreal tickWidth)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(box);
    QPainterPath tick;
    tick.moveTo(box.left() + box.width() * 0.28, box.top() + box.height() * 0.52);
    tick.lineTo(box.left() + box.width() * 0.44, box.top() + box.height() * 0.68);
    tick.lineTo(box.left() + box.width() * 0.73, box.top() + box.height() * 0.35);
    painter.setPen(QPen(Qt::white, tickWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(tick);
    painter.restore();
}

void paintOpenCircle(QPainter& painter, const QRectF& box, const QColor& color, qreal width)
{
    painter.save();
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(box.adjusted(width / 2, width / 2, -width / 2, -width / 2));
    painter.restore();
}

} // namespace norvelle
