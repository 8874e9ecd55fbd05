// The colours the view draws beside the note's own: tables, text on a highlight, and the scroll
// bars.
#include "editor/StickyTextView.h"

#include "ui/HexColor.h"
#include "ui/TextContrast.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextTable>

#include <unordered_map>

namespace norvelle {

// Text on a highlight is drawn in whichever of black and white reads on it when its own colour
// does not (white text of dark paper on yellow): only in the drawing, the note keeps its colours.
void StickyTextView::refreshHighlightInk()
{
    // A document holds few formats: the inked ones are found among them first, so the text of a
    // large note is only walked when it has one.
    std::unordered_map<int, QColor> inks;
    const QColor plain = palette().color(QPalette::Text);
    const QList<QTextFormat> formats = document()->allFormats();
    for (qsizetype index = 0; index < formats.size(); ++index) {
        if (!formats[index].isCharFormat())
            continue;
        const QTextCharFormat format = formats[index].toCharFormat();
        const QBrush highlight = format.background();
        if (!format.hasProperty(QTextFormat::BackgroundBrush) || highlight.style() == Qt::NoBrush)
            continue;
        const QColor text = format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color() : plain;
        const double lighter = std::max(relativeLuminance(text), relativeLuminance(highlight.color()));
        const double darker = std::min(relativeLuminance(text), relativeLuminance(highlight.color()));
        if ((lighter + 0.05) / (darker + 0.05) >= 3)
            continue;
        inks.emplace(int(index), compareTextContrast(hexString(highlight.color())) ? QColor(Qt::white) : QColor(Qt::black));
    }
    QList<ExtraSelection> inked;
    for (QTextBlock block = document()->begin(); !inks.empty() && block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const auto ink = inks.find(fragment.charFormatIndex());
            if (ink == inks.end())
                continue;
            ExtraSelection selection;
            selection.cursor = QTextCursor(document());
            selection.cursor.setPosition(fragment.position());
            selection.cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            selection.format.setForeground(ink->second);
            inked.append(selection);
        }
    }
    if (!inked.isEmpty() || !extraSelections().isEmpty())
        setExtraSelections(inked);
}

void StickyTextView::setTableColors(const TableGrid::Colors& colors)
{
    if (colors.border == m_tableColors.border && colors.background == m_tableColors.background)
        return;
    m_tableColors = colors;
    viewport()->update();
}

void StickyTextView::paintEvent(QPaintEvent* event)
{
    // Under the text, in the same pass, so a part of the view painted again is whole.
    if (m_tableColors.border.isValid()) {
        QPainter painter(viewport());
        painter.setClipRegion(event->region());
        const QPointF offset = documentPoint(QPoint(0, 0));
        painter.translate(-offset);
        const QRectF exposed = QRectF(event->rect()).translated(offset);
        const QAbstractTextDocumentLayout& layout = *document()->documentLayout();
        // Only the tables in sight: those above it may be many, and those below it are left
        // unlaid-out, as the text draws them. A table whose bottom line shows has its last row
        // within 40 points above.
        const int firstShown = layout.hitTest(exposed.topLeft() - QPointF(0, 40), Qt::FuzzyHit);
        const int lastShown = layout.hitTest(exposed.bottomRight(), Qt::FuzzyHit);
        for (QTextFrame* frame : document()->rootFrame()->childFrames()) {
            auto* table = qobject_cast<QTextTable*>(frame);
            if (!table || table->lastPosition() < firstShown)
                continue;
            if (lastShown >= 0 && table->firstPosition() > lastShown)
                break;
            TableGrid(*table, layout).paint(painter, exposed, m_tableColors);
        }
    }
    QTextEdit::paintEvent(event);
}

void StickyTextView::setScrollBarInk(const QColor& ink)
{
    const auto rgba = [&ink](qreal opacity) {
        return QStringLiteral("rgba(%1, %2, %3, %4)").arg(ink.red()).arg(ink.green()).arg(ink.blue()).arg(opacity);
    };
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { background: transparent; width: 8px; margin: 4px 2px 4px 0; }"
        "QScrollBar::handle:vertical { background: %1; border-radius: 3px; min-height: 24px; }"
        "QScrollBar::handle:vertical:hover { background: %2; }"
        "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }")
                                           .arg(rgba(0.25), rgba(0.4)));
    // Shown only for a text wrapped wider than the note (see keepLayoutWithinReach).
    horizontalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:horizontal { background: transparent; height: 8px; margin: 0 4px 2px 4px; }"
        "QScrollBar::handle:horizontal { background: %1; border-radius: 3px; min-width: 24px; }"
        "QScrollBar::handle:horizontal:hover { background: %2; }"
        "QScrollBar::add-line:horizontal, QScrollBar::sub-line:horizontal { width: 0; }"
        "QScrollBar::add-page:horizontal, QScrollBar::sub-page:horizontal { background: transparent; }")
                                             .arg(rgba(0.25), rgba(0.4)));
}

} // namespace norvelle
