#include "sticky/StickyPillButton.h"

#include "ui/HexColor.h"
#include "ui/HueWheel.h"
#include "ui/SymbolGlyph.h"
#include "ui/ViewFont.h"

#include <QPainter>

namespace norvelle {

StickyPillButton::StickyPillButton(Label kind, const QString& label, qreal fontSize, QFont::Weight weight,
    QSize frame, QWidget* parent)
    : QAbstractButton(parent)
    , m_kind(kind)
    , m_label(label)
    , m_fontSize(fontSize)
    , m_weight(weight)
    , m_frame(frame)
{
    setFixedSize(frame);
    setFocusPolicy(Qt::NoFocus);
    if (kind == Label::text) {
        setFont(viewFont(fontSize, weight));
        setText(label);
    }
    setAccessibleName(label);
}

void StickyPillButton::setInk(const QColor& ink)
{
    m_ink = ink;
    update();
}

void StickyPillButton::setPaperHex(const QString& hex)
{
    m_paperHex = hex;
    update();
}

void StickyPillButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    // A disabled button (the table inside a table cell) is drawn faint.
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    switch (m_kind) {
    case Label::text:
        painter.setPen(m_ink);
        painter.drawText(rect(), Qt::AlignCenter, text());
        break;
    case Label::symbol: {
        const qreal side = m_fontSize * 1.3;
        const QPointF centre = QRectF(rect()).center();
        drawSymbolGlyph(painter, m_label, QRectF(centre.x() - side / 2, centre.y() - side / 2, side, side), m_ink,
            m_weight >= QFont::DemiBold ? 1.3 : 1.0);
        break;
    }
    case Label::colorWheel:
        paintColorWheel(painter);
        break;
    }
}

void StickyPillButton::paintColorWheel(QPainter& painter) const
{
    const QPointF centre = QRectF(rect()).center();
    const QRectF wheel(centre.x() - 10, centre.y() - 10, 20, 20);
    painter.setPen(Qt::NoPen);
    painter.setBrush(hueWheelGradient(centre));
    painter.drawEllipse(wheel);
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.18);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(edge, 0.5));
    painter.drawEllipse(wheel.adjusted(0.25, 0.25, -0.25, -0.25));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colorFromHexOrWhite(m_paperHex));
    painter.drawEllipse(centre, 4, 4);
}

} // namespace norvelle
