#pragma once

#include <QColor>

namespace norvelle::statusColors {

// Signed in and connected.
inline QColor green(qreal opacity = 1.0)
{
    return QColor::fromRgbF(0.2f, 0.78f, 0.35f, float(opacity));
}

// Not connected.
inline QColor grey(qreal opacity = 1.0)
{
    return QColor::fromRgbF(0.56f, 0.56f, 0.58f, float(opacity));
}

} // namespace norvelle::statusColors
