#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace norvelle {

// Line symbols the icon theme has no match for (text alignment, lists, quote, highlighter,
// checklist, table cells, half-filled circle, checkmark, chevrons, paper textures), drawn as vector shapes in
// one colour within the square centred in `box`. `weight` scales the stroke (1 = regular).
void drawSymbolGlyph(QPainter& painter, const QString& name, const QRectF& box, const QColor& color,
    qreal weight = 1.0);

} // namespace norvelle
