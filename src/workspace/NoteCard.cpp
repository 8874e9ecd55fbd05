#include "workspace/NoteCard.h"

#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"
#include "workspace/WorkspaceNoteEntry.h"

#include <QDateTime>
#include <QLocale>
#include <QPainter>

namespace norvelle {

namespace {

constexpr qreal padding = 10;
constexpr qreal spacing = 8;
// How far in from their edge the bulk check and the corner badges reach, and the room kept
// beside them.
constexpr qreal checkReach = 10 + 18;
constexpr qreal starBadgeReach = 6 + 22;
constexpr qreal trashBadgeReach = 8 + 11;
constexpr qreal badgeGap = 4;

void drawSymbol(QPainter& painter, const QString& name, int size, const QColor& color, const QPointF& centre)
{
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QImage image = symbolImage(name, size, color, dpr);
    painter.drawImage(QRectF(centre - QPointF(size / 2.0, size / 2.0), QSizeF(size, size)), image);
}

QFont previewFont(bool placeholder)
{
    QFont font = viewFont(12);
    font.setItalic(placeholder);
    return font;
}

} // namespace

QString NoteCard::dateText(const WorkspaceNoteEntry& note)
{
    const qint64 stored = note.updatedAt != WorkspaceNoteEntry::distantPast ? note.updatedAt : note.createdAt;
    const QDateTime date = stored != WorkspaceNoteEntry::distantPast ? QDateTime::fromMSecsSinceEpoch(stored, Qt::UTC)
                                                                     : QDateTime::currentDateTime();
    // The abbreviated date and the short time, without seconds.
    const QLocale locale;
    const QDateTime local = date.toLocalTime();
    QString time = locale.timeFormat(QLocale::ShortFormat);
    time.remove(QStringLiteral(":ss"));
    return locale.toString(local.date(), QStringLiteral("d MMM yyyy")) + u' ' + locale.toString(local.time(), time);
}

QString NoteCard::toolTip(const NoteCellState& state)
{
    if (state.bulkMode) {
        return QStringLiteral("Click to select");
    }
    return state.showsTrash ? QStringLiteral("Double-click to restore and open") : QStringLiteral("Double-click to open sticky");
}

QRectF NoteCard::checkRect(const QRectF& rect)
{
    return QRectF(rect.topLeft(), QSizeF(38, 38));
}

NoteCard::Layout::Layout(const WorkspaceNoteEntry& note, const QString& previewLine, qreal width, bool bulk)
    : cardWidth(width)
    , bulkMode(bulk)
    , paper(note.paperColor, note.textureName, note.opacity)
    , title(note.displayTitle, viewFont(14, QFont::DemiBold), width - 2 * padding, 2,
          bulk ? checkReach + badgeGap - padding : 0,
          note.isTrashed      ? trashBadgeReach + badgeGap - padding
              : note.isPinned ? starBadgeReach + badgeGap - padding
                              : 0)
    , hasPreview(!previewLine.isEmpty())
    , preview(hasPreview ? previewLine : QStringLiteral("No additional text"), previewFont(!hasPreview), width - 2 * padding,
          hasPreview ? 3 : 1)
    , date(dateText(note))
{
}

void NoteCard::paint(QPainter& painter, const QRectF& cell, const WorkspaceNoteEntry& note, const Layout& layout,
    const NoteCellState& state)
{
    const QRectF rect = cell.translated(0, state.hovered ? -3 : 0);
    const NotePaper& paper = layout.paper;
    paper.paint(painter, rect, cornerRadius);
    if (note.isPinned) {
        strokeRounded(painter, rect, cornerRadius, NotePaper::pinnedAccent(), 1.5);
    }

    // A title of stacked marks stays on its card.
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    const qreal width = rect.width() - 2 * padding;
    QPointF at = rect.topLeft() + QPointF(padding, padding);
    layout.title.draw(painter, at, paper.primary);
    at.ry() += layout.title.height() + spacing;
    layout.preview.draw(painter, at, layout.hasPreview ? paper.secondary : paper.tertiary);
    const QFont dateFont = viewFont(11, QFont::Medium);
    painter.setFont(dateFont);
    painter.setPen(paper.secondary);
    const QRectF dateRect(rect.left() + padding, rect.bottom() - padding - QFontMetricsF(dateFont).height(), width,
        QFontMetricsF(dateFont).height());
    painter.drawText(dateRect, Qt::AlignLeft | Qt::AlignVCenter, layout.date);
    painter.restore();

    if (state.showsTrash) {
        drawSymbol(painter, QStringLiteral("trash.fill"), 11, paper.secondary,
            rect.topRight() + QPointF(-trashBadgeReach + 5.5, 8 + 5.5));
    } else if (note.isPinned) {
        const QRectF capsule(rect.right() - starBadgeReach, rect.top() + 6, 22, 18);
        fillRounded(painter, capsule, -1, paper.isDark ? QColor(255, 255, 255, 46) : QColor(0, 0, 0, 31));
        drawSymbol(painter, QStringLiteral("star.fill"), 10, paper.primary, capsule.center());
    }
    if (state.bulkMode) {
        const SchemeColors colors(state.palette);
        drawSymbol(painter, state.selected ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"), 18,
            state.selected ? colors.accent() : paper.secondary, checkRect(rect).center());
    }
}

} // namespace norvelle
