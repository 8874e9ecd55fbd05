#include "clipboard/ClipSurface.h"

#include "clipboard/ClipPainting.h"

#include <QPainter>

namespace norvelle {

ClipSurface::ClipSurface(ClipColorRole fill, qreal radius, QWidget* parent)
    : QWidget(parent)
    , m_fill(std::move(fill))
    , m_radius(radius)
{
}

void ClipSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ClipColors colors(palette());
    fillRounded(painter, rect(), m_radius, m_fill(colors));
}

} // namespace norvelle
