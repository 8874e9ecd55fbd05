// Tables: inserting one, and the menu of row, column and table commands for the clicked cell.
#include "editor/RichTextEditorCoordinator.h"

#include "editor/RichTextEditor.h"
#include "editor/TableEditing.h"

#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTextTable>
#include <QWidgetAction>

namespace norvelle {

namespace {

// A menu item whose title is drawn in red (the destructive one).
class RedMenuItem : public QWidgetAction {
public:
    RedMenuItem(const QString& title, QMenu* menu)
        : QWidgetAction(menu)
    {
        setText(title);
        auto* label = new Label(title, this);
        label->setStyleSheet(QStringLiteral("QLabel { color: #FF3B30; padding: 4px 24px; } QLabel:hover { background: palette(highlight); }"));
        setDefaultWidget(label);
    }

private:
    class Label : public QLabel {
    public:
        Label(const QString& title, QWidgetAction* action)
            : QLabel(title)
            , m_action(action)
        {
            setMouseTracking(true);
        }

    protected:
        void mouseReleaseEvent(QMouseEvent* event) override
        {
            if (rect().contains(event->position().toPoint())) {
                m_action->trigger();
                if (auto* menu = qobject_cast<QMenu*>(m_action->parent()))
                    menu->close();
            }
        }

    private:
        QWidgetAction* m_action;
    };
};

} // namespace

void RichTextEditorCoordinator::tableMenuAction(const std::function<std::optional<int>(TableEditing&, QTextTable*)>& action)
{
    if (!m_textView || !m_contextMenuTable)
        return;
    QTextTable* table = m_contextMenuTable;
    commitEdit([&](TextStorage& storage) {
        TableEditing tables(storage, paperInk);
        return action(tables, table);
    });
}

QMenu* RichTextEditorCoordinator::tableContextMenu(QMenu* defaultMenu, int characterIndex)
{
    StickyTextView* view = m_textView;
    if (!view)
        return defaultMenu;
    TextStorage storage(*view->document());
    TableEditing tables(storage, paperInk);
    const auto cell = tables.cellInfo(characterIndex);
    if (storage.isEmpty() || !cell)
        return defaultMenu;
    m_contextMenuTable = cell->table;
    m_contextMenuRow = cell->row;
    m_contextMenuColumn = cell->column;
    const int columns = tables.distinctColumns(cell->table);
    const int rows = tables.distinctRows(cell->table);

    auto* menu = new QMenu(view);
    const auto add = [&](const QString& title, bool enabled, std::function<std::optional<int>(TableEditing&, QTextTable*)> action) {
        QAction* item = menu->addAction(title);
        item->setEnabled(enabled);
        connect(item, &QAction::triggered, this, [this, action] { tableMenuAction(action); });
        return item;
    };
    const int row = m_contextMenuRow;
    const int column = m_contextMenuColumn;
    add(QStringLiteral("Add Row Above"), true, [row](TableEditing& t, QTextTable* table) { return t.insertTableRow(table, row); });
    add(QStringLiteral("Add Row Below"), true, [row](TableEditing& t, QTextTable* table) { return t.insertTableRow(table, row + 1); });
    // A note keeps no wider table: the items say so rather than lose a column at the next save.
    const bool roomForColumn = columns < TableEditing::maxColumns;
    QAction* addLeft = add(QStringLiteral("Add Column Left"), roomForColumn,
        [row, column](TableEditing& t, QTextTable* table) { return t.insertTableColumn(table, column, row); });
    QAction* addRight = add(QStringLiteral("Add Column Right"), roomForColumn,
        [row, column](TableEditing& t, QTextTable* table) { return t.insertTableColumn(table, column + 1, row); });
    if (!roomForColumn) {
        menu->setToolTipsVisible(true);
        for (QAction* item : {addLeft, addRight})
            item->setToolTip(QStringLiteral("A table holds at most %1 columns").arg(TableEditing::maxColumns));
    }
    menu->addSeparator();
    add(QStringLiteral("Move Column Left"), column > 0,
        [row, column](TableEditing& t, QTextTable* table) { return t.moveTableColumn(table, column, column - 1, row); });
    add(QStringLiteral("Move Column Right"), column < columns - 1,
        [row, column](TableEditing& t, QTextTable* table) { return t.moveTableColumn(table, column, column + 1, row); });
    add(QStringLiteral("Move Row Up"), row > 0,
        [row, column](TableEditing& t, QTextTable* table) { return t.moveTableRow(table, row, row - 1, column); });
    add(QStringLiteral("Move Row Down"), row < rows - 1,
        [row, column](TableEditing& t, QTextTable* table) { return t.moveTableRow(table, row, row + 1, column); });
    menu->addSeparator();
    add(QStringLiteral("Move Table Up"), true, [](TableEditing& t, QTextTable* table) -> std::optional<int> {
        t.moveTable(table, true);
        return std::nullopt;
    });
    add(QStringLiteral("Move Table Down"), true, [](TableEditing& t, QTextTable* table) -> std::optional<int> {
        t.moveTable(table, false);
        return std::nullopt;
    });
    menu->addSeparator();
    add(QStringLiteral("Delete Row"), rows >= 2, [row](TableEditing& t, QTextTable* table) { return t.deleteTableRow(table, row); });
    add(QStringLiteral("Delete Column"), columns >= 2,
        [row, column](TableEditing& t, QTextTable* table) { return t.deleteTableColumn(table, column, row); });
    menu->addSeparator();
    auto* deleteTable = new RedMenuItem(QStringLiteral("Delete Table"), menu);
    connect(deleteTable, &QAction::triggered, this,
        [this] { tableMenuAction([](TableEditing& t, QTextTable* table) { return t.deleteTable(table); }); });
    menu->addAction(deleteTable);
    return menu;
}

QMenu* RichTextEditorCoordinator::contextMenu(QMenu* defaultMenu, int characterIndex)
{
    return tableContextMenu(defaultMenu, characterIndex);
}

void RichTextEditorCoordinator::insertTable()
{
    StickyTextView* view = m_textView;
    if (!view)
        return;
    const TextRange selected = selection();
    commitEdit([&](TextStorage& storage) -> std::optional<int> {
        return TableEditing(storage, paperInk).insertTable(selected);
    });
}

} // namespace norvelle
