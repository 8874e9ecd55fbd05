#include "ui/PaperTextureView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

constexpr double headerHeight = 36.0;
constexpr double step = 28.0;
constexpr double ruleWidth = 0.75;
constexpr double marginWidth = 0.55;
constexpr double marginX = 32.5;
constexpr double dotSize = 2.3;

QColor withOpacity(QColor color, double opacity)
{
    color.setAlphaF(float(opacity));
    return color;
}

// The centre of a line of `width` points near `coordinate`, on the device's pixel grid: at
// scale 1 a 0.75-point line sits at floor(coordinate) + 0.5, the middle of a pixel row.
double snapped(double coordinate, double width, double scale)
{
    const int devicePixels = std::max(1, int(std::lround(width * scale)));
    const double base = std::floor(coordinate * scale);
    return (devicePixels % 2 == 1 ? base + 0.5 : base) / scale;
}

} // namespace

PaperTextureView::PaperTextureView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PaperTextureView::setTexture(const QString& name, bool isDark)
{
    if (name != m_name || isDark != m_isDark) {
        m_name = name;
        m_isDark = isDark;
        update();
    }
}

void PaperTextureView::setTextureOpacity(double opacity)
{
    if (opacity != m_opacity) {
        m_opacity = opacity;
        update();
    }
}

void PaperTextureView::setClipPath(const QPainterPath& path)
{
    m_clip = path;
    update();
}

void PaperTextureView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setOpacity(m_opacity);
    if (!m_clip.isEmpty()) {
        painter.setClipPath(m_clip);
    }
    draw(painter, size(), m_name, m_isDark);
}

void PaperTextureView::draw(QPainter& painter, QSizeF size, const QString& name, bool isDark)
{
    if (name == QLatin1String("blank")) {
        return;
    }
    const double w = size.width();
    const double h = size.height();
    const double scale = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    if (name == QLatin1String("dot")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(isDark ? withOpacity(Qt::white, 0.26) : withOpacity(Qt::black, 0.18));
        for (int row = 0; headerHeight + row * step < h; ++row) {
            const double y = headerHeight + row * step;
            for (double x = row % 2 == 0 ? 10.0 : 24.0; x < w; x += step) {
                painter.drawEllipse(QRectF(x, y, dotSize, dotSize));
            }
        }
        painter.restore();
        return;
    }

    QPen rule(isDark ? withOpacity(Qt::white, 0.24) : withOpacity(Qt::black, 0.16), ruleWidth);
    rule.setCapStyle(Qt::FlatCap);
    painter.setPen(rule);
    for (double y = headerHeight; y < h; y += step) {
        const double lineY = snapped(y, ruleWidth, scale);
        painter.drawLine(QPointF(0, lineY), QPointF(w, lineY));
    }

    QPen margin(QColor::fromRgbF(1.0f, 0.32f, 0.32f, isDark ? 0.26f : 0.18f), marginWidth);
    margin.setCapStyle(Qt::FlatCap);
    painter.setPen(margin);
    const double lineX = snapped(marginX - 0.5, marginWidth, scale);
    painter.drawLine(QPointF(lineX, headerHeight), QPointF(lineX, h));

    if (name == QLatin1String("grid")) {
        painter.setPen(rule);
        for (double x = 0; x < w; x += step) {
            const double lineX = snapped(x, ruleWidth, scale);
            painter.drawLine(QPointF(lineX, headerHeight), QPointF(lineX, h));
        }
    }
    painter.restore();
}

} // namespace norvelle
