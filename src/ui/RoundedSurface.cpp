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

void RoundedSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const SchemeColors colors(palette());
    fillRounded(painter, rect(), m_radius, m_fill(colors));
}

} // namespace norvelle
