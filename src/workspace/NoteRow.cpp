#include "workspace/NoteRow.h"

#include "store/StickyNote.h"
#include "ui/HexColor.h"
#include "ui/IsolatedText.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"
#include "workspace/NoteCard.h"
#include "workspace/WorkspaceNoteEntry.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

namespace norvelle {

namespace {

constexpr qreal padding = 10;
constexpr qreal spacing = 12;

} // namespace

QRectF NoteRow::checkRect(const QRectF& rect)
{
    return QRectF(rect.left() + padding, rect.top(), 22, rect.height());
}

void NoteRow::paint(QPainter& painter, const QRectF& rect, const WorkspaceNoteEntry& note, const QString& previewLine,
    const NoteCellState& state)
{
    const SchemeColors colors(state.palette);
    fillRounded(painter, rect, 10, QColor(255, 255, 255, 5));
    qreal x = rect.left() + padding;
    const qreal middle = rect.center().y();
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    if (state.bulkMode) {
        const QImage check = symbolImage(state.selected ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle"), 16,
            state.selected ? colors.accent() : colors.secondaryText(), dpr);
        painter.drawImage(QRectF(x + 3, middle - 8, 16, 16), check);
        x += 22 + spacing;
    }
    const QString paper = note.paperColor.isNull() ? QStringLiteral("#FDFDF8") : note.paperColor;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A faint ring, so dark paper shows on the dark look's rows and white paper on the light's.
    painter.setPen(QPen(colors.overlay(0.3, 0.16), 1));
    painter.setBrush(colorFromHexOrWhite(paper));
    painter.drawEllipse(QRectF(x + 0.5, middle - 8.5, 17, 17));
    painter.restore();
    x += 18 + spacing;

    const QFont dateFont = viewFont(11);
    const QString date = NoteCard::dateText(note);
    const qreal dateWidth = QFontMetricsF(dateFont).horizontalAdvance(date);
    painter.setFont(dateFont);
    painter.setPen(colors.secondaryText());
    painter.drawText(QRectF(rect.right() - padding - dateWidth, rect.top(), dateWidth, rect.height()),
        Qt::AlignRight | Qt::AlignVCenter, date);

    const qreal textWidth = rect.right() - padding - dateWidth - spacing - x;
    const QFont titleFont = viewFont(13, QFont::DemiBold);
    QFont previewFont = viewFont(11);
    const QString preview = previewLine.isEmpty() ? QStringLiteral("No additional text") : previewLine;
    previewFont.setItalic(preview == u"No additional text");
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF previewMetrics(previewFont);
    const qreal top = middle - (titleMetrics.height() + 2 + previewMetrics.height()) / 2;
    // A title of stacked marks stays on its row.
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    painter.setFont(titleFont);
    painter.setPen(colors.label());
    painter.drawText(QPointF(x, top + titleMetrics.ascent()),
        isolatedText(titleMetrics.elidedText(note.displayTitle, Qt::ElideRight, textWidth)));
    painter.setFont(previewFont);
    painter.setPen(colors.secondaryText());
    painter.drawText(QPointF(x, top + titleMetrics.height() + 2 + previewMetrics.ascent()),
        isolatedText(previewMetrics.elidedText(preview, Qt::ElideRight, textWidth)));
    painter.restore();
}

} // namespace norvelle
