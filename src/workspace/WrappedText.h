#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace norvelle {

// Text wrapped at word boundaries into at most `maxLines` lines of `width`, the last one
// elided; returns the height the lines take. With `painter` null it only measures.
qreal drawWrappedText(QPainter* painter, QPointF topLeft, qreal width, const QString& text, const QFont& font,
                      const QColor& color, int maxLines);

} // namespace norvelle
