#include "EditorTestSupport.h"

#include "editor/ChecklistEditing.h"
#include "editor/EditorCommands.h"

#include <QAbstractTextDocumentLayout>
#include <QTest>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

QPoint pointOf(EditorProbe& probe, int position)
{
    QTextCursor cursor(&probe.document());
    cursor.setPosition(position);
    return probe.view().cursorRect(cursor).center();
}

TEST(StickyTextView, ClickingABoxTicksItAndClickingTheTextDoesNot)
{
    EditorProbe probe(QStringLiteral("\u25CB milk and honey"));
    probe.editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(probe.editor.get()));
    QTest::mouseClick(probe.view().viewport(), Qt::LeftButton, {}, pointOf(probe, 0) + QPoint(4, 0));
    TextStorage storage(probe.document());
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(0, 16), true);
    EXPECT_EQ(probe.view().textCursor().position(), 2);
    EXPECT_EQ(probe.reports().back().text, QStringLiteral("\u25CF milk and honey"));
    QTest::mouseClick(probe.view().viewport(), Qt::LeftButton, {}, pointOf(probe, 12));
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(0, 16), true);
    QTest::mouseClick(probe.view().viewport(), Qt::LeftButton, {}, pointOf(probe, 1));
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(0, 16), false);
}

TEST(StickyTextView, DraggingAColumnBorderResizesThePairAndHoldsTheMinimum)
{
    EditorProbe probe;
    probe.editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(probe.editor.get()));
    probe.post(EditorCommands::insertTable);
    QTextTable* table = probe.view().textCursor().currentTable();
    ASSERT_TRUE(table);
    table->appendColumns(1);
    QTextTableFormat format = table->format();
    format.setColumnWidthConstraints(QList<QTextLength>(3, QTextLength(QTextLength::PercentageLength, 100.0 / 3)));
    table->setFormat(format);
    const size_t reports = probe.reports().size();

    // The band in which a press grabs the first border: 8 points either side of it.
    const int y = pointOf(probe, table->firstPosition()).y();
    std::vector<int> grabbing;
    for (int x = 0; x < probe.view().viewport()->width(); ++x) {
        const auto hit = probe.view().hitTestColumnBorder(QPoint(x, y));
        if (hit && hit->index == 0)
            grabbing.push_back(x);
    }
    ASSERT_FALSE(grabbing.empty());
    EXPECT_EQ(grabbing.back() - grabbing.front(), 16);
    const QPoint border((grabbing.front() + grabbing.back()) / 2, y);
    QTest::mousePress(probe.view().viewport(), Qt::LeftButton, {}, border);
    QMouseEvent drag(QEvent::MouseMove, border - QPoint(1000, 0), probe.view().viewport()->mapToGlobal(border - QPoint(1000, 0)),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(probe.view().viewport(), &drag);
    EXPECT_EQ(probe.reports().size(), reports);
    QTest::mouseRelease(probe.view().viewport(), Qt::LeftButton, {}, border - QPoint(1000, 0));
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    EXPECT_NEAR(widths[0].rawValue(), 8, 0.01);
    EXPECT_NEAR(widths[1].rawValue(), 200.0 / 3 - 8, 0.01);
    EXPECT_NEAR(widths[2].rawValue(), 100.0 / 3, 0.01);
    ASSERT_EQ(probe.reports().size(), reports + 2);
    EditorProbe reopened(probe.reportedText(), probe.editor->richData());
    QTextCursor cell(&reopened.document());
    cell.setPosition(2);
    ASSERT_TRUE(cell.currentTable());
    EXPECT_NEAR(cell.currentTable()->format().columnWidthConstraints()[0].rawValue(), 8, 0.1);
}

} // namespace
