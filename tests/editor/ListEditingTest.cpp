#include "EditorTestSupport.h"

#include "editor/ChecklistEditing.h"
#include "editor/EditorCommands.h"
#include "editor/LinePrefixes.h"

#include <QTextBlock>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

void list(EditorProbe& probe, const QString& style)
{
    probe.post(EditorCommands::setListStyle, {{"style", style}});
}

void selectAll(EditorProbe& probe)
{
    probe.select(0, int(probe.string().size()));
}

TEST(ListEditing, ACaretListsItsOwnLineAndMovesToTheNext)
{
    EditorProbe probe(QStringLiteral("one\ntwo"));
    probe.caret(1);
    list(probe, QStringLiteral("bullet"));
    EXPECT_EQ(probe.string(), QStringLiteral("\u2022 one\ntwo"));
    EXPECT_EQ(probe.view().textCursor().position(), 6);
    EXPECT_EQ(probe.reports()[probe.reports().size() - 2].kind, EditorProbe::Report::RichData);
}

TEST(ListEditing, NumbersSkipBlankLinesAndASecondToggleRemovesThem)
{
    EditorProbe probe(QStringLiteral("a\n\nb"));
    selectAll(probe);
    list(probe, QStringLiteral("number"));
    EXPECT_EQ(probe.string(), QStringLiteral("1. a\n\n2. b"));
    EXPECT_EQ(probe.view().textCursor().position(), probe.string().size());
    selectAll(probe);
    list(probe, QStringLiteral("number"));
    EXPECT_EQ(probe.string(), QStringLiteral("a\n\nb"));
}

TEST(ListEditing, AStyleReplacesAnotherAndFillsTheGaps)
{
    EditorProbe probe(QStringLiteral("1. x\n2. y"));
    selectAll(probe);
    list(probe, QStringLiteral("dash"));
    EXPECT_EQ(probe.string(), QStringLiteral("- x\n- y"));

    EditorProbe mixed(QStringLiteral("\u2022 a\nb"));
    selectAll(mixed);
    list(mixed, QStringLiteral("bullet"));
    EXPECT_EQ(mixed.string(), QStringLiteral("\u2022 a\n\u2022 b"));
}

TEST(ListEditing, PrefixesFollowQuotesAndIndents)
{
    EditorProbe quoted(QStringLiteral("\u2502 q"));
    list(quoted, QStringLiteral("number"));
    EXPECT_EQ(quoted.string(), QStringLiteral("\u2502 1. q"));

    EditorProbe indented(QStringLiteral("  \u2022 t"));
    list(indented, QStringLiteral("dash"));
    EXPECT_EQ(indented.string(), QStringLiteral("-   t"));

    EditorProbe numbers(QStringLiteral("12. a\n1234. b\n. c"));
    selectAll(numbers);
    list(numbers, QStringLiteral("bullet"));
    EXPECT_EQ(numbers.string(), QStringLiteral("\u2022 a\n\u2022 1234. b\n\u2022 c"));

    EditorProbe hundreds(QString(QStringLiteral("x\n")).repeated(120) + QStringLiteral("x"));
    selectAll(hundreds);
    list(hundreds, QStringLiteral("number"));
    EXPECT_TRUE(hundreds.string().endsWith(QStringLiteral("120. x\n121. x")));
    selectAll(hundreds);
    list(hundreds, QStringLiteral("number"));
    EXPECT_EQ(hundreds.string(), QString(QStringLiteral("x\n")).repeated(120) + QStringLiteral("x"));
}

TEST(ListEditing, FormattingBoxesAndTablesInsideTheSelectionSurvive)
{
    EditorProbe probe(QStringLiteral("plain bold\n\u25CF done\nafter"));
    QTextCharFormat bold;
    bold.setFontWeight(700);
    TextStorage(probe.document()).mergeCharFormat({6, 4}, bold);
    QTextCursor end(&probe.document());
    end.movePosition(QTextCursor::End);
    QTextTable* table = end.insertTable(1, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(QStringLiteral("cell"));
    selectAll(probe);
    list(probe, QStringLiteral("dash"));
    const QString text = probe.string();
    EXPECT_TRUE(text.startsWith(QStringLiteral("- plain bold\n") + box + QStringLiteral("- done\n- after\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\ncell\n\n")));
    TextStorage storage(probe.document());
    EXPECT_EQ(storage.charFormat(9).fontWeight(), 700);
    EXPECT_EQ(storage.charFormat(2).fontWeight(), 400);
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(13, 8), true);
    EXPECT_EQ(probe.document().rootFrame()->childFrames().size(), 1);
    // The state reads the list after the box.
    probe.caret(16);
    EXPECT_EQ(probe.states.back().value("listStyle"), QStringLiteral("dash"));
}

TEST(ListEditing, QuotesIndentEveryLineIncludingBlankOnesAndComeOffAgain)
{
    EditorProbe probe(QStringLiteral("a\n\nb\nrest"));
    probe.select(0, 4);
    probe.post(EditorCommands::toggleQuote);
    EXPECT_EQ(probe.string(), QStringLiteral("\u2502 a\n\u2502 \n\u2502 b\nrest"));
    EXPECT_EQ(probe.document().findBlockByNumber(2).blockFormat().leftMargin(), 16);
    EXPECT_EQ(probe.document().findBlockByNumber(3).blockFormat().leftMargin(), 0);
    probe.caret(1);
    EXPECT_EQ(probe.states.back().value("isQuoted"), true);
    probe.select(0, 10);
    probe.post(EditorCommands::toggleQuote);
    EXPECT_EQ(probe.string(), QStringLiteral("a\n\nb\nrest"));
    EXPECT_EQ(probe.document().findBlockByNumber(0).blockFormat().leftMargin(), 0);

    EditorProbe spaced(QStringLiteral("  \u2502 x"));
    spaced.post(EditorCommands::toggleQuote);
    EXPECT_EQ(spaced.string(), QStringLiteral("x"));
}

TEST(ListEditing, TheLastLineWithoutABreakIsQuotedToItsEnd)
{
    EditorProbe probe(QStringLiteral("top\nlast"));
    probe.caret(6);
    probe.post(EditorCommands::toggleQuote);
    EXPECT_EQ(probe.string(), QStringLiteral("top\n\u2502 last"));
    EXPECT_EQ(probe.view().textCursor().position(), probe.string().size());
    auto reopened = std::make_unique<EditorProbe>(probe.reportedText(), probe.editor->richData());
    EXPECT_EQ(reopened->document().findBlockByNumber(1).blockFormat().leftMargin(), 16);
    reopened->caret(6);
    EXPECT_EQ(reopened->states.back().value("isQuoted"), true);
}

TEST(ListEditing, TheStateReadsTheCaretLine)
{
    EXPECT_EQ(LinePrefixes::caretListStyle(QStringLiteral("3.14 is pi")), QStringLiteral("number"));
    EXPECT_EQ(LinePrefixes::caretListStyle(QStringLiteral("a. b")), QStringLiteral("none"));
    EXPECT_EQ(LinePrefixes::caretListStyle(QStringLiteral("\u2502 - x")), QStringLiteral("dash"));
    EXPECT_EQ(LinePrefixes::caretListStyle(QStringLiteral("  \u2022 x")), QStringLiteral("none"));
    EditorProbe probe(QStringLiteral("\u2022 x"));
    probe.caret(1);
    EXPECT_EQ(probe.states.back().value("listStyle"), QStringLiteral("bullet"));
    probe.post(EditorCommands::setListStyle, {{"style", 3}});
    EXPECT_EQ(probe.string(), QStringLiteral("\u2022 x"));
}

} // namespace
