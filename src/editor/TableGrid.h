#pragma once

#include <QColor>
#include <QRectF>

#include <vector>

class QAbstractTextDocumentLayout;
class QPainter;
class QTextTable;

namespace norvelle {

// A laid-out table's grid, read from where its cells' text lies (the layout widens a column past
// its share to fit its words, so the stored widths alone miss it), and drawn from there.
//
// The document keeps only the room of a cell's border and padding; its border and background
// are drawn here in the paper's colours, so a new paper or theme edits no format of the note.
class TableGrid {
public:
    struct Colors {
        QColor border;
        QColor background;
    };

    TableGrid(QTextTable& table, const QAbstractTextDocumentLayout& layout);

    // The x of each border between two columns, left to right; empty when spans hide one.
    std::vector<qreal> columnBorders() const;
    // The cells' backgrounds and borders within `exposed` (document coordinates).
    void paint(QPainter& painter, const QRectF& exposed, const Colors& colors) const;

private:
    // From a cell's text to the edge of its box: the padding and half the border shared with the
    // next cell.
    static qreal inset();
    QRectF textOf(int row, int column, bool lastParagraph = false) const;
    // The y of the line above `row`; the table's rows give its bottom edge.
    qreal rowEdge(int row) const;
    // The last row whose top lies at or above y.
    int rowAt(qreal y) const;
    // Every vertical edge, the outer ones included; empty when spans hide one.
    std::vector<qreal> columnEdges() const;

    QTextTable& m_table;
    const QAbstractTextDocumentLayout& m_layout;
};

} // namespace norvelle
