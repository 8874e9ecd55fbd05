#pragma once

#include <QFont>

namespace norvelle {

// The system font at a size in logical pixels (a point of the stored sizes is one pixel), so
// text keeps its proportion to fixed control sizes at any device-pixel ratio.
QFont viewFont(qreal size, QFont::Weight weight = QFont::Normal);

} // namespace norvelle
