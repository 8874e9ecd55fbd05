#include "editor/TableEditing.h"

#include "editor/EditorFonts.h"
#include "editor/RichTextEditor.h"
#include "rtf/RtfLimits.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>

#include <algorithm>

namespace norvelle {

const int TableEditing::maxColumns = RtfLimits::maxTableColumns;

QTextCharFormat TableEditing::textFormat() const
{
    QTextCharFormat format = EditorFonts::systemFormat(RichTextEditor::defaultFontSize);
    if (m_textColor.isValid())
        format.setForeground(m_textColor);
    return format;
}

QTextBlockFormat TableEditing::cellParagraphFormat() const
{
    QTextBlockFormat format;
    format.setTopMargin(1);
    format.setBottomMargin(1);
    return format;
}

std::vector<QTextTable*> TableEditing::tables() const
{
    std::vector<QTextTable*> found;
    for (QTextFrame* frame : m_storage.document().rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame))
            found.push_back(table);
    }
    return found;
}

std::optional<TableCellInfo> TableEditing::cellInfo(int location) const
{
    if (m_storage.isEmpty())
        return std::nullopt;
    const int index = std::clamp(location, 0, m_storage.length() - 1);
    QTextTable* table = m_storage.tableAt(index);
    if (!table)
        return std::nullopt;
    const QTextTableCell cell = table->cellAt(index);
    if (!cell.isValid())
        return std::nullopt;
    return TableCellInfo {m_storage.lineRange(index), table, cell.row(), cell.column()};
}

std::vector<TableCellInfo> TableEditing::cellInfos(QTextTable* table) const
{
    std::vector<TableCellInfo> entries;
    if (!table)
        return entries;
    for (QTextBlock block = m_storage.document().findBlock(table->firstPosition());
         block.isValid() && block.position() <= table->lastPosition(); block = block.next()) {
        const QTextTableCell cell = table->cellAt(block.position());
        if (cell.isValid())
            entries.push_back({m_storage.lineRange(block.position()), table, cell.row(), cell.column()});
    }
    return entries;
}

std::optional<TextRange> TableEditing::tableRange(QTextTable* table) const
{
    const std::vector<TableCellInfo> entries = cellInfos(table);
    if (entries.empty())
        return std::nullopt;
    return TextRange {entries.front().range.start, entries.back().range.end() - entries.front().range.start};
}

int TableEditing::tableInsertionLocation(int location) const
{
    const int index = location < 0 ? 0 : std::min(std::max(m_storage.length() - 1, 0), location);
    if (const auto cell = cellInfo(index)) {
        if (const auto range = tableRange(cell->table))
            return range->end();
    }
    return m_storage.lineRange(std::clamp(location, 0, m_storage.length())).end();
}

void TableEditing::setEqualWidths(QTextTable* table) const
{
    QTextTableFormat format = table->format();
    const int columns = std::max(1, table->columns());
    format.setColumnWidthConstraints(QList<QTextLength>(columns, QTextLength(QTextLength::PercentageLength, 100.0 / columns)));
    table->setFormat(format);
}

void TableEditing::restyleTable(QTextTable* table) const
{
    if (!table)
        return;
    QTextTableFormat format = table->format();
    format.setBorderCollapse(true);
    format.setBorder(0);
    format.setCellSpacing(0);
    format.setCellPadding(0);
    format.setMargin(0);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    // A width set by dragging a border stays; a column without one gets an equal share.
    const int columns = std::max(1, table->columns());
    QList<QTextLength> widths = format.columnWidthConstraints();
    widths.resize(columns);
    for (QTextLength& width : widths) {
        if (width.rawValue() <= 0)
            width = QTextLength(QTextLength::PercentageLength, 100.0 / columns);
    }
    format.setColumnWidthConstraints(widths);
    table->setFormat(format);
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            QTextTableCell cell = table->cellAt(row, column);
            QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
            cellFormat.setBorder(borderWidth);
            cellFormat.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            // Only the room: the view draws the border and background in the paper's colours.
            cellFormat.setBorderBrush(Qt::transparent);
            cellFormat.clearBackground();
            cellFormat.setPadding(padding);
            cell.setFormat(cellFormat);
        }
    }
}

