#include "ui/BadgeLabel.h"

#include "ui/RoundedPainting.h"

#include <QPainter>

#include <cmath>

namespace norvelle {

BadgeLabel::BadgeLabel(const QFont& font, SchemeColorRole textColor, SchemeColorRole fill, QSize padding, qreal radius,
    QWidget* parent)
    : QWidget(parent)
    , m_textColor(std::move(textColor))
    , m_fill(std::move(fill))
    , m_padding(padding)
    , m_radius(radius)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void BadgeLabel::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

QSize BadgeLabel::sizeHint() const
{
    const QSizeF size = badgeSize(m_text, font(), m_padding);
    return {int(std::ceil(size.width())), int(std::ceil(size.height()))};
}

void BadgeLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const SchemeColors colors(palette());
    drawBadge(painter, rect(), m_text, font(), m_textColor(colors), m_fill(colors), m_radius);
}

} // namespace norvelle
