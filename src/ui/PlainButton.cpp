#include "ui/PlainButton.h"

#include "ui/KeyboardFocusMark.h"
#include "ui/RoundedPainting.h"
#include "ui/SymbolImage.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace norvelle {

PlainButton::PlainButton(const QString& text, Style style, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(std::move(style))
{
    setText(text);
    setFont(m_style.font);
    setCursor(Qt::PointingHandCursor);
    // Reached by Tab, as the desktop's buttons are, without taking the focus from a field on a click.
    setFocusPolicy(Qt::TabFocus);
    if (m_style.fill) {
        setFocusMarkRadius(*this, m_style.radius);
    }
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize PlainButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    int height = text().isEmpty() ? 0 : metrics.height();
    if (!m_style.symbol.isEmpty()) {
        width += m_style.symbolSize + (text().isEmpty() ? 0 : m_style.symbolSpacing);
        height = std::max(height, m_style.symbolSize);
    }
    if (!m_style.trailingSymbol.isEmpty()) {
        width += m_style.trailingSpacing + m_style.trailingSymbolSize;
        height = std::max(height, m_style.trailingSymbolSize);
    }
    const QMargins& p = m_style.padding;
    return {width + p.left() + p.right(), std::max(height + p.top() + p.bottom(), m_style.minimumHeight)};
}

void PlainButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    if (!isEnabled())
        painter.setOpacity(0.4);
    else if (isDown())
        painter.setOpacity(0.6);
    else if (m_hovered && !m_style.fill)
        painter.setOpacity(0.8);

    const QSize hint = sizeHint();
    const qreal left = m_style.alignment.testFlag(Qt::AlignLeft) ? 0 : (width() - hint.width()) / 2.0;
    const QRectF shape(left, (height() - hint.height()) / 2.0, hint.width(), hint.height());
    if (m_style.fill) {
        fillRounded(painter, shape, m_style.radius, m_style.fill(colors));
    }
    if (m_style.border) {
        strokeRounded(painter, shape, m_style.radius, m_style.border(colors), 0.5);
    }

    const QColor color = m_style.color(colors);
    const QRectF content = shape.marginsRemoved(QMarginsF(m_style.padding.left(), 0, m_style.padding.right(), 0));
    const qreal dpr = painter.device()->devicePixelRatioF();
    const auto drawSymbol = [&](const QString& name, int size, const SchemeColorRole& role, qreal x) {
        const QColor tint = role ? role(colors) : color;
        painter.drawImage(QPointF(x, (height() - size) / 2.0), symbolImage(name, size, tint, dpr));
    };
    qreal x = content.left();
    if (!m_style.symbol.isEmpty()) {
        drawSymbol(m_style.symbol, m_style.symbolSize, m_style.symbolColor, x);
        x += m_style.symbolSize + m_style.symbolSpacing;
    }
    if (!m_style.trailingSymbol.isEmpty()) {
        drawSymbol(m_style.trailingSymbol, m_style.trailingSymbolSize, m_style.trailingColor,
            content.right() - m_style.trailingSymbolSize);
    }
    if (!text().isEmpty()) {
        painter.setPen(color);
        painter.setFont(font());
        painter.drawText(QRectF(x, 0, content.right() - x, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    }
}

void PlainButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void PlainButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace norvelle
