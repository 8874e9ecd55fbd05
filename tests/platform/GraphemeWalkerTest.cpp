#include "platform/GraphemeWalker.h"
#include "platform/GraphemeTally.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

// "e" with a combining acute, a family emoji joined by ZWJ, a thumb with a skin tone, and a
// plain letter.
const QString accented = QStringLiteral("e\u0301");
const QString family = QStringLiteral("\U0001F469\u200D\U0001F469\u200D\U0001F467");
const QString toned = QStringLiteral("\U0001F44D\U0001F3FD");
const QString mixed = accented + family + toned + QStringLiteral("x");

} // namespace

TEST(GraphemeWalkerTest, CountsAndSplitsUserPerceivedCharacters)
{
    EXPECT_EQ(GraphemeWalker::count(mixed), 4);
    EXPECT_EQ(GraphemeWalker::split(mixed), (QStringList {accented, family, toned, QStringLiteral("x")}));
    EXPECT_EQ(GraphemeWalker::count(QString()), 0);
    // A line break of CR and LF is one character, in plain ASCII as elsewhere.
    EXPECT_EQ(GraphemeWalker::count(u"a\r\nb\r\r\n\n"), 6);
    EXPECT_EQ(GraphemeWalker::count(u"a\r\nb\r\r\n\n\u00e9"), 7);
    EXPECT_TRUE(GraphemeWalker::split(QString()).isEmpty());

    GraphemeWalker walker(mixed);
    ASSERT_TRUE(walker.advance());
    EXPECT_EQ(walker.current(), accented);
    EXPECT_EQ(walker.position(), 2);
    ASSERT_TRUE(walker.advance());
    EXPECT_EQ(walker.current(), family);
    EXPECT_TRUE(walker.advance());
    EXPECT_TRUE(walker.advance());
    EXPECT_FALSE(walker.advance());
    EXPECT_EQ(walker.position(), mixed.size());
}

TEST(GraphemeWalkerTest, CutsOnlyBetweenCharacters)
{
    EXPECT_EQ(GraphemeWalker::leading(mixed, 2), accented + family);
    EXPECT_EQ(GraphemeWalker::leading(mixed, 10), mixed);
    EXPECT_EQ(GraphemeWalker::leading(mixed, 0), QString());
    EXPECT_EQ(GraphemeWalker::endOfFirst(mixed, 4), mixed.size());
    EXPECT_FALSE(GraphemeWalker::endOfFirst(mixed, 5));
    EXPECT_TRUE(GraphemeWalker::hasAtMost(mixed, 4));
    EXPECT_FALSE(GraphemeWalker::hasAtMost(mixed, 3));
}

TEST(GraphemeWalkerTest, LongTextsAnswerLikeShortOnes)
{
    // Plain text far past the prefix window is settled inside it.
    const QString longText = QString(200000, u'a');
    EXPECT_EQ(GraphemeWalker::endOfFirst(longText, 200), 200);
    EXPECT_FALSE(GraphemeWalker::hasAtMost(longText, 9));

    // One letter carrying thousands of marks is one character even where the window ends
    // inside it: the answer comes from the whole text, not the cut prefix.
    const QString heavy = QStringLiteral("a") + QString(5000, QChar(0x0301));
    EXPECT_EQ(GraphemeWalker::leading(heavy, 1), heavy);
    EXPECT_TRUE(GraphemeWalker::hasAtMost(heavy, 1));
    EXPECT_TRUE(GraphemeWalker::hasAtMost(heavy + QStringLiteral("b"), 2));
    EXPECT_FALSE(GraphemeWalker::hasAtMost(heavy + QStringLiteral("b"), 1));
}

// A note's length is counted at every save: the tally counts only the lines a save changed,
// and must still agree with a count of the whole text whatever the edit split or joined.
TEST(GraphemeTallyTest, EditsCountAsTheWholeTextDoes)
{
    const QString france = QStringLiteral("\U0001F1EB\U0001F1F7");
    const QString woman = QStringLiteral("\U0001F469");
    const std::vector<QString> texts {
        QStringLiteral("first line\nsecond line\r\nthird ") + france + france + QStringLiteral("\nlast"),
        // A mark typed after a letter at the start of a line joins it.
        QStringLiteral("first line\n\u0301second line\r\nthird ") + france + france + QStringLiteral("\nlast"),
        QStringLiteral("first line\ns\u0301econd line\r\nthird ") + france + france + QStringLiteral("\nlast"),
        // A carriage return split from its line feed, and joined again.
        QStringLiteral("first line\ns\u0301econd line\rx\nthird ") + france + france + QStringLiteral("\nlast"),
        QStringLiteral("first line\ns\u0301econd line\r\nthird ") + france + france + QStringLiteral("\nlast"),
        // One more flag letter pairs every flag after it differently.
        QStringLiteral("first line\ns\u0301econd line\r\nthird \U0001F1EB") + france + france + QStringLiteral("\nlast"),
        // Half of a surrogate pair changed, then a joiner between two emoji.
        QStringLiteral("first line\ns\u0301econd line\r\nthird \U0001F1EB") + france + QStringLiteral("\U0001F1EB\U0001F1EA\nlast"),
        QStringLiteral("first line\n") + woman + woman + QStringLiteral("\nthird\nlast"),
        QStringLiteral("first line\n") + woman + QStringLiteral("\u200D") + woman + QStringLiteral("\nthird\nlast"),
        // Lines joined and split.
        QStringLiteral("first line") + woman + QStringLiteral("\u200D") + woman + QStringLiteral("\nthird\nlast"),
        QStringLiteral("first\n line") + woman + QStringLiteral("\u200D\n") + woman + QStringLiteral("\nthird\nlast"),
        // Within one line: a mark joins the letter before it, a line feed after a carriage return
        // joins it, a flag letter pairs with the one before.
        QStringLiteral("one long line of plain letters"),
        QStringLiteral("one long l\u0301ine of plain letters"),
        QStringLiteral("one long l\u0301ine of\r plain letters"),
        QStringLiteral("one long l\u0301ine of\r\n plain letters"),
        QStringLiteral("one long l\u0301ine of\r\n plain \U0001F1EB") + france + QStringLiteral("letters"),
        QStringLiteral("one long l\u0301ine of\r\n plain \U0001F1EB") + france + QStringLiteral("\U0001F1EBletters"),
        QString(),
        QStringLiteral("\n\n"),
        QStringLiteral("\n\u0301\n"),
    };
    GraphemeTally tally;
    for (const QString& text : texts)
        EXPECT_EQ(tally.count(text), GraphemeWalker::count(text)) << text.toStdString();
}
