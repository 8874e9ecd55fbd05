#include "ui/TextContrast.h"

#include "ui/HexColor.h"

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

double linearised(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double contrastRatio(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor withAlpha(Qt::GlobalColor base, float alpha)
{
    QColor color(base);
    color.setAlphaF(alpha);
    return color;
}

} // namespace

double relativeLuminance(const QColor& color)
{
    if (!color.isValid()) {
        return 1.0;
    }
    return 0.2126 * linearised(color.redF()) + 0.7152 * linearised(color.greenF())
        + 0.0722 * linearised(color.blueF());
}

double contrastRatio(const QColor& text, const QColor& background)
{
    const double alpha = text.alphaF();
    const auto over = [alpha](double top, double bottom) { return alpha * top + (1 - alpha) * bottom; };
    const QColor drawn = QColor::fromRgbF(float(over(text.redF(), background.redF())),
        float(over(text.greenF(), background.greenF())), float(over(text.blueF(), background.blueF())));
    return contrastRatio(relativeLuminance(drawn), relativeLuminance(background));
}

bool isDarkHexColor(const QString& hex, bool fallback, double opacity)
{
    if (opacity < 0.35) {
        return false;
    }
    const std::optional<QColor> color = colorFromHex(normalizePaperHex(hex));
    if (!color) {
        return fallback;
    }
    const double luma = 0.2126 * color->redF() + 0.7152 * color->greenF() + 0.0722 * color->blueF();
    return luma < 0.5;
}

bool compareTextContrast(const QString& hex)
{
    const std::optional<QColor> color = colorFromHex(normalizePaperHex(hex));
    if (!color) {
        return false;
    }
    const double luminance = relativeLuminance(*color);
    return contrastRatio(luminance, 1.0) >= contrastRatio(luminance, 0.0);
}

ReadableTextColors readableTextColors(const QString& hex)
{
    if (compareTextContrast(hex)) {
        return {withAlpha(Qt::black, 0.34f), withAlpha(Qt::white, 0.95f), withAlpha(Qt::white, 0.82f)};
    }
    return {withAlpha(Qt::white, 0.86f), withAlpha(Qt::black, 0.85f), withAlpha(Qt::black, 0.68f)};
}

} // namespace norvelle
