#include "ui/RoundedSurface.h"

#include "ui/RoundedPainting.h"

#include <QPainter>

namespace norvelle {

RoundedSurface::RoundedSurface(SchemeColorRole fill, qreal radius, QWidget* parent)
    : QWidget(parent)
    , m_fill(std::move(fill))
    , m_radius(radius)
{
}

void RoundedSurface::setBorder(SchemeColorRole border)
{
    m_border = std::move(border);
    update();
}

void RoundedSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const SchemeColors colors(palette());
    fillRounded(painter, rect(), m_radius, m_fill(colors));
    if (m_border) {
        strokeRounded(painter, rect(), m_radius, m_border(colors), 0.5);
    }
}

} // namespace norvelle
