#pragma once

#include <QConicalGradient>
#include <QPointF>

namespace norvelle {

// The colour wheel's hues around `centre`: red, orange, yellow, green, blue, purple and back to
// red, evenly spaced, so the wheel closes on red.
QConicalGradient hueWheelGradient(const QPointF& centre);

} // namespace norvelle
