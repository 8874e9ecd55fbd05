#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

namespace norvelle {

// A symbol of the clip views drawn in one colour at `size` logical pixels, sharp at `dpr`.
// Renderings are cached: lists draw the same few symbols on every paint.
QPixmap clipSymbol(const QString& symbolName, int size, const QColor& color, qreal dpr);

} // namespace norvelle
