#pragma once

#include <QColor>
#include <QImage>
#include <QString>

namespace norvelle {

// A symbol of the clip views drawn in one colour at `size` logical pixels, sharp at `dpr`.
// Renderings are cached: lists draw the same few symbols on every paint.
QImage clipSymbol(const QString& symbolName, int size, const QColor& color, qreal dpr);

} // namespace norvelle
