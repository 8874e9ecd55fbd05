#include "support/RenderedImage.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstdlib>

namespace norvelle::test {

QSize RenderedImage::logicalSize() const
{
    return m_image.deviceIndependentSize().toSize();
}

QRect RenderedImage::devicePixels(const QRect& area) const
{
    if (area.isNull())
        return m_image.rect();
    const qreal ratio = m_image.devicePixelRatio();
    const QRect scaled(QPoint(qRound(area.left() * ratio), qRound(area.top() * ratio)),
        QSize(qRound(area.width() * ratio), qRound(area.height() * ratio)));
    return scaled & m_image.rect();
}

int RenderedImage::distinctColours(const QRect& area, int enough) const
{
    QSet<QRgb> seen;
    const QRect pixels = devicePixels(area);
    for (int y = pixels.top(); y <= pixels.bottom() && seen.size() < enough; ++y) {
        for (int x = pixels.left(); x <= pixels.right() && seen.size() < enough; ++x)
            seen.insert(m_image.pixel(x, y));
    }
    return int(seen.size());
}

QColor RenderedImage::dominantColour(const QRect& area) const
{
    QHash<QRgb, int> counts;
    const QRect pixels = devicePixels(area);
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            ++counts[m_image.pixelColor(x, y).rgba()];
    }
    const auto most = std::max_element(counts.cbegin(), counts.cend());
    return most == counts.cend() ? QColor() : QColor::fromRgba(most.key());
}

bool RenderedImage::near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

bool RenderedImage::neutral(const QColor& colour, int tolerance)
{
    const int high = std::max({colour.red(), colour.green(), colour.blue()});
    const int low = std::min({colour.red(), colour.green(), colour.blue()});
    return high - low <= tolerance;
}

} // namespace norvelle::test