void TableEditing::fillCell(QTextTable* table, int row, int column, const QString& text) const
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    cursor.setBlockFormat(cellParagraphFormat());
    cursor.insertText(text.isEmpty() ? QString(seed) : text, textFormat());
}

void TableEditing::restorePlaceholders(QTextTable* table)
{
    for (int row = 0; row < table->rows(); ++row) {
        for (int column = 0; column < table->columns(); ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            // In the cell's own format, so what is typed there looks as the cell was written.
            if (cell.row() == row && cell.column() == column && cell.firstPosition() == cell.lastPosition())
                cell.firstCursorPosition().insertText(QString(seed));
        }
    }
    if (table->lastPosition() + 1 == m_storage.length())
        insertAnchor(m_storage.length());
}

void TableEditing::insertAnchor(int position)
{
    QTextCursor cursor = m_storage.cursor({position, 0});
    cursor.insertText(QString(seed), textFormat());
}

int TableEditing::insertTable(TextRange selection)
{
    const int caretEnd = std::clamp(selection.start + std::max(0, selection.length), 0, m_storage.length());
    const int location = tableInsertionLocation(caretEnd);
    enum class Prefix { AnchorLine,
        None,
        LineBreak } prefix
        = Prefix::LineBreak;
    if (location == 0 || cellInfo(location - 1))
        prefix = Prefix::AnchorLine;
    else if (m_storage.characterAt(location - 1) == u'\n')
        prefix = Prefix::None;
    QTextCursor cursor = m_storage.cursor({location, 0});
    int at = location;
    if (prefix == Prefix::AnchorLine) {
        cursor.insertText(QString(seed), textFormat());
        at = location + 1;
    }
    cursor.setPosition(at);
    // The table splits the paragraph it goes into: the part before is the line above it (or
    // the line break a text without one needs), the part after the line below.
    QTextTable* table = cursor.insertTable(2, 2, QTextTableFormat());
    if (prefix == Prefix::None) {
        // The table went in at a line start: the line above, not a new empty one, leads it.
        m_storage.cursor({location - 1, 1}).removeSelectedText();
    }
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            fillCell(table, row, column, QString());
    insertAnchor(table->lastPosition() + 1);
    setEqualWidths(table);
    restyleTable(table);
    const int prefixLength = prefix == Prefix::AnchorLine ? 2 : prefix == Prefix::LineBreak ? 1
                                                                                            : 0;
    return std::min(location + prefixLength + 1, m_storage.length());
}

int TableEditing::leaveTable(QTextTable* table)
{
    const std::vector<TableCellInfo> entries = cellInfos(table);
    if (entries.empty())
        return m_storage.cursor({0, 0}).position();
    const int end = entries.back().range.end();
    insertAnchor(end);
    return std::min(end + 1, m_storage.length());
}

std::optional<TableEditing::CellPlace> TableEditing::cellPlace(int location) const
{
    const auto current = cellInfo(location);
    if (!current)
        return std::nullopt;
    std::vector<TableCellInfo> cells = cellInfos(current->table);
    const auto found = std::find_if(cells.begin(), cells.end(), [&](const TableCellInfo& e) { return e.range == current->range; });
    if (found == cells.end())
        return std::nullopt;
    const qsizetype index = found - cells.begin();
    return CellPlace {std::move(cells), index};
}

std::optional<int> TableEditing::moveToAdjacentCell(int location, bool forward) const
{
    const auto place = cellPlace(location);
    if (!place)
        return std::nullopt;
    const qsizetype index = place->index + (forward ? 1 : -1);
    if (index < 0 || index >= qsizetype(place->cells.size()))
        return location;
    return std::min(place->cells[size_t(index)].range.start + 1, m_storage.length());
}

std::optional<int> TableEditing::handleReturnInTable(int location)
{
    const auto place = cellPlace(location);
    if (!place)
        return std::nullopt;
    const size_t index = size_t(place->index);
    if (index + 1 < place->cells.size())
        return std::min(place->cells[index + 1].range.start + 1, m_storage.length());
    const TableCellInfo& current = place->cells[index];
    QString text = m_storage.text(current.range);
    text.remove(seed);
    if (text.trimmed().isEmpty())
        return leaveTable(current.table);
    return appendTableRow(current.table);
}

int TableEditing::appendTableRow(QTextTable* table)
{
    return insertTableRow(table, table->rows()).value_or(m_storage.length());
}

