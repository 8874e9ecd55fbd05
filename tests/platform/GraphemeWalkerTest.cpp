#include "platform/GraphemeWalker.h"

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
    EXPECT_EQ(GraphemeWalker::split(mixed), (QStringList { accented, family, toned, QStringLiteral("x") }));
    EXPECT_EQ(GraphemeWalker::count(QString()), 0);
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
