#pragma once

#include <QFont>

namespace norvelle {

// The system font at a size given in logical pixels (a point of the views' layout), so text
// keeps its proportion to the fixed row and card sizes at any device-pixel ratio.
QFont clipFont(qreal size, QFont::Weight weight = QFont::Normal);

} // namespace norvelle