int TableEditing::distinctRows(QTextTable* table) const
{
    return table ? table->rows() : 0;
}

int TableEditing::distinctColumns(QTextTable* table) const
{
    return table ? table->columns() : 0;
}

std::optional<int> TableEditing::caretInCell(QTextTable* table, int row, int column) const
{
    const QTextTableCell cell = table->cellAt(std::clamp(row, 0, table->rows() - 1), std::clamp(column, 0, table->columns() - 1));
    if (!cell.isValid())
        return std::nullopt;
    return std::min(cell.firstPosition() + 1, m_storage.length());
}

int TableEditing::insertTableLine(QTextTable* table, TableAxis axis, int index)
{
    const bool rows = axis == TableAxis::rows;
    const int count = rows ? table->rows() : table->columns();
    const int at = std::clamp(index, 0, count);
    if (at == count)
        rows ? table->appendRows(1) : table->appendColumns(1);
    else
        rows ? table->insertRows(at, 1) : table->insertColumns(at, 1);
    for (int other = 0; other < (rows ? table->columns() : table->rows()); ++other)
        rows ? fillCell(table, at, other, QString()) : fillCell(table, other, at, QString());
    restyleAfterLineChange(table, axis);
    return at;
}

int TableEditing::removeTableLine(QTextTable* table, TableAxis axis, int index)
{
    const bool rows = axis == TableAxis::rows;
    const int target = std::clamp(index, 0, (rows ? table->rows() : table->columns()) - 1);
    rows ? table->removeRows(target, 1) : table->removeColumns(target, 1);
    restyleAfterLineChange(table, axis);
    return std::min(target, (rows ? table->rows() : table->columns()) - 1);
}

void TableEditing::restyleAfterLineChange(QTextTable* table, TableAxis axis) const
{
    // A column added or taken away shares the width out again.
    if (axis == TableAxis::columns)
        setEqualWidths(table);
    restyleTable(table);
}

std::optional<int> TableEditing::insertTableRow(QTextTable* table, int row)
{
    return caretInCell(table, insertTableLine(table, TableAxis::rows, row), 0);
}

std::optional<int> TableEditing::deleteTableRow(QTextTable* table, int row)
{
    if (table->rows() < 2)
        return deleteTable(table);
    return caretInCell(table, removeTableLine(table, TableAxis::rows, row), 0);
}

std::optional<int> TableEditing::insertTableColumn(QTextTable* table, int column, int caretRow)
{
    if (table->columns() >= maxColumns)
        return std::nullopt;
    return caretInCell(table, caretRow, insertTableLine(table, TableAxis::columns, column));
}

std::optional<int> TableEditing::deleteTableColumn(QTextTable* table, int column, int caretRow)
{
    if (table->columns() < 2)
        return std::nullopt;
    return caretInCell(table, caretRow, removeTableLine(table, TableAxis::columns, column));
}

void TableEditing::swapCells(QTextTable* table, int rowA, int columnA, int rowB, int columnB)
{
    const auto contents = [&](int row, int column) {
        const QTextTableCell cell = table->cellAt(row, column);
        QTextCursor cursor = cell.firstCursorPosition();
        cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return cursor;
    };
    const QTextDocumentFragment a = contents(rowA, columnA).selection();
    const QTextDocumentFragment b = contents(rowB, columnB).selection();
    // The later cell first, so the earlier one's positions still hold.
    const bool aFirst = table->cellAt(rowA, columnA).firstPosition() < table->cellAt(rowB, columnB).firstPosition();
    if (aFirst) {
        contents(rowB, columnB).insertFragment(a);
        contents(rowA, columnA).insertFragment(b);
    } else {
        contents(rowA, columnA).insertFragment(b);
        contents(rowB, columnB).insertFragment(a);
    }
}

std::optional<int> TableEditing::moveTableRow(QTextTable* table, int from, int to, int caretColumn)
{
    if (from < 0 || to < 0 || from >= table->rows() || to >= table->rows() || from == to)
        return std::nullopt;
    for (int column = 0; column < table->columns(); ++column)
        swapCells(table, from, column, to, column);
    return caretInCell(table, to, caretColumn);
}

