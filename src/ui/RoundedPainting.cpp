#include "ui/RoundedPainting.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>

namespace norvelle {

namespace {

QPainterPath roundedPath(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    const qreal r = radius < 0 ? std::min(rect.width(), rect.height()) / 2 : radius;
    path.addRoundedRect(rect, r, r);
    return path;
}

} // namespace

void fillRounded(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color)
{
    if (color.alpha() == 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (radius == 0)
        painter.fillRect(rect, color);
    else
        painter.fillPath(roundedPath(rect, radius), color);
    painter.restore();
}

void strokeRounded(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color, qreal width)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(color, width));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = width / 2;
    painter.drawPath(roundedPath(rect.adjusted(inset, inset, -inset, -inset), radius < 0 ? radius : std::max(radius - inset, 0.0)));
    painter.restore();
}

void paintSoftShadow(QPainter& painter, const QRectF& rect, qreal radius, const QColor& color, qreal blur,
    QPointF offset)
{
    constexpr int layers = 8;
    QColor layer = color;
    layer.setAlphaF(color.alphaF() / layers);
    for (int i = layers; i >= 1; --i) {
        const qreal grow = blur * i / layers / 2;
        fillRounded(painter, rect.translated(offset).adjusted(-grow, -grow, grow, grow), radius < 0 ? radius : radius + grow,
            layer);
    }
}

void drawRoundedImage(QPainter& painter, const QRectF& rect, qreal radius, const QImage& image)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipPath(roundedPath(rect, radius));
    painter.drawImage(rect.topLeft(), image);
    painter.restore();
}

QSizeF badgeSize(const QString& text, const QFont& font, QSizeF padding)
{
    const QFontMetricsF metrics(font);
    return {metrics.horizontalAdvance(text) + 2 * padding.width(), metrics.height() + 2 * padding.height()};
}

void drawBadge(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
    const QColor& textColor, const QColor& fill, qreal radius)
{
    fillRounded(painter, rect, radius, fill);
    painter.save();
    painter.setFont(font);
    painter.setPen(textColor);
    painter.drawText(rect, Qt::AlignCenter, text);
    painter.restore();
}

} // namespace norvelle
