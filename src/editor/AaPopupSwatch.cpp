#include "editor/AaPopupSwatch.h"

#include "ui/HexColor.h"

#include <QPainter>

namespace norvelle {

AaPopupSwatch::AaPopupSwatch(const QString& hex, int diameter, QSize area, QWidget* parent)
    : QAbstractButton(parent)
    , m_hex(hex)
    , m_diameter(diameter)
    , m_area(area)
{
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(area);
    setAccessibleName(hex);
}

void AaPopupSwatch::setHex(const QString& hex)
{
    if (m_hex != hex) {
        m_hex = hex;
        setAccessibleName(hex);
        update();
    }
}

void AaPopupSwatch::setRing(const QColor& color, qreal width)
{
    m_ringColor = color;
    m_ringWidth = width;
    update();
}

void AaPopupSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    const qreal radius = m_diameter / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(colorFromHexOrWhite(m_hex));
    painter.drawEllipse(centre, radius, radius);
    if (m_ringWidth > 0 && m_ringColor.alpha() > 0) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(m_ringColor, m_ringWidth));
        const qreal inset = radius - m_ringWidth / 2;
        painter.drawEllipse(centre, inset, inset);
    }
}

} // namespace norvelle
