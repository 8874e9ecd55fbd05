#pragma once

#include "editor/TextStorage.h"

#include <QColor>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

class QTextTable;

namespace norvelle {

// One paragraph of a table cell (a cell may hold several).
struct TableCellInfo {
    TextRange range; // the paragraph with its line break
    QTextTable* table;
    int row;
    int column;
};

// Text tables in the editor's text: lookups in flat positions, the new 2 × 2 table with its
// anchors (U+200B before and after, so the caret has a place outside), cell styling, moving
// between cells, and the row, column and table commands of the table menu.
// Each operation returns where the caret goes; none leaves it.
class TableEditing {
public:
    static constexpr QChar seed = QChar(0x200B);
    // As wide as a note's body can keep a table.
    static const int maxColumns;
    static constexpr qreal borderWidth = 1;
    static constexpr qreal padding = 10;

    TableEditing(TextStorage& storage, QColor textColor)
        : m_storage(storage)
        , m_textColor(std::move(textColor))
    {
    }

    std::optional<TableCellInfo> cellInfo(int location) const;
    std::vector<TableCellInfo> cellInfos(QTextTable* table) const;
    std::optional<TextRange> tableRange(QTextTable* table) const;
    int tableInsertionLocation(int location) const;
    // Every table of the text, first to last.
    std::vector<QTextTable*> tables() const;

    // Borders, background and padding from the paper; equal widths where none is set.
    void restyleTable(QTextTable* table) const;
    int insertTable(TextRange selection);
    int leaveTable(QTextTable* table);
    // Tab and Backtab: the next or previous cell paragraph; none outside a table.
    std::optional<int> moveToAdjacentCell(int location, bool forward) const;
    // Return: the next cell, or past the last cell a new row (the cell has text) or the way out.
    std::optional<int> handleReturnInTable(int location);
    int appendTableRow(QTextTable* table);

    // The text other programs and the store get, plain or rich: the placeholders are the
    // editor's alone.
    static QString withoutSeeds(QString text) { return text.remove(seed); }
    // Puts back what a text come in (a note opened, a paste) lacks of the placeholders: one in
    // each empty cell, and the anchor after a table that ends the text, so the caret has a
    // place outside it.
    void restorePlaceholders(QTextTable* table);

    int distinctRows(QTextTable* table) const;
    int distinctColumns(QTextTable* table) const;
    std::optional<int> insertTableRow(QTextTable* table, int row);
    std::optional<int> deleteTableRow(QTextTable* table, int row);
    // None, with the table unchanged, when it already has `maxColumns`.
    std::optional<int> insertTableColumn(QTextTable* table, int column, int caretRow);
    std::optional<int> deleteTableColumn(QTextTable* table, int column, int caretRow);
    std::optional<int> moveTableRow(QTextTable* table, int from, int to, int caretColumn);
    std::optional<int> moveTableColumn(QTextTable* table, int from, int to, int caretRow);
    void moveTable(QTextTable* table, bool up);
    std::optional<int> deleteTable(QTextTable* table);

    // A cell's text: its paragraphs joined with line breaks, without seeds, trimmed.
    QString cellText(QTextTable* table, int row, int column) const;
    // The invisible placeholders ("seeds") of the cell at `position` once it holds text of its
    // own (where a long word would wrap after them), last first; none for an empty cell or
    // outside a table.
    std::vector<int> seedsOfFilledCell(int position) const;
    // The placeholder of the cell at `position` while the cell holds nothing else, so that what
    // is typed there takes its place in the same undo step.
    std::optional<TextRange> seedOfEmptyCell(int position) const;

private:
    // The cells of a table, first to last, and which of them holds a location.
    struct CellPlace {
        std::vector<TableCellInfo> cells;
        qsizetype index;
    };
    std::optional<CellPlace> cellPlace(int location) const;
    // Where the cell at `position` starts and its text, its paragraphs' line breaks included.
    std::optional<std::pair<int, QString>> cellTextAt(int position) const;
    enum class TableAxis { rows,
        columns };
    // Adds an empty row or column at `index` (clamped to the ends); returns where it went.
    int insertTableLine(QTextTable* table, TableAxis axis, int index);
    // Removes the row or column at `index` (clamped); returns the one that takes its place.
    int removeTableLine(QTextTable* table, TableAxis axis, int index);
    void restyleAfterLineChange(QTextTable* table, TableAxis axis) const;
    QTextCharFormat textFormat() const;
    QTextBlockFormat cellParagraphFormat() const;
    void fillCell(QTextTable* table, int row, int column, const QString& text) const;
    void setEqualWidths(QTextTable* table) const;
    std::optional<int> caretInCell(QTextTable* table, int row, int column) const;
    void swapCells(QTextTable* table, int rowA, int columnA, int rowB, int columnB);
    void insertAnchor(int position);

    TextStorage& m_storage;
    QColor m_textColor;
};

} // namespace norvelle
