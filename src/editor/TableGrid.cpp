#include "editor/TableGrid.h"

#include "editor/TableEditing.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPainterPath>
#include <QTextTable>

#include <algorithm>

namespace norvelle {

TableGrid::TableGrid(QTextTable& table, const QAbstractTextDocumentLayout& layout)
    : m_table(table)
    , m_layout(layout)
{
}

qreal TableGrid::inset()
{
    return TableEditing::padding + TableEditing::borderWidth / 2;
}

QRectF TableGrid::textOf(int row, int column, bool lastParagraph) const
{
    const QTextTableCell cell = m_table.cellAt(row, column);
    const QTextCursor at = lastParagraph ? cell.lastCursorPosition() : cell.firstCursorPosition();
    return m_layout.blockBoundingRect(at.block());
}

std::vector<qreal> TableGrid::columnBorders() const
{
    std::vector<qreal> borders;
    const int columns = m_table.columns();
    for (int column = 0; column + 1 < columns; ++column) {
        for (int row = 0; row < m_table.rows(); ++row) {
            const QTextTableCell left = m_table.cellAt(row, column);
            const QTextTableCell right = m_table.cellAt(row, column + 1);
            if (left.column() + left.columnSpan() == column + 1 && right.column() == column + 1) {
                // Both cells have the same padding: the border lies halfway between their texts.
                borders.push_back((textOf(row, column).right() + textOf(row, column + 1).left()) / 2);
                break;
            }
        }
        if (borders.size() < size_t(column + 1))
            return {};
    }
    return borders;
}

std::vector<qreal> TableGrid::columnEdges() const
{
    const int columns = m_table.columns();
    std::vector<qreal> edges = columnBorders();
    if (columns < 1 || edges.size() + 1 != size_t(columns))
        return {};
    edges.insert(edges.begin(), textOf(0, 0).left() - inset());
    edges.push_back(textOf(0, columns - 1).right() + inset());
    return edges;
}

qreal TableGrid::rowEdge(int row) const
{
    if (row < m_table.rows())
        return textOf(row, 0).top() - inset();
    // The row is as tall as its tallest cell.
    qreal bottom = 0;
    for (int column = 0; column < m_table.columns(); ++column)
        bottom = std::max(bottom, textOf(m_table.rows() - 1, column, true).bottom());
    return bottom + inset();
}

int TableGrid::rowAt(qreal y) const
{
    int low = 0;
    int high = m_table.rows() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (rowEdge(middle) <= y)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

void TableGrid::paint(QPainter& painter, const QRectF& exposed, const Colors& colors) const
{
    const int rows = m_table.rows();
    const std::vector<qreal> columns = columnEdges();
    if (rows < 1 || columns.empty())
        return;
    const qreal bottom = rowEdge(rows);
    const int first = rowAt(exposed.top());
    const int last = rowAt(exposed.bottom());
    // The edges of the rows shown, read once: every cell of a row shares them.
    std::vector<qreal> shown;
    for (int row = first; row <= last + 1; ++row)
        shown.push_back(row >= rows ? bottom : rowEdge(row));
    // A cell spanning rows may start above them or end below them.
    const auto edge = [&](int row) {
        const bool read = row >= first && row <= last + 1;
        return read ? shown[size_t(row - first)] : rowEdge(row);
    };
    if (edge(first) > exposed.bottom() || bottom < exposed.top())
        return;
    painter.fillRect(QRectF(QPointF(columns.front(), edge(first)), QPointF(columns.back(), edge(last + 1))), colors.background);

    // One shape for every line, so where lines meet the border's colour is not laid on twice.
    // Each line lies just before the edge it marks, as the text layout draws borders.
    const qreal width = TableEditing::borderWidth;
    QPainterPath lines;
    lines.setFillRule(Qt::WindingFill);
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < m_table.columns(); ++column) {
            const QTextTableCell cell = m_table.cellAt(row, column);
            // A cell spanning into the first row shown is drawn from there.
            if (cell.column() != column || (cell.row() != row && row != first))
                continue;
            const qreal left = columns[size_t(column)];
            const qreal right = columns[size_t(std::min(column + cell.columnSpan(), m_table.columns()))];
            const qreal top = edge(cell.row());
            const qreal down = edge(cell.row() + cell.rowSpan());
            lines.addRect(QRectF(left - width, top - width, right - left + width, width));
            lines.addRect(QRectF(left - width, down - width, right - left + width, width));
            lines.addRect(QRectF(left - width, top - width, width, down - top + width));
            lines.addRect(QRectF(right - width, top - width, width, down - top + width));
        }
    }
    painter.fillPath(lines, colors.border);
}

} // namespace norvelle
