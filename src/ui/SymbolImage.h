#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace norvelle {

// A symbol drawn in one colour at `size` logical pixels, sharp at `dpr`.
// Renderings are cached: lists draw the same few symbols on every paint.
QImage symbolImage(const QString& symbolName, int size, const QColor& color, qreal dpr);

} // namespace norvelle
