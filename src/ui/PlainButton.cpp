#include "ui/PlainButton.h"

#include "ui/RoundedPainting.h"
#include "ui/SymbolImage.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace norvelle {

namespace {

constexpr int kSymbolTextSpacing = 5;

} // namespace

PlainButton::PlainButton(const QString& text, Style style, QWidget* parent)
    : QAbstractButton(parent)
    , m_style(std::move(style))
{
    setText(text);
    setFont(m_style.font);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize PlainButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = text().isEmpty() ? 0 : metrics.horizontalAdvance(text());
    int height = text().isEmpty() ? 0 : metrics.height();
    if (!m_style.symbol.isEmpty()) {
        width += m_style.symbolSize + (text().isEmpty() ? 0 : kSymbolTextSpacing);
        height = std::max(height, m_style.symbolSize);
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
    const QRectF shape((width() - hint.width()) / 2.0, (height() - hint.height()) / 2.0, hint.width(), hint.height());
    if (m_style.fill) {
        const QFontMetrics metrics(font());
        const QMargins& p = m_style.padding;
        const qreal shapeHeight = std::max(metrics.height(), m_style.symbolSize) + p.top() + p.bottom();
        fillRounded(painter, QRectF(shape.left(), (height() - shapeHeight) / 2.0, shape.width(), shapeHeight),
                    m_style.radius, m_style.fill(colors));
    }

    const QColor color = m_style.color(colors);
    const QRectF content = shape.marginsRemoved(QMarginsF(m_style.padding.left(), 0, m_style.padding.right(), 0));
    qreal x = content.left();
    if (!m_style.symbol.isEmpty()) {
        const QImage symbol = symbolImage(m_style.symbol, m_style.symbolSize, color, painter.device()->devicePixelRatioF());
        painter.drawImage(QPointF(x, (height() - m_style.symbolSize) / 2.0), symbol);
        x += m_style.symbolSize + kSymbolTextSpacing;
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
