#include "onboarding/StickyPreview.h"

#include "onboarding/CheckMark.h"
#include "ui/RoundedPainting.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

namespace {

constexpr qreal paperWidth = 240;
constexpr qreal padding = 18;
constexpr qreal rowSpacing = 9;
constexpr qreal markSize = 14;
constexpr qreal markSpacing = 8;
constexpr qreal angle = -2.5;
constexpr qreal shadowMargin = 22;
const QColor paperColor = QColor::fromRgbF(1.0f, 0.93f, 0.55f);

QColor blackAt(qreal opacity)
{
    QColor black(0, 0, 0);
    black.setAlphaF(float(opacity));
    return black;
}

qreal headingHeight()
{
    return QFontMetricsF(viewFont(15, QFont::Bold)).height();
}

qreal itemHeight()
{
    return std::max(QFontMetricsF(viewFont(13)).height(), markSize);
}

} // namespace

StickyPreview::StickyPreview(QList<Item> items, QWidget* parent)
    : QWidget(parent)
    , m_items(std::move(items))
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSizeF StickyPreview::paperSize() const
{
    const qreal height = 2 * padding + headingHeight() + m_items.size() * (rowSpacing + itemHeight());
    return {paperWidth, height};
}

QSize StickyPreview::sizeHint() const
{
    return (paperSize() + QSizeF(2 * shadowMargin, 2 * shadowMargin)).toSize();
}

void StickyPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QSizeF paper = paperSize();
    painter.translate(width() / 2.0, height() / 2.0);
    painter.rotate(angle);
    const QRectF sheet(-paper.width() / 2, -paper.height() / 2, paper.width(), paper.height());

    paintSoftShadow(painter, sheet, 4, blackAt(0.18), 10, QPointF(0, 6));
    QPainterPath clip;
    clip.addRoundedRect(sheet, 4, 4);
    painter.setClipPath(clip);
    painter.fillRect(sheet, paperColor);
    for (int line = 0; line < 5; ++line) {
        painter.fillRect(QRectF(sheet.left(), sheet.top() + 40 + line * 23, sheet.width(), 1), blackAt(0.06));
    }

    qreal y = sheet.top() + padding;
    const qreal left = sheet.left() + padding;
    const QFont heading = viewFont(15, QFont::Bold);
    painter.setFont(heading);
    painter.setPen(blackAt(0.8));
    painter.drawText(QRectF(left, y, sheet.width() - 2 * padding, headingHeight()), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Today"));
    y += headingHeight();
    for (const Item& item : m_items) {
        y += rowSpacing;
        const QRectF row(left, y, sheet.width() - 2 * padding, itemHeight());
        const QRectF mark(row.left(), row.center().y() - markSize / 2, markSize, markSize);
        if (item.done) {
            paintTickedCircle(painter, mark, QColor::fromRgbF(0.20f, 0.78f, 0.35f), 1.8);
        } else {
            paintOpenCircle(painter, mark, blackAt(0.35), 1.3);
        }
        QFont font = viewFont(13);
        font.setStrikeOut(item.done);
        painter.setFont(font);
        painter.setPen(blackAt(item.done ? 0.4 : 0.8));
        painter.drawText(row.adjusted(markSize + markSpacing, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, item.text);
        y += itemHeight();
    }
}

} // namespace norvelle
