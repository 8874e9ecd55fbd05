#include "workspace/SidebarRow.h"

#include "ui/IsolatedText.h"
#include "ui/RoundedPainting.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace norvelle {

SidebarRow::SidebarRow(QWidget* parent)
    : QAbstractButton(parent)
{
    setFixedHeight(30);
    setCursor(Qt::PointingHandCursor);
}

void SidebarRow::setLook(Look look)
{
    m_look = std::move(look);
    setText(m_look.title);
    update();
}

void SidebarRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const QColor accent = m_look.tint ? m_look.tint(colors) : colors.accent();
    if (m_look.selected) {
        QColor tint = accent;
        tint.setAlphaF(0.16f);
        fillRounded(painter, rect(), m_look.radius, tint);
    }
    const bool accented = m_look.selected && !m_look.plainBadge;
    const QColor symbolColor = accented ? accent : colors.secondaryText();
    const QImage symbol = symbolImage(m_look.symbol, 13, symbolColor, devicePixelRatioF());
    painter.drawImage(QRectF(8 + 2.5, (height() - 13) / 2.0, 13, 13), symbol);

    qreal right = width() - 8;
    if (!m_look.badge.isEmpty()) {
        if (m_look.plainBadge) {
            const QFont font = viewFont(10);
            painter.setFont(font);
            painter.setPen(colors.tertiaryText());
            const qreal textWidth = QFontMetricsF(font).horizontalAdvance(m_look.badge);
            painter.drawText(QRectF(right - textWidth, 0, textWidth, height()), Qt::AlignVCenter | Qt::AlignRight, m_look.badge);
            right -= textWidth + 4;
        } else {
            const QFont font = viewFont(10, QFont::Medium);
            const QSizeF size = badgeSize(m_look.badge, font, QSizeF(6, 2));
            QColor fill = accent;
            fill.setAlphaF(0.14f);
            const QRectF badge(right - size.width(), (height() - size.height()) / 2, size.width(), size.height());
            drawBadge(painter, badge, m_look.badge, font, accented ? accent : colors.secondaryText(),
                accented ? fill : colors.overlay(0.08, 0.06), -1);
            right = badge.left() - 4;
        }
    }
    const QFont font = viewFont(12);
    painter.setFont(font);
    painter.setPen(accented ? accent : colors.label());
    const QRectF titleRect(8 + 18 + 8, 0, right - (8 + 18 + 8), height());
    painter.drawText(titleRect, Qt::AlignVCenter | Qt::AlignLeft,
        isolatedText(QFontMetricsF(font).elidedText(m_look.title, Qt::ElideRight, titleRect.width())));
}

} // namespace norvelle
