#include "sticky/StickyPlacement.h"
#include "sticky/StickyFrameString.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

const QRect screen(0, 0, 1440, 900);
const QSize sticky(280, 340);

} // namespace

TEST(StickyPlacement, CentresOnThePointerWithTheBottomEdgeFortyPointsBelow)
{
    const QPoint origin = StickyPlacement::originNearPointer({700, 500}, screen, sticky, 0);
    EXPECT_EQ(origin.x() + sticky.width() / 2, 700);
    EXPECT_EQ(origin.y() + sticky.height(), 540);
}

TEST(StickyPlacement, CascadeStepsRightAndDownAndStartsOverAtTheNinthWindow)
{
    const QPoint pointer(700, 500);
    const QPoint first = StickyPlacement::originNearPointer(pointer, screen, sticky, 0);
    for (int index = 1; index < 8; ++index) {
        const QPoint origin = StickyPlacement::originNearPointer(pointer, screen, sticky, index);
        EXPECT_EQ(origin - first, QPoint(18 * index, 18 * index)) << "window " << index;
    }
    EXPECT_EQ(StickyPlacement::originNearPointer(pointer, screen, sticky, 8), first);
    EXPECT_EQ(StickyPlacement::cascadeOffset(7), 126);
    EXPECT_EQ(StickyPlacement::cascadeOffset(16), 0);
}

TEST(StickyPlacement, KeepsAnEightPointMarginAtEveryEdge)
{
    const QRect visible(100, 30, 1000, 800); // right edge 1100, bottom edge 830
    // Pointer at the top-left corner: the window would start above and left of the area.
    EXPECT_EQ(StickyPlacement::originNearPointer({100, 30}, visible, sticky, 0), QPoint(108, 38));
    // Pointer at the bottom-right corner: the cascade steps left and up from the corner.
    EXPECT_EQ(StickyPlacement::originNearPointer({1099, 829}, visible, sticky, 0),
        QPoint(1100 - 280 - 8, 830 - 340 - 8));
    EXPECT_EQ(StickyPlacement::originNearPointer({1099, 829}, visible, sticky, 7),
        QPoint(1100 - 280 - 8 - 126, 830 - 340 - 8 - 126));
}

TEST(StickyPlacement, AWindowLargerThanTheScreenShowsItsTopAndKeepsTheRightMargin)
{
    const QRect visible(0, 24, 800, 576);
    const QPoint origin = StickyPlacement::originNearPointer({400, 300}, visible, {1000, 700}, 3);
    EXPECT_EQ(origin, QPoint(800 - 1000 - 8, 24 + 8));
}

TEST(StickyPlacement, ScreenChoiceFollowsThePointerThenFallsBackToThePrimary)
{
    const QList<QRect> screens {{0, 0, 1440, 900}, {1440, 0, 1920, 1080}};
    EXPECT_EQ(StickyPlacement::screenForPointer({1500, 10}, screens), 1);
    EXPECT_EQ(StickyPlacement::screenForPointer({1439, 899}, screens), 0);
    EXPECT_EQ(StickyPlacement::screenForPointer({-5, -5}, screens, 1), 1);
    EXPECT_EQ(StickyPlacement::screenForPointer({0, 0}, {}), std::nullopt);
}

TEST(StickyFrameString, RoundTripsAFrame)
{
    const QRect frame(-120, 48, 300, 360);
    EXPECT_EQ(StickyFrameString::format(frame), "{{-120, 48}, {300, 360}}");
    EXPECT_EQ(StickyFrameString::parse(StickyFrameString::format(frame)), frame);
    EXPECT_EQ(StickyFrameString::parse(" { {10.4,20.6} , {280.0, 340} } "), QRect(10, 21, 280, 340));
}

TEST(StickyFrameString, RefusesTextThatIsNoUsableFrame)
{
    for (const char* text : {"", "garbage", "{{1, 2}, {3}}", "{{1, 2}, {0, 340}}", "{{1, 2}, {280, 0}}",
             "{{1, 2}, {-280, 340}}", "{{nan, 2}, {280, 340}}", "{{inf, 2}, {280, 340}}",
             "{{1e300, 2}, {280, 340}}", "{{1, 2}, {280, 340}} trailing",
             "{{1, 2}, {0.2, 340}}"}) {
        EXPECT_EQ(StickyFrameString::parse(QString::fromUtf8(text)), std::nullopt) << text;
    }
}

TEST(StickyFrameString, OffScreenMeansNoOverlapWithAnyUsableArea)
{
    const QList<QRect> areas {{0, 0, 1440, 900}};
    EXPECT_TRUE(StickyFrameString::isOnAnyScreen({1400, 880, 280, 340}, areas));
    EXPECT_FALSE(StickyFrameString::isOnAnyScreen({3000, 100, 280, 340}, areas));
    EXPECT_FALSE(StickyFrameString::isOnAnyScreen({-400, 100, 280, 340}, areas));
    EXPECT_FALSE(StickyFrameString::isOnAnyScreen({10, 10, 280, 340}, {}));
}
