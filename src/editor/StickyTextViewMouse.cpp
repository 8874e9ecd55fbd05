// The mouse in the text: a click on a checklist box ticks it, a drag on the border between two
// table columns resizes them.
#include "editor/StickyTextView.h"

#include "editor/ChecklistEditing.h"
#include "editor/TableGrid.h"
#include "editor/TextStorage.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextTable>

#include <cmath>
#include <vector>

namespace norvelle {

QPointF StickyTextView::documentPoint(const QPoint& point) const
{
    return QPointF(point) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

std::optional<StickyTextView::ColumnBorder> StickyTextView::hitTestColumnBorder(const QPoint& point) const
{
    const QPointF at = documentPoint(point);
    const int position = document()->documentLayout()->hitTest(at, Qt::FuzzyHit);
    TextStorage storage(*document());
    QTextTable* table = storage.tableAt(std::min(position, storage.length() - 1));
    if (position < 0 || !table)
        return std::nullopt;
    const std::vector<qreal> borders = TableGrid(*table, *document()->documentLayout()).columnBorders();
    for (size_t i = 0; i < borders.size(); ++i) {
        if (std::abs(borders[i] - at.x()) <= borderGrabTolerance)
            return ColumnBorder {table, int(i)};
    }
    return std::nullopt;
}

bool StickyTextView::toggleChecklistMarker(const QPoint& point)
{
    TextStorage storage(*document());
    if (storage.isEmpty())
        return false;
    const int position = cursorForPosition(point).position();
    const TextRange line = storage.lineRange(position);
    const TextRange body = TextStorage::withoutLineBreak(line, storage.text(line));
    ChecklistEditing checklists(storage, m_checklistBaseTextColor, QColor(0x0A, 0x84, 0xFF));
    const std::optional<bool> checked = checklists.checklistMarkerState(line.start, body.length);
    if (!checked)
        return false;
    // Up to 6 points right of the box (and its space) still hits it.
    QTextCursor afterMarker(document());
    afterMarker.setPosition(std::min(line.start + 2, storage.length()));
    if (point.x() > cursorRect(afterMarker).x() + 6)
        return false;
    QTextCursor step(document());
    step.beginEditBlock();
    checklists.setChecklistMarker(line.start, body.length, !*checked);
    step.endEditBlock();
    afterMarker.setPosition(std::min(line.start + 2, storage.length()));
    setTextCursor(afterMarker);
    return true;
}

void StickyTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint point = event->position().toPoint();
        if (!isReadOnly()) {
            if (const auto border = hitTestColumnBorder(point)) {
                m_resizeTable = border->table;
                m_resizingColumn = border->index;
                m_resizeStartX = point.x();
                m_resizeStepped = false;
                const int columns = border->table->columns();
                const QList<QTextLength> widths = border->table->format().columnWidthConstraints();
                m_resizeInitialWidths.assign(size_t(columns), 100.0 / columns);
                for (int column = 0; column < columns && column < widths.size(); ++column) {
                    if (widths[column].rawValue() > 0)
                        m_resizeInitialWidths[size_t(column)] = widths[column].rawValue();
                }
                if (m_delegate)
                    m_delegate->setReportingPaused(true);
                viewport()->setCursor(Qt::SizeHorCursor);
                event->accept();
                return;
            }
        }
        if (toggleChecklistMarker(point)) {
            event->accept();
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

void StickyTextView::dragColumnBorder(qreal x)
{
    const qreal available = viewport()->width() - 2 * document()->documentMargin();
    const size_t k = size_t(m_resizingColumn);
    if (available <= 0 || k + 1 >= m_resizeInitialWidths.size())
        return;
    // Always from the press, so rounding never adds up over a long drag.
    const qreal delta = (x - m_resizeStartX) / available * 100;
    qreal left = m_resizeInitialWidths[k] + delta;
    qreal right = m_resizeInitialWidths[k + 1] - delta;
    if (left < minimumColumnPercent) {
        right -= minimumColumnPercent - left;
        left = minimumColumnPercent;
    }
    if (right < minimumColumnPercent) {
        left -= minimumColumnPercent - right;
        right = minimumColumnPercent;
    }
    QList<QTextLength> widths;
    for (size_t column = 0; column < m_resizeInitialWidths.size(); ++column) {
        const qreal width = column == k ? left : column == k + 1 ? right
                                                                 : m_resizeInitialWidths[column];
        widths.append(QTextLength(QTextLength::PercentageLength, width));
    }
    QTextTableFormat format = m_resizeTable->format();
    format.setColumnWidthConstraints(widths);
    // A whole drag is one step for Undo, however many moves it took.
    QTextCursor step(document());
    if (m_resizeStepped)
        step.joinPreviousEditBlock();
    else
        step.beginEditBlock();
    m_resizeTable->setFormat(format);
    step.endEditBlock();
    m_resizeStepped = true;
}

void StickyTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (m_resizeTable && m_resizingColumn >= 0) {
        dragColumnBorder(event->position().x());
        event->accept();
        return;
    }
    if (!isReadOnly() && event->buttons() == Qt::NoButton)
        viewport()->setCursor(hitTestColumnBorder(event->position().toPoint()) ? Qt::SizeHorCursor : Qt::IBeamCursor);
    QTextEdit::mouseMoveEvent(event);
}

void StickyTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_resizeTable || m_resizingColumn >= 0) {
        m_resizeTable = nullptr;
        m_resizingColumn = -1;
        viewport()->setCursor(Qt::IBeamCursor);
        if (m_delegate)
            m_delegate->setReportingPaused(false);
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

} // namespace norvelle