std::optional<int> TableEditing::moveTableColumn(QTextTable* table, int from, int to, int caretRow)
{
    if (from < 0 || to < 0 || from >= table->columns() || to >= table->columns() || from == to)
        return std::nullopt;
    for (int row = 0; row < table->rows(); ++row)
        swapCells(table, row, from, row, to);
    QTextTableFormat format = table->format();
    QList<QTextLength> widths = format.columnWidthConstraints();
    if (from < widths.size() && to < widths.size()) {
        std::swap(widths[from], widths[to]);
        format.setColumnWidthConstraints(widths);
        table->setFormat(format);
    }
    return caretInCell(table, caretRow, to);
}

void TableEditing::moveTable(QTextTable* table, bool up)
{
    const auto range = tableRange(table);
    if (!range)
        return;
    QTextDocument& document = m_storage.document();
    if (up) {
        // The line above the table goes below it.
        const QTextBlock above = document.findBlock(range->start - 1);
        const QTextBlock beforeAbove = above.previous();
        if (above.length() <= 1 && (!beforeAbove.isValid() || m_storage.tableAt(beforeAbove.position())))
            return;
        QTextCursor line(above);
        line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        const QTextDocumentFragment text = line.selection();
        line.removeSelectedText();
        QTextCursor below = m_storage.cursor({table->lastPosition() + 1, 0});
        below.insertFragment(text);
        below.insertBlock();
        // The emptied line gives way to the one before it, unless it starts the text.
        if (beforeAbove.isValid() && !m_storage.tableAt(beforeAbove.position()))
            m_storage.cursor({above.position() - 1, 1}).removeSelectedText();
        return;
    }
    // Down: the line below the table goes above it, on a line of its own.
    if (range->end() >= m_storage.length())
        return;
    const QTextBlock belowBlock = document.findBlock(range->end());
    QTextCursor line(belowBlock);
    line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    const QTextDocumentFragment text = line.selection();
    const bool hasNext = belowBlock.next().isValid();
    line.removeSelectedText();
    if (hasNext && !m_storage.tableAt(belowBlock.next().position()))
        m_storage.cursor({range->end(), 1}).removeSelectedText();
    QTextCursor above = m_storage.cursor({range->start - 1, 0});
    // An empty line before the table (the text's first, or one between tables) takes it.
    if (above.block().length() > 1)
        above.insertBlock();
    above.insertFragment(text);
}

std::optional<int> TableEditing::deleteTable(QTextTable* table)
{
    const auto range = tableRange(table);
    if (!range)
        return std::nullopt;
    // The whole frame goes, with the mark before its first cell; the line above stays a line
    // and a zero-width space stands where the table was.
    QTextCursor cursor = m_storage.cursor({range->start - 1, range->length + 1});
    cursor.removeSelectedText();
    cursor.insertBlock();
    cursor.insertText(QString(seed), textFormat());
    return std::min(range->start + 1, m_storage.length());
}

QString TableEditing::cellText(QTextTable* table, int row, int column) const
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QString text = cursor.selection().toPlainText();
    text.remove(seed);
    return text.trimmed();
}

std::optional<std::pair<int, QString>> TableEditing::cellTextAt(int position) const
{
    if (m_storage.isEmpty())
        return std::nullopt;
    const int index = std::clamp(position, 0, m_storage.length() - 1);
    QTextTable* table = m_storage.tableAt(index);
    const QTextTableCell cell = table ? table->cellAt(index) : QTextTableCell();
    if (!cell.isValid())
        return std::nullopt;
    const int first = cell.firstPosition();
    return std::pair(first, m_storage.text({first, cell.lastPosition() - first}));
}

std::vector<int> TableEditing::seedsOfFilledCell(int position) const
{
    std::vector<int> seeds;
    const auto cell = cellTextAt(position);
    if (!cell)
        return seeds;
    const auto& [first, text] = *cell;
    const bool filled = std::any_of(text.begin(), text.end(), [](QChar c) { return c != seed && c != u'\n'; });
    if (!filled)
        return seeds;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == seed)
            seeds.push_back(first + int(i));
    }
    return seeds;
}

std::optional<TextRange> TableEditing::seedOfEmptyCell(int position) const
{
    const auto cell = cellTextAt(position);
    if (!cell || cell->second.isEmpty() || cell->second.count(seed) != cell->second.size())
        return std::nullopt;
    return TextRange {cell->first, int(cell->second.size())};
}

} // namespace norvelle
