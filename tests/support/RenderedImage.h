#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace norvelle::test {

// What screenshot tests check in a widget they rendered: that something was painted, and which
// colour stands where. Areas are in the widget's own (logical) pixels.
class RenderedImage {
public:
    explicit RenderedImage(QImage image)
        : m_image(std::move(image))
    {
    }

    const QImage& image() const { return m_image; }
    QSize logicalSize() const;
    // How many different colours the area holds, counting no further than `enough`.
    int distinctColours(const QRect& area = {}, int enough = 64) const;
    // The colour most pixels of the area have.
    QColor dominantColour(const QRect& area) const;
    // How many pixels of the area `matches` accepts.
    template <typename Predicate>
    int countPixels(const QRect& area, Predicate matches) const
    {
        int count = 0;
        const QRect pixels = devicePixels(area);
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x)
                count += matches(m_image.pixelColor(x, y)) ? 1 : 0;
        }
        return count;
    }

    // Colours within `tolerance` in each channel.
    static bool near(const QColor& a, const QColor& b, int tolerance = 10);
    static bool bluish(const QColor& colour) { return colour.blue() > colour.red() + 20; }
    static bool neutral(const QColor& colour, int tolerance = 12);

private:
    QRect devicePixels(const QRect& area) const;

    QImage m_image;
};

} // namespace norvelle::test
