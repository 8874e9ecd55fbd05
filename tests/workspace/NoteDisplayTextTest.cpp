#include "workspace/NoteDisplayText.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(NoteDisplayText, TitleFallsBackToTheFirstLineThenToEmptyNote)
{
    EXPECT_EQ(displayTitle("  Groceries  ", "groceries\nmilk"), "Groceries");
    EXPECT_EQ(displayTitle("", "Groceries\n\n  milk  "), "Groceries");
    EXPECT_EQ(displayTitle(" \n ", "  first  \nsecond"), "first");
    // Only the first line counts, even when it is empty.
    EXPECT_EQ(displayTitle("", "\nGroceries"), "Empty note");
    EXPECT_EQ(displayTitle(QString(), QString()), "Empty note");
    // A note that begins with an empty table: zero-width spaces hold its cells, never a title.
    EXPECT_EQ(displayTitle(QStringLiteral("\u200B"), QStringLiteral("\u200B\n\u200B\n\u200B\n\u200B")), "Empty note");
}

TEST(NoteDisplayText, AHugeTitleIsShownByItsFirstCharacters)
{
    const QString shown = QString(300, u'a') + QStringLiteral("\u2026");
    EXPECT_EQ(displayTitle(QString(5'000'000, u'a'), QString()), shown);
    EXPECT_EQ(displayTitle(QString(), QString(5'000'000, u'a') + QStringLiteral("\nmore")), shown);
    EXPECT_EQ(displayTitle(QString(300, u'a'), QString()), QString(300, u'a'));
}

TEST(NoteDisplayText, PreviewSkipsALineThatRepeatsTheTitle)
{
    EXPECT_EQ(previewLine("  Groceries  ", "groceries\nmilk"), "milk");
    EXPECT_EQ(previewLine("", "Groceries\n\n  milk  "), "milk");
    EXPECT_EQ(previewLine("", "\nGroceries"), "Groceries");
    // From the second position on, so the title itself can come back.
    EXPECT_EQ(previewLine("Plan", "\nPlan\nsteps"), "Plan");
    EXPECT_EQ(previewLine("Plan", "Agenda"), "Agenda");
    EXPECT_EQ(previewLine("", "Only"), "");
    EXPECT_EQ(previewLine("Only", "only"), "");
    EXPECT_EQ(previewLine(QString(), QString()), "");
    EXPECT_EQ(previewLine("Title", " \n \n"), "");
}

TEST(NoteDisplayText, CarriageReturnLineFeedEndsALine)
{
    EXPECT_EQ(displayTitle("", "Groceries\r\nmilk\r\n"), "Groceries");
    EXPECT_EQ(previewLine("", "Groceries\r\nmilk\r\n"), "milk");
    EXPECT_EQ(previewLine("groceries", "Groceries\r\n\r\n eggs \r\n"), "eggs");
    EXPECT_EQ(displayTitle("", "\r\nsecond"), "Empty note");
}

TEST(NoteDisplayText, PreviewIsCutToFourHundredCharactersNeverInsideOne)
{
    EXPECT_EQ(previewLine("Title", QString(1000, u'x')).size(), 400);
    // "e" and a combining acute accent are one character of two code units.
    const QString accented = QString::fromUtf8("e\u0301").repeated(500);
    const QString preview = previewLine("Title", accented);
    EXPECT_EQ(preview.size(), 800);
    EXPECT_TRUE(accented.startsWith(preview));
    // Four hundred emoji are eight hundred code units and stay whole.
    const QString emoji = QString::fromUtf8("\U0001F600").repeated(400);
    EXPECT_EQ(previewLine("Title", emoji), emoji);
}
