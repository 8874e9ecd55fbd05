#include "sticky/StickyHeaderBar.h"
#include "sticky/HeaderSymbolButton.h"
#include "sticky/ShareAnchorButton.h"
#include "sticky/StickyState.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace norvelle;

TEST(StickyHeaderBar, IconsAreLightOnlyOnDarkFairlyOpaquePaper)
{
    EXPECT_TRUE(StickyHeaderBar::isHeaderDark(1.0, "#2C2C2E", false));
    EXPECT_FALSE(StickyHeaderBar::isHeaderDark(1.0, "#FDFDF8", true));
    EXPECT_FALSE(StickyHeaderBar::isHeaderDark(0.3, "#2C2C2E", true));
    EXPECT_TRUE(StickyHeaderBar::isHeaderDark(0.35, "#2C2C2E", false));
    // No colour in the text: the state's darkness decides.
    EXPECT_TRUE(StickyHeaderBar::isHeaderDark(1.0, "#222", true));
    EXPECT_FALSE(StickyHeaderBar::isHeaderDark(1.0, "ink", false));

    StickyState state;
    state.setPaperHex("#2C2C2E");
    StickyHeaderBar bar(state);
    bar.setShownPaper("#2C2C2E", 1.0);
    EXPECT_EQ(bar.moreButton()->color().rgb(), QColor(Qt::white).rgb());
    EXPECT_NEAR(bar.moreButton()->color().alphaF(), 0.9, 0.01);
    bar.setShownPaper("#FDFDF8", 1.0);
    EXPECT_EQ(bar.moreButton()->color().rgb(), QColor(Qt::black).rgb());
    EXPECT_NEAR(bar.moreButton()->color().alphaF(), 0.82, 0.01);
}

TEST(StickyHeaderBar, ThePinStarFillsInGoldWhenPinned)
{
    StickyState state;
    StickyHeaderBar bar(state);
    EXPECT_EQ(bar.pinButton()->systemName(), "star");
    EXPECT_EQ(bar.pinButton()->color(), bar.moreButton()->color());
    state.setIsPinned(true);
    EXPECT_EQ(bar.pinButton()->systemName(), "star.fill");
    EXPECT_EQ(bar.pinButton()->color(), QColor::fromRgbF(1.0f, 0.7f, 0.0f));
}

TEST(StickyHeaderBar, ThePinnedStarStandsOutOnEveryPaper)
{
    StickyState state;
    state.setIsPinned(true);
    StickyHeaderBar bar(state);
    for (const QString paper : {"#FDFDF8", "#FFF8E8", "#F0E6CC", "#EDE9FE", "#1E1B4B", "#2C2C2E", "#FFAA00", "#FFB300", "#F5A623"}) {
        bar.setShownPaper(paper, 1.0);
        // The paper under the capsule's faint fill, as the window shows it.
        const QColor under = QColor(paper);
        const QColor ground = QColor::fromRgbF(under.redF() * 0.88f, under.greenF() * 0.88f, under.blueF() * 0.88f);
        QImage shown(bar.pinButton()->size(), QImage::Format_ARGB32);
        shown.fill(ground);
        bar.pinButton()->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        int strongest = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QColor pixel = shown.pixelColor(x, y);
                strongest = std::max({strongest, std::abs(pixel.red() - ground.red()), std::abs(pixel.green() - ground.green()),
                    std::abs(pixel.blue() - ground.blue())});
            }
        }
        EXPECT_GE(strongest, 80) << paper.toStdString();
    }
}

TEST(StickyHeaderBar, EachControlReportsItsClick)
{
    StickyState state;
    StickyHeaderBar bar(state);
    bar.resize(280, StickyHeaderBar::stripHeight);
    bar.show();
    QSignalSpy close(&bar, &StickyHeaderBar::closeClicked);
    QSignalSpy minimize(&bar, &StickyHeaderBar::minimizeClicked);
    QSignalSpy share(&bar, &StickyHeaderBar::shareOptionsRequested);
    QSignalSpy pin(&bar, &StickyHeaderBar::togglePinClicked);
    QSignalSpy more(&bar, &StickyHeaderBar::moreClicked);

    QTest::mouseClick(bar.closeButton(), Qt::LeftButton);
    QTest::mouseClick(bar.minimizeButton(), Qt::LeftButton);
    QTest::mouseClick(bar.shareButton(), Qt::LeftButton);
    QTest::mouseClick(bar.pinButton(), Qt::LeftButton);
    QTest::mouseClick(bar.moreButton(), Qt::LeftButton);
    EXPECT_EQ(close.size(), 1);
    EXPECT_EQ(minimize.size(), 1);
    EXPECT_EQ(pin.size(), 1);
    EXPECT_EQ(more.size(), 1);
    ASSERT_EQ(share.size(), 1);
    // The share menu hangs from the button itself.
    EXPECT_EQ(share.first().first().value<QWidget*>(), bar.shareButton());
    EXPECT_EQ(bar.shareButton()->toolTip(), "Share options");

    bar.setShareEnabled(false);
    EXPECT_EQ(bar.shareButton()->toolTip(), "Add text to share");
    QTest::mouseClick(bar.shareButton(), Qt::LeftButton);
    EXPECT_EQ(share.size(), 1);

    // Left dots, right capsule, all inside the strip.
    EXPECT_LT(bar.minimizeButton()->geometry().right(), bar.shareButton()->mapTo(&bar, QPoint()).x());
    EXPECT_EQ(bar.height(), 36);
}
