#include "workspace/PinnedNotePreviewChip.h"

#include "ui/IsolatedText.h"
#include "ui/RoundedPainting.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"
#include "workspace/NoteActions.h"
#include "workspace/NoteDisplayText.h"
#include "workspace/NotePaper.h"

#include <QFontMetricsF>
#include <QPainter>

namespace norvelle {

PinnedNotePreviewChip::PinnedNotePreviewChip(std::shared_ptr<StickyNote> note, QWidget* parent)
    : QAbstractButton(parent)
    , m_note(std::move(note))
{
    setFixedSize(200, 48);
    setCursor(Qt::PointingHandCursor);
    connect(this, &QAbstractButton::clicked, this, [this] { NoteActions::openSticky(*m_note); });
}

void PinnedNotePreviewChip::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF tile = QRectF(rect()).adjusted(0.75, 0.75, -0.75, -0.75);
    const NotePaper paper(*m_note);
    paper.paint(painter, tile, 10);
    strokeRounded(painter, tile, 10, NotePaper::pinnedAccent(), 1.5);

    const qreal textWidth = 180;
    const QFont titleFont = viewFont(12, QFont::DemiBold);
    const QString preview = previewLine(*m_note);
    QFont previewFont = viewFont(11);
    previewFont.setItalic(preview.isEmpty());
    const QFontMetricsF titleMetrics(titleFont);
    const QFontMetricsF previewMetrics(previewFont);
    const qreal top = (height() - titleMetrics.height() - 4 - previewMetrics.height()) / 2;
    painter.setFont(titleFont);
    painter.setPen(paper.primary);
    painter.drawText(QPointF(10, top + titleMetrics.ascent()),
        isolatedText(titleMetrics.elidedText(displayTitle(*m_note), Qt::ElideRight, textWidth - 24)));
    painter.setFont(previewFont);
    painter.setPen(preview.isEmpty() ? paper.tertiary : paper.secondary);
    painter.drawText(QPointF(10, top + titleMetrics.height() + 4 + previewMetrics.ascent()),
        isolatedText(previewMetrics.elidedText(preview.isEmpty() ? QStringLiteral("No additional text") : preview,
            Qt::ElideRight, textWidth)));

    const QRectF capsule(width() - 5 - 20, 5, 20, 16);
    fillRounded(painter, capsule, -1, paper.isDark ? QColor(255, 255, 255, 46) : QColor(0, 0, 0, 31));
    const QImage star = symbolImage(QStringLiteral("star.fill"), 9, paper.primary, devicePixelRatioF());
    painter.drawImage(QRectF(capsule.center() - QPointF(4.5, 4.5), QSizeF(9, 9)), star);
}

} // namespace norvelle
