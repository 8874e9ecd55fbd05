#include "ui/SymbolView.h"

#include "ui/RoundedPainting.h"
#include "ui/SymbolImage.h"

#include <QPainter>

#include <algorithm>

namespace norvelle {

SymbolView::SymbolView(const QString& symbol, int symbolSize, SchemeColorRole color, QWidget* parent)
    : QWidget(parent)
    , m_symbol(symbol)
    , m_symbolSize(symbolSize)
    , m_color(std::move(color))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void SymbolView::setCircle(int diameter, SchemeColorRole fill)
{
    m_diameter = diameter;
    m_circleFill = std::move(fill);
    updateGeometry();
}

QSize SymbolView::sizeHint() const
{
    const int side = std::max(m_symbolSize, m_diameter);
    return {side, side};
}

void SymbolView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const SchemeColors colors(palette());
    const QPointF centre = QRectF(rect()).center();
    if (m_diameter > 0)
        fillRounded(painter, QRectF(centre.x() - m_diameter / 2.0, centre.y() - m_diameter / 2.0, m_diameter, m_diameter),
            -1, m_circleFill(colors));
    const QImage symbol = symbolImage(m_symbol, m_symbolSize, m_color(colors), painter.device()->devicePixelRatioF());
    painter.drawImage(QPointF(centre.x() - m_symbolSize / 2.0, centre.y() - m_symbolSize / 2.0), symbol);
}

} // namespace norvelle
