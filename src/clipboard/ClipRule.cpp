#include "clipboard/ClipRule.h"

#include <QPainter>

#include <cmath>

namespace norvelle {

ClipRule::ClipRule(SchemeColorRole color, qreal thickness, QWidget* parent)
    : QWidget(parent)
    , m_color(std::move(color))
    , m_thickness(thickness)
{
    setFixedHeight(int(std::ceil(thickness)));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ClipRule::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(QRectF(0, 0, width(), m_thickness), m_color(SchemeColors(palette())));
}

} // namespace norvelle
