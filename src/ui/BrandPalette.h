#pragma once

#include <QColor>

#include <array>

namespace norvelle {

// The brand purple (191, 90, 242): settings accents and the middle of the brand gradient.
const QColor& brandPurple();

// The brand gradient's three stops, light lilac to deep violet.
const std::array<QColor, 3>& brandGradientColors();

} // namespace norvelle
