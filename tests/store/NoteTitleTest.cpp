#include "store/NoteTitle.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(NoteTitle, FirstLineSkipsEmptyLinesAndKeepsSpaces)
{
    EXPECT_EQ(NoteTitle::firstLine("\n\n  first line \nsecond line"), "  first line ");
    EXPECT_EQ(NoteTitle::firstLine("only"), "only");
    EXPECT_EQ(NoteTitle::firstLine(""), std::nullopt);
    EXPECT_EQ(NoteTitle::firstLine("\n\n\n"), std::nullopt);
    // A line of spaces is not empty.
    EXPECT_EQ(NoteTitle::firstLine("\n   \nnext"), "   ");
    // Lines from Windows end with CR LF; a lone CR does not end a line.
    EXPECT_EQ(NoteTitle::firstLine("a\r\nb\nc"), "a");
    EXPECT_EQ(NoteTitle::firstLine("\r\n"), std::nullopt);
    EXPECT_EQ(NoteTitle::firstLine("\r\n\r\nsecond\r\n"), "second");
    EXPECT_EQ(NoteTitle::firstLine("lone\rreturn\nnext"), "lone\rreturn");
    // A table's anchors and empty cells hold zero-width spaces: no title, nor part of one.
    EXPECT_EQ(NoteTitle::firstLine(QStringLiteral("\u200B\n\u200B\n\u200B\n\u200B\n\u200B\n\u200B")), std::nullopt);
    EXPECT_EQ(NoteTitle::firstLine(QStringLiteral("\u200B\n\u200B\u200B\n\u200B cell \u200B\n")), " cell ");
}

TEST(NoteTitle, FirstNonBlankLineIsTrimmedOfSpacesAndTabs)
{
    EXPECT_EQ(NoteTitle::firstNonBlankLine(" \t\n\r\n  \t Groceries \t\nmilk"), "Groceries");
    EXPECT_EQ(NoteTitle::firstNonBlankLine(QString::fromUtf8("first\u2028second")), "first");
    EXPECT_EQ(NoteTitle::firstNonBlankLine(QString::fromUtf8("\u00A0\u3000\nx")), "x");
    EXPECT_EQ(NoteTitle::firstNonBlankLine(QStringLiteral("\u200B\n\u200B\nName\n\u200B")), "Name");
    EXPECT_EQ(NoteTitle::firstNonBlankLine(" \n\t\n"), "");
    EXPECT_EQ(NoteTitle::firstNonBlankLine(""), "");
}

TEST(NoteTitle, TheBodyIsEveryLineAfterTheTitleTrimmed)
{
    EXPECT_EQ(NoteTitle::bodyAfterTitle("\n  Plans \n\n buy seeds \r\n water\n\n"), "buy seeds \n\n water");
    EXPECT_EQ(NoteTitle::bodyAfterTitle(QString::fromUtf8("title\u2029one\u2028two")), "one\ntwo");
    EXPECT_EQ(NoteTitle::bodyAfterTitle("title only"), "");
    EXPECT_EQ(NoteTitle::bodyAfterTitle("title\n"), "");
    EXPECT_EQ(NoteTitle::bodyAfterTitle(" \t\n\n"), "");
}
