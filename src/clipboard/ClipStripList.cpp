#include "clipboard/ClipStripList.h"

#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/RelativeTime.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

constexpr int sideMargin = 8;
constexpr int verticalMargin = 6;
constexpr int rowSpacing = 4;
constexpr qreal rowPadding = 10;
constexpr qreal thumbnailSide = 40;
constexpr qreal stackSpacing = 8;
const QString stickyTitle = QStringLiteral("→ Sticky");

QFont sourceFont() { return viewFont(10.5); }
QFont titleFont() { return viewFont(13); }
QFont timeFont() { return viewFont(11); }
QFont badgeFont() { return viewFont(10, QFont::DemiBold); }
QFont stickyFont() { return viewFont(11, QFont::DemiBold); }

QSizeF badgePadding() { return {6, 3}; }

// The capsule of "→ Sticky": text padded 10 by 6, at least 30 high with its outer padding.
QSizeF stickyCapsuleSize()
{
    const QFontMetricsF metrics(stickyFont());
    return {metrics.horizontalAdvance(stickyTitle) + 20, metrics.height() + 12};
}

QString oneLine(const QString& title)
{
    QString line = title;
    line.replace(u'\n', u' ').replace(u'\r', u' ').replace(u'\t', u' ');
    return line;
}

} // namespace

ClipStripList::ClipStripList(QWidget* parent)
    : ClipListWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void ClipStripList::entriesChanged()
{
    setFixedHeight(sizeHint().height());
}

void ClipStripList::setSelectedIndex(int index)
{
    if (index == m_selectedIndex)
        return;
    m_selectedIndex = index;
    update();
}

QSize ClipStripList::sizeHint() const
{
    const int rows = int(entries().size());
    const int height = rows == 0 ? 0 : 2 * verticalMargin + rows * rowHeight + (rows - 1) * rowSpacing;
    return {320, height};
}

QRect ClipStripList::itemRect(int index) const
{
    return {sideMargin, verticalMargin + index * (rowHeight + rowSpacing), width() - 2 * sideMargin, rowHeight};
}

bool ClipStripList::showsStickyButton(int index) const
{
    return isHovered(index) && entries().at(index).offersSticky();
}

QRect ClipStripList::stickyButtonRect(int index) const
{
    if (!showsStickyButton(index))
        return {};
    const QRect row = itemRect(index);
    const QSizeF capsule = stickyCapsuleSize();
    const int width = int(std::ceil(capsule.width())) + 12;
    const int height = std::max(30, int(std::ceil(capsule.height())));
    return {row.right() + 1 - int(rowPadding) - width, row.center().y() - height / 2, width, height};
}

QString ClipStripList::badgeText(int index)
{
    if (index < 0 || index >= badgedRows)
        return {};
    return QStringLiteral("Ctrl+%1").arg(index + 1);
}

int ClipStripList::partAt(int index, QPoint position) const
{
    return stickyButtonRect(index).contains(position) ? stickyButton : body;
}

QRect ClipStripList::partRect(int index, int part) const
{
    return part == stickyButton ? stickyButtonRect(index) : itemRect(index);
}

void ClipStripList::paintItem(QPainter& painter, int index, const QDateTime& now) const
{
    const ClipEntry& entry = entries().at(index);
    const SchemeColors colors(palette());
    const QRectF row = itemRect(index);
    const qreal centreY = row.center().y();

    const QColor fill = index == m_selectedIndex ? SchemeColors::stripBlue(0.18)
        : isHovered(index)                       ? SchemeColors::stripBlue(0.12)
                                                 : colors.overlay(0.04, 0.04);
    fillRounded(painter, row, 10, fill);

    qreal left = row.left() + rowPadding;
    qreal right = row.right() - rowPadding;

    ClipThumbnailCache& thumbnails = ClipThumbnailCache::shared();
    const QImage thumbnail = thumbnails.thumbnail(entry, int(thumbnailSide), Qt::IgnoreAspectRatio,
        painter.device()->devicePixelRatioF());
    const QRectF thumbnailRect(left, centreY - thumbnailSide / 2, thumbnailSide, thumbnailSide);
    if (!thumbnail.isNull()) {
        drawRoundedImage(painter, thumbnailRect, 6, thumbnail);
        left += thumbnailSide + stackSpacing;
    } else if (thumbnails.isPending(entry.id)) {
        fillRounded(painter, thumbnailRect, 6, colors.overlay(0.08, 0.06));
        left += thumbnailSide + stackSpacing;
    }

    if (showsStickyButton(index)) {
        const QRectF button = stickyButtonRect(index);
        const QSizeF capsuleSize = stickyCapsuleSize();
        const QRectF capsule(button.left() + 6, centreY - capsuleSize.height() / 2, capsuleSize.width(), capsuleSize.height());
        drawBadge(painter, capsule, stickyTitle, stickyFont(), Qt::white, SchemeColors::stickyViolet(), -1);
        right = button.left() - stackSpacing;
    }

    // Age above the shortcut badge, both flush right.
    const QString age = relativeTimeText(entry.createdAt, now);
    const QFontMetricsF timeMetrics(timeFont());
    const QString badge = badgeText(index);
    const QSizeF badgeBox = badge.isEmpty() ? QSizeF() : badgeSize(badge, badgeFont(), badgePadding());
    const qreal columnHeight = timeMetrics.height() + (badge.isEmpty() ? 0 : 4 + badgeBox.height());
    const qreal columnWidth = std::max(timeMetrics.horizontalAdvance(age), badgeBox.width());
    const qreal columnTop = centreY - columnHeight / 2;
    painter.setFont(timeFont());
    painter.setPen(colors.secondaryText());
    painter.drawText(QRectF(right - columnWidth, columnTop, columnWidth, timeMetrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, age);
    if (!badge.isEmpty())
        drawBadge(painter,
            QRectF(right - badgeBox.width(), columnTop + timeMetrics.height() + 4, badgeBox.width(), badgeBox.height()),
            badge, badgeFont(), colors.secondaryText(), colors.overlay(0.07, 0.06), 5);
    right -= columnWidth + stackSpacing;

    // Source above title, flush left, the title cut to one line.
    const QFontMetricsF sourceMetrics(sourceFont());
    const QFontMetricsF titleMetrics(titleFont());
    const qreal textWidth = std::max(right - left, 0.0);
    const qreal textTop = centreY - (sourceMetrics.height() + 2 + titleMetrics.height()) / 2;
    painter.setFont(sourceFont());
    painter.setPen(colors.secondaryText());
    painter.drawText(QRectF(left, textTop, textWidth, sourceMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        sourceMetrics.elidedText(entry.sourceApp, Qt::ElideRight, textWidth));
    painter.setFont(titleFont());
    painter.setPen(colors.label());
    painter.drawText(QRectF(left, textTop + sourceMetrics.height() + 2, textWidth, titleMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        titleMetrics.elidedText(oneLine(entry.displayTitle()), Qt::ElideRight, textWidth));
}

} // namespace norvelle
