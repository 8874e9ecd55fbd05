#include "EditorTestSupport.h"

#include "editor/EditorCommands.h"
#include "editor/RichTextEditorCoordinator.h"
#include "editor/TableEditing.h"
#include "rtf/RichTextCodec.h"

#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

const QChar zw(0x200B);
QString seedLine() { return QString(zw) + u'\n'; }

QTextTable* firstTable(EditorProbe& probe)
{
    TextStorage storage(probe.document());
    const auto found = TableEditing(storage, Qt::black).tables();
    return found.empty() ? nullptr : found.front();
}

void typeInto(EditorProbe& probe, const QString& text) { QTest::keyClicks(&probe.view(), text); }

TEST(TableEditing, ANewTableInAnEmptyNoteHasItsAnchorsAndTheCaretInTheFirstCell)
{
    EditorProbe probe;
    probe.post(EditorCommands::insertTable);
    EXPECT_EQ(probe.string(), seedLine().repeated(5) + zw);
    EXPECT_EQ(probe.view().textCursor().position(), 3);
    QTextTable* table = firstTable(probe);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->format().columnWidthConstraints().value(1).rawValue(), 50);
    EXPECT_EQ(probe.reports()[probe.reports().size() - 2].kind, EditorProbe::Report::RichData);
}

TEST(TableEditing, TablesGoAfterTheCaretLineOrAfterTheTableItIsIn)
{
    EditorProbe middle(QStringLiteral("abc\ndef"));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    TextStorage(middle.document()).cursor({0, 0}).mergeBlockFormat(right);
    middle.caret(1);
    middle.post(EditorCommands::insertTable);
    EXPECT_EQ(middle.string(), QStringLiteral("abc\n") + seedLine().repeated(4) + zw + QStringLiteral("def"));
    EXPECT_EQ(middle.view().textCursor().position(), 5);
    EXPECT_EQ(middle.document().begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);

    EditorProbe end(QStringLiteral("abc"));
    end.caret(3);
    end.post(EditorCommands::insertTable);
    EXPECT_EQ(end.string(), QStringLiteral("abc\n") + seedLine().repeated(4) + zw);
    EXPECT_EQ(end.view().textCursor().position(), 5);

    end.post(EditorCommands::insertTable);
    EXPECT_EQ(end.string(), QStringLiteral("abc\n") + seedLine().repeated(4) + seedLine() + seedLine().repeated(4) + zw + zw);
    EXPECT_EQ(TextStorage(end.document()).length(), int(end.string().size()));
}

TEST(TableEditing, TabWalksTheCellsAndStopsAtTheEdges)
{
    EditorProbe probe;
    probe.post(EditorCommands::insertTable);
    QTest::keyClick(&probe.view(), Qt::Key_Backtab);
    EXPECT_EQ(probe.view().textCursor().position(), 3);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&probe.view(), Qt::Key_Tab);
    EXPECT_EQ(probe.view().textCursor().position(), 9);
    QTest::keyClick(&probe.view(), Qt::Key_Tab);
    EXPECT_EQ(probe.view().textCursor().position(), 9);
    EXPECT_FALSE(probe.string().contains(u'\t'));
}

TEST(TableEditing, ReturnWalksThenGrowsTheTableOrLeavesIt)
{
    EditorProbe probe;
    probe.post(EditorCommands::insertTable);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(&probe.view(), Qt::Key_Return);
    typeInto(probe, QStringLiteral("x"));
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    EXPECT_EQ(firstTable(probe)->rows(), 3);
    QTest::keyClick(&probe.view(), Qt::Key_Tab);
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    EXPECT_EQ(firstTable(probe)->rows(), 3);
    EXPECT_FALSE(TextStorage(probe.document()).tableAt(probe.view().textCursor().position()));
}

TEST(TableEditing, EscapeLeavesTheTableAlsoFromTheVeryEnd)
{
    EditorProbe probe;
    probe.post(EditorCommands::insertTable);
    QTest::keyClick(&probe.view(), Qt::Key_Escape);
    const int after = probe.view().textCursor().position();
    EXPECT_FALSE(TextStorage(probe.document()).tableAt(after));
    EXPECT_EQ(probe.string(), seedLine().repeated(5) + zw + zw);
}

struct MenuProbe {
    explicit MenuProbe(EditorProbe& probe, int index)
        : standard(new QMenu)
        , menu(probe.editor->coordinator().tableContextMenu(standard, index))
    {
    }
    ~MenuProbe()
    {
        if (menu != standard)
            delete menu;
        delete standard;
    }
    QAction* item(const QString& title) const
    {
        for (QAction* action : menu->actions())
            if (action->text() == title)
                return action;
        return nullptr;
    }
    QMenu* standard;
    QMenu* menu;
};

