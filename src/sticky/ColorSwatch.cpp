#include "sticky/ColorSwatch.h"

#include "ui/HexColor.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

ColorSwatch::ColorSwatch(const QString& hex, const QString& name, bool isSelected, QWidget* parent)
    : QAbstractButton(parent)
    , m_hex(hex)
    , m_selected(isSelected)
{
    setToolTip(name);
    setAccessibleName(name);
    setMinimumHeight(36);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab; a click leaves the keyboard where it was, so typing goes on in the note.
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    m_growth.setDuration(hoverMs);
    m_growth.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_growth, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_scale = value.toDouble();
        update();
    });
}

void ColorSwatch::setSelected(bool selected)
{
    if (selected != m_selected) {
        m_selected = selected;
        update();
    }
}

bool ColorSwatch::event(QEvent* event)
{
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave) {
        // From wherever it is now, so a quick pass in and out does not jump.
        m_growth.stop();
        m_growth.setStartValue(m_scale);
        m_growth.setEndValue(event->type() == QEvent::HoverEnter ? hoverScale : 1.0);
        m_growth.start();
    }
    return QAbstractButton::event(event);
}

void ColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = QRectF(rect()).center();
    painter.translate(centre);
    painter.scale(m_scale, m_scale);

    painter.setPen(Qt::NoPen);
    painter.setBrush(colorFromHexOrWhite(m_hex));
    painter.drawEllipse(QPointF(), 14, 14);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 26), 0.5));
    painter.drawEllipse(QPointF(), 13.75, 13.75);
    if (!m_selected) {
        return;
    }
    // The tick and ring read only a six-digit colour; anything else counts as light.
    const std::optional<QColor> exact = colorFromHex(m_hex);
    const bool dark = exact && 0.2126 * exact->redF() + 0.7152 * exact->greenF() + 0.0722 * exact->blueF() < 0.5;
    const QColor tick = dark ? QColor(Qt::white) : QColor(Qt::black);
    painter.setPen(QPen(dark ? QColor(Qt::white) : QColor(0x00, 0x7A, 0xFF), 2));
    painter.drawEllipse(QPointF(), 16, 16);
    QPainterPath mark;
    mark.moveTo(-4, 0);
    mark.lineTo(-1.2, 3);
    mark.lineTo(4.5, -3.5);
    painter.setPen(QPen(tick, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(mark);
}

} // namespace norvelle
