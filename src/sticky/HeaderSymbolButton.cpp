#include "sticky/HeaderSymbolButton.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace norvelle {

namespace {

// A five-pointed star inside a circle of `radius` around `centre`, point up.
QPainterPath starPath(QPointF centre, double radius)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? radius : radius * 0.45;
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    path.closeSubpath();
    return path;
}

void drawShareSymbol(QPainter& painter, QPointF c, const QPen& pen)
{
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // An open-topped tray with an arrow rising out of it.
    QPainterPath tray;
    tray.moveTo(c.x() - 2.5, c.y() - 2.0);
    tray.lineTo(c.x() - 5.0, c.y() - 2.0);
    tray.lineTo(c.x() - 5.0, c.y() + 6.0);
    tray.lineTo(c.x() + 5.0, c.y() + 6.0);
    tray.lineTo(c.x() + 5.0, c.y() - 2.0);
    tray.lineTo(c.x() + 2.5, c.y() - 2.0);
    painter.drawPath(tray);
    painter.drawLine(QPointF(c.x(), c.y() + 2.5), QPointF(c.x(), c.y() - 7.0));
    QPainterPath head;
    head.moveTo(c.x() - 3.0, c.y() - 4.0);
    head.lineTo(c.x(), c.y() - 7.0);
    head.lineTo(c.x() + 3.0, c.y() - 4.0);
    painter.drawPath(head);
}

} // namespace

HeaderSymbolButton::HeaderSymbolButton(const QString& systemName, QWidget* parent)
    : QAbstractButton(parent)
    , m_systemName(systemName)
    , m_color(Qt::black)
{
    setFixedSize(28, 28);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::NoFocus);
}

void HeaderSymbolButton::setSystemName(const QString& name)
{
    if (name != m_systemName) {
        m_systemName = name;
        update();
    }
}

void HeaderSymbolButton::setColor(const QColor& color)
{
    if (color != m_color) {
        m_color = color;
        update();
    }
}

void HeaderSymbolButton::setOutline(const QColor& color)
{
    if (color != m_outline) {
        m_outline = color;
        update();
    }
}

void HeaderSymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : 0.42);
    const QPointF c = QRectF(rect()).center();
    QPen pen(m_color, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (m_systemName == QLatin1String("star.fill") || m_systemName == QLatin1String("star")) {
        const bool filled = m_systemName == QLatin1String("star.fill");
        const QColor edge = filled && m_outline.isValid() ? m_outline : m_color;
        painter.setPen(filled ? QPen(edge, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin) : pen);
        painter.setBrush(filled ? QBrush(m_color) : QBrush(Qt::NoBrush));
        painter.drawPath(starPath(c, 6.5));
    } else if (m_systemName == QLatin1String("ellipsis")) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_color);
        for (const double dx : {-5.0, 0.0, 5.0}) {
            painter.drawEllipse(QPointF(c.x() + dx, c.y()), 1.6, 1.6);
        }
    } else if (m_systemName == QLatin1String("square.and.arrow.up")) {
        drawShareSymbol(painter, c, pen);
    }
}

} // namespace norvelle