// A 3 × 3 table whose cells read r<row>c<column>, in an otherwise plain note.
EditorProbe* threeByThree(std::unique_ptr<EditorProbe>& holder)
{
    holder = std::make_unique<EditorProbe>(QStringLiteral("top"));
    EditorProbe& probe = *holder;
    probe.caret(3);
    probe.post(EditorCommands::insertTable);
    QTextTable* table = firstTable(probe);
    table->appendRows(1);
    table->appendColumns(1);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QTextTableCell cell = table->cellAt(row, column);
            QTextCursor cursor = cell.firstCursorPosition();
            cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            cursor.insertText(QStringLiteral("r%1c%2").arg(row).arg(column));
        }
    }
    return &probe;
}

int cellStart(EditorProbe& probe, int row, int column) { return firstTable(probe)->cellAt(row, column).firstPosition(); }

TEST(TableMenu, OutsideACellTheViewsOwnMenuShows)
{
    std::unique_ptr<EditorProbe> holder;
    EditorProbe& probe = *threeByThree(holder);
    MenuProbe outside(probe, 1);
    EXPECT_EQ(outside.menu, outside.standard);
}

TEST(TableMenu, ThirteenItemsEnabledByTheCellsPlace)
{
    std::unique_ptr<EditorProbe> holder;
    EditorProbe& probe = *threeByThree(holder);
    MenuProbe topLeft(probe, cellStart(probe, 0, 0));
    ASSERT_NE(topLeft.menu, topLeft.standard);
    int separators = 0;
    for (QAction* action : topLeft.menu->actions())
        separators += action->isSeparator();
    EXPECT_EQ(topLeft.menu->actions().size(), 17);
    EXPECT_EQ(separators, 4);
    EXPECT_FALSE(topLeft.item("Move Column Left")->isEnabled());
    EXPECT_FALSE(topLeft.item("Move Row Up")->isEnabled());
    EXPECT_TRUE(topLeft.item("Move Row Down")->isEnabled());
    EXPECT_TRUE(topLeft.item("Delete Table")->isEnabled());

    MenuProbe bottomRight(probe, cellStart(probe, 2, 2));
    EXPECT_FALSE(bottomRight.item("Move Column Right")->isEnabled());
    EXPECT_FALSE(bottomRight.item("Move Row Down")->isEnabled());
    EXPECT_TRUE(bottomRight.item("Delete Row")->isEnabled());
}

TEST(TableMenu, RowsAndColumnsComeAndGoKeepingTheirText)
{
    std::unique_ptr<EditorProbe> holder;
    EditorProbe& probe = *threeByThree(holder);
    MenuProbe(probe, cellStart(probe, 2, 1)).item("Add Row Below")->trigger();
    QTextTable* table = firstTable(probe);
    EXPECT_EQ(table->rows(), 4);
    EXPECT_EQ(probe.view().textCursor().position(), cellStart(probe, 3, 0) + 1);
    MenuProbe(probe, cellStart(probe, 0, 0)).item("Add Row Above")->trigger();
    EXPECT_EQ(TextStorage(probe.document()).text({cellStart(probe, 1, 0), 4}), QStringLiteral("r0c0"));
    MenuProbe(probe, cellStart(probe, 1, 1)).item("Add Column Right")->trigger();
    table = firstTable(probe);
    EXPECT_EQ(table->columns(), 4);
    EXPECT_NEAR(table->format().columnWidthConstraints().value(3).rawValue(), 25, 0.01);
    MenuProbe(probe, cellStart(probe, 1, 2)).item("Delete Column")->trigger();
    MenuProbe(probe, cellStart(probe, 0, 0)).item("Delete Row")->trigger();
    MenuProbe(probe, cellStart(probe, 3, 0)).item("Delete Row")->trigger();
    table = firstTable(probe);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_EQ(table->columns(), 3);
    TextStorage storage(probe.document());
    TableEditing tables(storage, Qt::black);
    EXPECT_EQ(tables.cellText(table, 2, 2), QStringLiteral("r2c2"));
    EXPECT_EQ(tables.cellText(table, 0, 1), QStringLiteral("r0c1"));
}

