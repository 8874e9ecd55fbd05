#include "platform/Popover.h"

#include "support/TestHome.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {
const QSize popoverSize(320, 520);
const QRect screenArea(0, 0, 1440, 900);
} // namespace

TEST(Popover, SitsCentredUnderATopPanelIcon)
{
    EXPECT_EQ(Popover::placement(QRect(700, 0, 24, 24), {}, popoverSize, screenArea.adjusted(0, 28, 0, 0)),
        QPoint(712 - 160, 28));
}

TEST(Popover, GoesAboveAnIconInABottomPanel)
{
    const QRect available(0, 0, 1440, 870);
    EXPECT_EQ(Popover::placement(QRect(700, 872, 24, 24), {}, popoverSize, available), QPoint(552, 872 - 4 - 520));
}

TEST(Popover, StaysOnScreenAtTheEdges)
{
    EXPECT_EQ(Popover::placement(QRect(1430, 0, 10, 10), {}, popoverSize, screenArea).x(), 1440 - 320);
    EXPECT_EQ(Popover::placement(QRect(0, 0, 10, 10), {}, popoverSize, screenArea).x(), 0);
}

TEST(Popover, OpensAtThePointerWithoutAnIconRectangle)
{
    EXPECT_EQ(Popover::placement(QRect(), QPoint(400, 300), popoverSize, screenArea), QPoint(240, 305));
}

TEST(Popover, ClosingOnRequestIsNotMistakenForAnOutsideClick)
{
    Popover popover(popoverSize);
    popover.showRelativeTo(QRect(10, 10, 20, 20));
    ASSERT_TRUE(popover.isShown());
    EXPECT_EQ(popover.size(), popoverSize);
    popover.performClose();
    EXPECT_FALSE(popover.isShown());

    popover.showRelativeTo(QRect(10, 10, 20, 20));
    popover.hide(); // what a click outside a popup does
    EXPECT_TRUE(popover.isShown());
    EXPECT_TRUE(test::waitUntil([&] { return !popover.isShown(); }, 5000));
}

TEST(PopoverPlacement, AnAbovePopoverOpensOverItsAnchorUnlessThereIsNoRoom)
{
    const QRect screen(0, 0, 1440, 900);
    const QSize size(212, 222);
    EXPECT_EQ(Popover::placement(QRect(600, 500, 32, 28), {}, size, screen, Popover::Edge::above),
        QPoint(510, 500 - 4 - 222));
    EXPECT_EQ(Popover::placement(QRect(600, 100, 32, 28), {}, size, screen, Popover::Edge::above),
        QPoint(510, 128 + 4))
        << "no room above: below instead";
}
