#include "ui/BrandPalette.h"

namespace norvelle {

const QColor& brandPurple()
{
    static const QColor color = QColor::fromRgbF(0.749f, 0.353f, 0.949f);
    return color;
}

const std::array<QColor, 3>& brandGradientColors()
{
    static const std::array<QColor, 3> colors {
        QColor::fromRgbF(0.78f, 0.49f, 1.0f),
        brandPurple(),
        QColor::fromRgbF(0.557f, 0.247f, 0.839f),
    };
    return colors;
}

} // namespace norvelle
