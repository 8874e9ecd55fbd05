#include "ClipViewFixture.h"

#include "clipboard/ClipFilter.h"
#include "clipboard/ClipKindIcon.h"
#include "clipboard/RelativeTime.h"

namespace norvelle::test {
namespace {

QStringList texts(const QList<ClipEntry>& entries)
{
    QStringList out;
    for (const ClipEntry& entry : entries)
        out << entry.text;
    return out;
}

TEST(FilterTest, MatchesTitleTextOrSourceCaseFoldedInOrder)
{
    const QByteArray png = makePng({8, 8}, Qt::red, Qt::blue);
    const QList<ClipEntry> items = {
        makeClip(QStringLiteral("Alpha Beta"), QStringLiteral("Kate")),
        makeClip({}, QStringLiteral("GIMP"), 5, png),
        makeClip(QStringLiteral("an image caption"), QStringLiteral("Viewer"), 5, png),
        makeClip(QStringLiteral("   "), QStringLiteral("Terminal")),
        makeClip(QString(250, u'x') + QStringLiteral(" needle"), QStringLiteral("Editor")),
    };
    ClipFilter filter;
    EXPECT_EQ(filter.filtered(items, QStringLiteral(" \n ")).size(), items.size());
    EXPECT_EQ(texts(filter.filtered(items, QStringLiteral("BETA"))), QStringList({"Alpha Beta"}));
    EXPECT_EQ(filter.filtered(items, QStringLiteral("IMAGE")).size(), 2) << "the text-less image and the caption";
    EXPECT_EQ(filter.filtered(items, QStringLiteral("IMAGE")).at(0).id, items.at(1).id);
    EXPECT_EQ(filter.filtered(items, QStringLiteral("(empty)")).size(), 1) << "a blank clip's title";
    EXPECT_EQ(filter.filtered(items, QStringLiteral("needle")).size(), 1) << "text beyond the title";
    EXPECT_EQ(filter.filtered(items, QStringLiteral("gimp")).size(), 1);
    EXPECT_TRUE(filter.filtered(items, QStringLiteral("zebra")).isEmpty());
}

TEST(FilterTest, ComparesComposedAndDecomposedAccentsAlike)
{
    const QList<ClipEntry> items = {makeClip(QStringLiteral("Caf\u00e9 menu"))};
    ClipFilter filter;
    EXPECT_EQ(filter.filtered(items, QStringLiteral("CAFE\u0301")).size(), 1);
}

TEST(FilterTest, NoMatchMessageQuotesTheSearchAsTyped)
{
    EXPECT_EQ(ClipFilter::noMatchMessage(QStringLiteral("  x ")), "No clips match “  x ”");
}

TEST(KindIconTest, BoundariesOfLinksColoursAndPaths)
{
    EXPECT_EQ(clipKindSymbol(QStringLiteral("  HTTPS://EXAMPLE.ORG")), "link");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("\thttp://a")), "link");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("\nhttp://a")), "doc.text") << "a line break is not trimmed";
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#abc")), "paintpalette");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#A1B2C3")), "paintpalette");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#11223344")), "paintpalette") << "9 characters";
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#112233445")), "doc.text") << "10 characters";
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#e\u0301e\u0301e\u0301e\u0301")), "paintpalette")
        << "characters as a reader counts them";
    EXPECT_EQ(clipKindSymbol(QStringLiteral("~/notes")), "folder");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("/etc/hosts")), "folder");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("plain words")), "doc.text");
    EXPECT_EQ(clipKindSymbol({}), "doc.text");
}

TEST(KindIconTest, LongTextsAreJudgedLikeShortOnes)
{
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#") + QString(100'000, u'a')), "doc.text");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("\tHtTp://") + QString(100'000, u'a') + QStringLiteral(" \t")), "link");
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#a") + QString(5'000, QChar(0x0301)) + QStringLiteral("bc")), "paintpalette")
        << "one character may be longer than any prefix looked at first";
    EXPECT_EQ(clipKindSymbol(QStringLiteral("#abc") + QString(5'000, u' ')), "paintpalette") << "trailing spaces go";
}

TEST(RelativeTimeTest, LargestWholeUnitInShortForm)
{
    const QDateTime now(QDate(2026, 3, 15), QTime(12, 0));
    EXPECT_EQ(relativeTimeText(now, now), "0 sec. ago");
    EXPECT_EQ(relativeTimeText(now.addSecs(-59), now), "59 sec. ago");
    EXPECT_EQ(relativeTimeText(now.addSecs(-119), now), "1 min. ago");
    EXPECT_EQ(relativeTimeText(now.addSecs(-3 * 3600 - 1), now), "3 hr. ago");
    EXPECT_EQ(relativeTimeText(now.addDays(-1), now), "1 day ago");
    EXPECT_EQ(relativeTimeText(now.addDays(-6), now), "6 days ago");
    EXPECT_EQ(relativeTimeText(now.addDays(-14), now), "2 wk. ago");
    EXPECT_EQ(relativeTimeText(now.addMonths(-2), now), "2 mo. ago");
    EXPECT_EQ(relativeTimeText(now.addYears(-3), now), "3 yr. ago");
    EXPECT_EQ(relativeTimeText(now.addSecs(300), now), "in 5 min.") << "a clock set back";
}

} // namespace
} // namespace norvelle::test