TEST(TableMenu, MovesSwapNeighboursAndKeepCellsOfSeveralParagraphs)
{
    std::unique_ptr<EditorProbe> holder;
    EditorProbe& probe = *threeByThree(holder);
    QTextCursor inCell = firstTable(probe)->cellAt(0, 0).lastCursorPosition();
    inCell.insertBlock();
    inCell.insertText(QStringLiteral("second"));
    MenuProbe(probe, cellStart(probe, 0, 0)).item("Move Row Down")->trigger();
    MenuProbe(probe, cellStart(probe, 1, 0)).item("Move Column Right")->trigger();
    QTextTable* table = firstTable(probe);
    TextStorage storage(probe.document());
    TableEditing tables(storage, Qt::black);
    EXPECT_EQ(tables.cellText(table, 1, 1), QStringLiteral("r0c0\nsecond"));
    EXPECT_EQ(tables.cellText(table, 0, 0), QStringLiteral("r1c1"));
    EXPECT_EQ(tables.cellText(table, 1, 0), QStringLiteral("r0c1"));
    EXPECT_EQ(probe.view().textCursor().position(), cellStart(probe, 1, 1) + 1);
}

TEST(TableMenu, MovingAndDeletingTheWholeTable)
{
    std::unique_ptr<EditorProbe> holder;
    EditorProbe& probe = *threeByThree(holder);
    MenuProbe(probe, cellStart(probe, 0, 0)).item("Move Table Up")->trigger();
    // The line above goes below; an empty first line always leads a table.
    EXPECT_TRUE(probe.string().startsWith(QStringLiteral("\nr0c0\n")));
    EXPECT_TRUE(probe.string().endsWith(QStringLiteral("r2c2\ntop\n") + zw));
    MenuProbe(probe, cellStart(probe, 0, 0)).item("Move Table Down")->trigger();
    EXPECT_TRUE(probe.string().startsWith(QStringLiteral("top\n"))) << probe.string().replace(zw, u'~').replace(u'\n', u'|').toStdString();
    // Down past a last line without a break: that line stays a line of its own.
    EditorProbe last(QStringLiteral("head"));
    last.caret(0);
    last.post(EditorCommands::insertTable);
    TextStorage(last.document()).cursor({TextStorage(last.document()).length(), 0}).insertText(QStringLiteral("tail"));
    MenuProbe(last, firstTable(last)->firstPosition()).item("Move Table Down")->trigger();
    EXPECT_TRUE(last.string().startsWith(QStringLiteral("head\n") + zw + QStringLiteral("tail\n"))) << last.string().toStdString();

    MenuProbe(probe, cellStart(probe, 1, 1)).item("Delete Table")->trigger();
    EXPECT_FALSE(firstTable(probe));
    EXPECT_TRUE(probe.string().startsWith(QStringLiteral("top\n") + zw)) << probe.string().replace(zw, u'~').replace(u'\n', u'|').toStdString();
}

QStringList rowTexts(EditorProbe& probe, int row)
{
    QTextTable* table = firstTable(probe);
    TextStorage storage(probe.document());
    TableEditing tables(storage, Qt::black);
    QStringList out;
    for (int column = 0; column < table->columns(); ++column)
        out.append(tables.cellText(table, row, column));
    return out;
}

TEST(TableMenu, ColumnLeftRowUpAndTheEdgesOfSmallTables)
{
    std::unique_ptr<EditorProbe> holder;
    EditorProbe& probe = *threeByThree(holder);
    MenuProbe middle(probe, cellStart(probe, 1, 1));
    for (const char* title : {"Move Column Left", "Move Column Right", "Move Row Up", "Move Row Down", "Delete Row", "Delete Column"})
        EXPECT_TRUE(middle.item(title)->isEnabled()) << title;

    MenuProbe(probe, cellStart(probe, 1, 1)).item("Add Column Left")->trigger();
    EXPECT_EQ(rowTexts(probe, 1), (QStringList {"r1c0", "", "r1c1", "r1c2"}));
    EXPECT_EQ(probe.view().textCursor().position(), cellStart(probe, 1, 1) + 1);
    MenuProbe(probe, cellStart(probe, 2, 3)).item("Move Column Left")->trigger();
    EXPECT_EQ(rowTexts(probe, 2), (QStringList {"r2c0", "", "r2c2", "r2c1"}));
    EXPECT_EQ(probe.view().textCursor().position(), cellStart(probe, 2, 2) + 1);
    MenuProbe(probe, cellStart(probe, 2, 0)).item("Move Row Up")->trigger();
    EXPECT_EQ(rowTexts(probe, 1), (QStringList {"r2c0", "", "r2c2", "r2c1"}));
    EXPECT_EQ(rowTexts(probe, 2), (QStringList {"r1c0", "", "r1c2", "r1c1"}));
    EXPECT_EQ(probe.view().textCursor().position(), cellStart(probe, 1, 0) + 1);

    // One row and one column: nothing to move or delete but the table.
    EditorProbe single;
    single.post(EditorCommands::insertTable);
    MenuProbe(single, cellStart(single, 1, 1)).item("Delete Row")->trigger();
    MenuProbe(single, cellStart(single, 0, 1)).item("Delete Column")->trigger();
    MenuProbe alone(single, cellStart(single, 0, 0));
    for (const char* title : {"Move Column Left", "Move Column Right", "Move Row Up", "Move Row Down", "Delete Row", "Delete Column"})
        EXPECT_FALSE(alone.item(title)->isEnabled()) << title;
    for (const char* title : {"Add Row Above", "Add Column Right", "Move Table Up", "Move Table Down", "Delete Table"})
        EXPECT_TRUE(alone.item(title)->isEnabled()) << title;
}

