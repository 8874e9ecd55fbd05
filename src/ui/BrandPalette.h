#pragma once

#include <QColor>
#include <QLinearGradient>
#include <QRectF>

#include <array>

namespace norvelle {

// The brand purple (191, 90, 242): settings accents and the middle of the brand gradient.
const QColor& brandPurple();

// The brand gradient's three stops, light lilac to deep violet.
const std::array<QColor, 3>& brandGradientColors();

// The brand gradient across `rect`, top left to bottom right, each stop lightened by
// `brightness` (negative darkens).
QLinearGradient brandGradient(const QRectF& rect, float brightness = 0);

} // namespace norvelle
