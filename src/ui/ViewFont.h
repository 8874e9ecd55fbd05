#pragma once

#include <QFont>

namespace norvelle {

// The system font at a size in logical pixels (the design's points), so text keeps its
// proportion to fixed control sizes at any device-pixel ratio.
QFont viewFont(qreal size, QFont::Weight weight = QFont::Normal);

} // namespace norvelle
