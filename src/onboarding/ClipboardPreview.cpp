#include "onboarding/ClipboardPreview.h"

#include "ui/BrandPalette.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace norvelle {

namespace {

constexpr qreal listWidth = 330;
constexpr qreal padding = 12;
constexpr qreal rowSpacing = 7;
constexpr qreal rowPaddingX = 12;
constexpr qreal rowPaddingY = 9;
constexpr qreal iconBox = 18;
constexpr qreal itemSpacing = 10;
constexpr qreal minimumGap = 8;

qreal rowHeight()
{
    return std::max(QFontMetricsF(viewFont(12.5)).height(), 13.0) + 2 * rowPaddingY;
}

} // namespace

ClipboardPreview::ClipboardPreview(QList<Row> rows, QWidget* parent)
    : QWidget(parent)
    , m_rows(std::move(rows))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ClipboardPreview::sizeHint() const
{
    const qreal rowsHeight = m_rows.isEmpty() ? 0 : m_rows.size() * rowHeight() + (m_rows.size() - 1) * rowSpacing;
    return QSizeF(listWidth + 2 * padding, rowsHeight + 2 * padding).toSize();
}

void ClipboardPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const bool dark = SchemeColors::isDarkScheme(palette());
    const QColor primary = colors.label();
    const auto primaryAt = [&primary](qreal opacity) {
        QColor color = primary;
        color.setAlphaF(float(opacity));
        return color;
    };
    const QRectF whole(QPointF(0, 0), QSizeF(sizeHint()));
    fillRounded(painter, whole.translated((width() - whole.width()) / 2, 0), 14, primaryAt(0.03));

    const QFont textFont = viewFont(12.5);
    const QFont timeFont = viewFont(10);
    qreal y = padding;
    const qreal left = (width() - whole.width()) / 2 + padding;
    for (const Row& row : m_rows) {
        const QRectF rowRect(left, y, listWidth, rowHeight());
        fillRounded(painter, rowRect, 9, dark ? QColor(255, 255, 255, 18) : QColor(255, 255, 255, 150));
        strokeRounded(painter, rowRect, 9, primaryAt(0.06), 1);

        const qreal dpr = painter.device()->devicePixelRatioF();
        const QImage symbol = symbolImage(row.icon, 13, brandPurple(), dpr);
        const qreal centreY = rowRect.center().y();
        painter.drawImage(QPointF(rowRect.left() + rowPaddingX + (iconBox - 13) / 2, centreY - 6.5), symbol);

        const QFontMetricsF timeMetrics(timeFont);
        const qreal timeWidth = timeMetrics.horizontalAdvance(row.time);
        const qreal textLeft = rowRect.left() + rowPaddingX + iconBox + itemSpacing;
        const qreal timeLeft = rowRect.right() - rowPaddingX - timeWidth;
        const qreal textWidth = std::max(0.0, timeLeft - minimumGap - textLeft);
        painter.setFont(textFont);
        painter.setPen(primary);
        painter.drawText(QRectF(textLeft, rowRect.top(), textWidth, rowRect.height()), Qt::AlignVCenter | Qt::AlignLeft,
            QFontMetricsF(textFont).elidedText(row.text, Qt::ElideRight, textWidth));
        painter.setFont(timeFont);
        painter.setPen(colors.tertiaryText());
        painter.drawText(QRectF(timeLeft, rowRect.top(), timeWidth + 1, rowRect.height()), Qt::AlignVCenter | Qt::AlignLeft,
            row.time);
        y += rowHeight() + rowSpacing;
    }
}

} // namespace norvelle