TEST(TableMenu, ATableDoesNotMoveUpIntoTheTableAboveIt)
{
    EditorProbe probe;
    probe.post(EditorCommands::insertTable);
    probe.post(EditorCommands::insertTable);
    TextStorage storage(probe.document());
    const std::vector<QTextTable*> both = TableEditing(storage, Qt::black).tables();
    ASSERT_EQ(both.size(), 2u);
    // The anchor line between them goes below; then only the empty line tables keep between them is left.
    MenuProbe(probe, both[1]->firstPosition()).item("Move Table Up")->trigger();
    const QString moved = seedLine().repeated(5) + u'\n' + seedLine().repeated(5) + zw + zw;
    EXPECT_EQ(probe.string(), moved);
    MenuProbe(probe, both[1]->firstPosition()).item("Move Table Up")->trigger();
    EXPECT_EQ(probe.string(), moved);
    EXPECT_EQ(TableEditing(storage, Qt::black).tables().size(), 2u);
}

TEST(TableEditing, ATableSurvivesSavingWithItsWidthsAndColours)
{
    EditorProbe probe;
    probe.post(EditorCommands::insertTable);
    QTextTable* table = firstTable(probe);
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 30), QTextLength(QTextLength::PercentageLength, 70)});
    table->setFormat(format);
    typeInto(probe, QStringLiteral("cell"));
    EditorProbe reopened(probe.reportedText(), probe.editor->richData());
    EXPECT_EQ(reopened.string(), QStringLiteral("\ncell\n") + seedLine().repeated(3) + zw) << "the placeholders are back";
    QTextTable* again = firstTable(reopened);
    ASSERT_TRUE(again);
    EXPECT_NEAR(again->format().columnWidthConstraints().value(0).rawValue(), 30, 0.1);
    EXPECT_NEAR(again->cellAt(0, 0).format().toTableCellFormat().leftPadding(), 10, 0.1);
    // The paper's table colours are drawn, never stored: the body reads the same on dark paper.
    const std::optional<QByteArray> light = reopened.editor->richData();
    reopened.editor->setAppearance(Qt::white, QStringLiteral("#1C1C1E"));
    EXPECT_EQ(reopened.editor->richData(), light);
    EXPECT_FALSE(QString::fromLatin1(light.value_or(QByteArray())).contains(QRegularExpression(QStringLiteral(R"(\\(brdrcf|clcbpat)[1-9])"))));
}

TEST(TableEditing, NoPlaceholderIsStoredAndEachEmptyCellReadsBackWithOne)
{
    EditorProbe probe(QStringLiteral("abc"));
    probe.caret(3);
    probe.post(EditorCommands::insertTable);
    probe.post(EditorCommands::insertTable);
    EditorProbe leading;
    leading.post(EditorCommands::insertTable);
    leading.select(0, 1);
    QTest::keyClick(&leading.view(), Qt::Key_Delete);
    ASSERT_EQ(leading.string(), u'\n' + seedLine().repeated(4) + zw);
    // The empty lines before and between the tables stay lines; the last table gets its anchor.
    const std::pair<EditorProbe*, QString> cases[] = {
        {&probe, QStringLiteral("abc\n") + seedLine().repeated(4) + u'\n' + seedLine().repeated(4) + zw},
        {&leading, u'\n' + seedLine().repeated(4) + zw},
    };
    for (const auto& [written, reopened] : cases) {
        const QByteArray body = written->editor->richData().value();
        EXPECT_FALSE(body.contains("\\u8203")) << body.toStdString();
        EXPECT_EQ(EditorProbe(written->reportedText(), body).string(), reopened);
        EXPECT_EQ(RichTextCodec::plainText(body), TableEditing::withoutSeeds(written->string()));
        const QByteArray storedWithPlaceholders = RichTextCodec::writeRtf(written->document());
        EXPECT_EQ(EditorProbe(written->reportedText(), storedWithPlaceholders).string(), written->string()) << "none comes twice";
    }
}

} // namespace
