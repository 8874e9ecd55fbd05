#include "EditorTestSupport.h"

#include "editor/EditorCommands.h"
#include "editor/RichTextBody.h"
#include "rtf/RichTextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

// A note of checklist lines, paragraphs, an empty line, a table and more paragraphs, as stored.
QByteArray storedNote()
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("\u25CB milk\n\u25CF bread\nA first paragraph of plain words.\n\n"));
    QTextTable* table = cursor.insertTable(2, 2);
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 2; ++column)
            table->cellAt(row, column).firstCursorPosition().insertText(QStringLiteral("cell %1.%2").arg(row).arg(column));
    }
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QStringLiteral("After the table.\n\u25CB eggs\nThe last line."));
    return RichTextCodec::writeRtf(document);
}

int positionOf(EditorProbe& probe, const QString& text)
{
    return int(probe.string().indexOf(text));
}

void key(EditorProbe& probe, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(&probe.view(), Qt::Key(key), modifiers);
}

// What the editor saved last, against what a new encoding of its text gives.
void expectSavedAsWhole(EditorProbe& probe, const char* step)
{
    SCOPED_TRACE(step);
    const std::vector<EditorProbe::Report>& reports = probe.reports();
    ASSERT_GE(reports.size(), 2u);
    const EditorProbe::Report& body = reports[reports.size() - 2];
    ASSERT_EQ(body.kind, EditorProbe::Report::RichData);
    EXPECT_EQ(body.richData, probe.editor->richData());
    EXPECT_EQ(reports.back().text, plainTextOf(probe.document()));
    probe.recorded.clear();
}

// An editor writes again only the paragraphs a save changed: whatever the user did in between,
// each save stores what the whole text encodes to, never a paragraph as it was before.
TEST(EditorSaves, EverySaveStoresTheWholeTextAsItIsAfterEachStep)
{
    const QByteArray body = storedNote();
    EditorProbe probe(*RichTextCodec::plainText(body), body);
    probe.editor->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(probe.editor.get()));
    probe.view().setFocus();

    probe.caret(positionOf(probe, QStringLiteral("first")));
    typeText(probe.view(), QStringLiteral("typed "));
    expectSavedAsWhole(probe, "typing");

    probe.select(positionOf(probe, QStringLiteral("plain")), positionOf(probe, QStringLiteral(" words")));
    key(probe, Qt::Key_B, Qt::ControlModifier);
    expectSavedAsWhole(probe, "bold");
    key(probe, Qt::Key_Z, Qt::ControlModifier);
    expectSavedAsWhole(probe, "undo");
    key(probe, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    expectSavedAsWhole(probe, "redo");

    QTextCursor firstBox(&probe.document());
    firstBox.setPosition(0);
    QTest::mouseClick(probe.view().viewport(), Qt::LeftButton, {}, probe.view().cursorRect(firstBox).center() + QPoint(4, 0));
    expectSavedAsWhole(probe, "ticking a box");
    probe.caret(positionOf(probe, QStringLiteral("milk")) + 4);
    typeText(probe.view(), QStringLiteral(" and tea"));
    expectSavedAsWhole(probe, "typing after the box");

    probe.caret(positionOf(probe, QStringLiteral("cell 1.1")));
    typeText(probe.view(), QStringLiteral("in "));
    expectSavedAsWhole(probe, "typing in a cell");

    // An empty line takes its look from the line break before it.
    probe.select(positionOf(probe, QStringLiteral("words.")) + 6, positionOf(probe, QStringLiteral("words.")) + 7);
    probe.post(EditorCommands::setTextColor, {{QStringLiteral("hex"), QStringLiteral("#2050C0")}});
    expectSavedAsWhole(probe, "colouring a line break");
    // A colour first used near the top renumbers the colours of everything after it.
    probe.select(0, positionOf(probe, QStringLiteral("bread")));
    probe.post(EditorCommands::setTextColor, {{QStringLiteral("hex"), QStringLiteral("#C03020")}});
    expectSavedAsWhole(probe, "colour");
    probe.caret(positionOf(probe, QStringLiteral("The last")));
    typeText(probe.view(), QStringLiteral("x"));
    expectSavedAsWhole(probe, "typing after the colour");
    key(probe, Qt::Key_Z, Qt::ControlModifier);
    key(probe, Qt::Key_Z, Qt::ControlModifier);
    expectSavedAsWhole(probe, "undoing the colour");

    probe.editor->setAppearance(QColor(Qt::white), QStringLiteral("#2B2B2B"));
    probe.caret(positionOf(probe, QStringLiteral("After")));
    typeText(probe.view(), QStringLiteral("dark "));
    expectSavedAsWhole(probe, "typing after a theme switch");

    probe.caret(positionOf(probe, QStringLiteral("bread")) + 5);
    key(probe, Qt::Key_Return);
    typeText(probe.view(), QStringLiteral("jam"));
    expectSavedAsWhole(probe, "a new item");
    probe.caret(positionOf(probe, QStringLiteral("The last")));
    key(probe, Qt::Key_Backspace);
    expectSavedAsWhole(probe, "joining two paragraphs");

    QApplication::clipboard()->setText(QStringLiteral("pasted one\npasted two\n\u25CB pasted item"));
    probe.caret(positionOf(probe, QStringLiteral("After")));
    key(probe, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(probe.string().contains(box + QStringLiteral("pasted item")));
    expectSavedAsWhole(probe, "paste");

    const QString reloaded = plainTextOf(probe.document());
    probe.editor->load(reloaded, probe.editor->richData());
    probe.caret(positionOf(probe, QStringLiteral("pasted two")));
    typeText(probe.view(), QStringLiteral("again "));
    expectSavedAsWhole(probe, "typing after a reload");

    for (int step = 0; step < 40; ++step)
        key(probe, Qt::Key_Z, Qt::ControlModifier);
    expectSavedAsWhole(probe, "undoing everything");
    for (int step = 0; step < 40; ++step)
        key(probe, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    expectSavedAsWhole(probe, "redoing everything");
}

} // namespace
