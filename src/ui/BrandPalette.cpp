#include "ui/BrandPalette.h"

#include <algorithm>

namespace norvelle {

namespace {

QColor brightened(const QColor& color, float delta)
{
    const auto shift = [delta](float component) { return std::clamp(component + delta, 0.0f, 1.0f); };
    return QColor::fromRgbF(shift(color.redF()), shift(color.greenF()), shift(color.blueF()), color.alphaF());
}

} // namespace

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

QLinearGradient brandGradient(const QRectF& rect, float brightness)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomRight());
    const auto& colors = brandGradientColors();
    for (size_t i = 0; i < colors.size(); ++i) {
        gradient.setColorAt(qreal(i) / qreal(colors.size() - 1), brightened(colors[i], brightness));
    }
    return gradient;
}

} // namespace norvelle
