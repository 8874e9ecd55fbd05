#include "sticky/PaperTheme.h"
#include "sticky/StickyContentView.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(PaperTheme, TheTwoDarknessTestsAndTheirBoundaries)
{
    EXPECT_FALSE(PaperTheme::isDarkPaperHexSRGB("#FFFFFF"));
    EXPECT_FALSE(PaperTheme::isDarkPaperHexSRGB("#FDFDF8"));
    EXPECT_TRUE(PaperTheme::isDarkPaperHexSRGB("#2C2C2E"));
    EXPECT_TRUE(PaperTheme::isDarkPaperHexSRGB(" 1c1c1e "));
    // The sRGB test reads the text as it stands: no short form, nothing unreadable is dark.
    EXPECT_FALSE(PaperTheme::isDarkPaperHexSRGB("#000"));
    EXPECT_FALSE(PaperTheme::isDarkPaperHexSRGB("night"));
    EXPECT_TRUE(PaperTheme::isDarkPaperHex("#000"));
    EXPECT_FALSE(PaperTheme::isDarkPaperHex("night"));

    // Green at 0.75 is light by sRGB weights (0.536) and dark by Rec. 601 (0.440).
    EXPECT_FALSE(PaperTheme::isDarkPaperHexSRGB("#00BF00"));
    EXPECT_TRUE(PaperTheme::isDarkPaperHex("#00BF00"));
    // 0x80 / 255 = 0.502 is not below 0.5; 0x7F is.
    EXPECT_FALSE(PaperTheme::isDarkPaperHexSRGB("#808080"));
    EXPECT_TRUE(PaperTheme::isDarkPaperHexSRGB("#7F7F7F"));
    EXPECT_FALSE(PaperTheme::isDarkPaperHex("#808080"));
    EXPECT_TRUE(PaperTheme::isDarkPaperHex("#7F7F7F"));
}

TEST(PaperTheme, ThemePapersFollowTheThemeAndThemeDecidesWhatShows)
{
    for (const char* paper : {"#FDFDF8", "#fdfdf8", "#2c2c2e", " 1C1C1E"}) {
        EXPECT_TRUE(PaperTheme::paperFollowsThemeByDefault(paper)) << paper;
    }
    EXPECT_TRUE(PaperTheme::paperFollowsThemeByDefault(QString()));
    EXPECT_FALSE(PaperTheme::paperFollowsThemeByDefault("#FFF8E8"));
    EXPECT_FALSE(PaperTheme::paperFollowsThemeByDefault(""));

    EXPECT_EQ(PaperTheme::effectivePaperHex(true, "#14532D", ColorScheme::dark), "#2C2C2E");
    EXPECT_EQ(PaperTheme::effectivePaperHex(true, "#14532D", ColorScheme::light), "#FDFDF8");
    EXPECT_EQ(PaperTheme::effectivePaperHex(false, "#14532d", ColorScheme::dark), "#14532d");
}

TEST(StickyLook, OpacityDrivesFillTextureTextAndBorder)
{
    EXPECT_EQ(StickyContentView::paperFillOpacity(0.0), 0.16);
    EXPECT_EQ(StickyContentView::paperFillOpacity(-1.0), 0.16);
    EXPECT_EQ(StickyContentView::paperFillOpacity(3.0), 1.0);
    EXPECT_NEAR(StickyContentView::textureOpacity(0.0), 0.212, 1e-9);
    EXPECT_NEAR(StickyContentView::textureOpacity(0.5), 0.45, 1e-9);
    EXPECT_EQ(StickyContentView::textureOpacity(1.0), 0.78);
    EXPECT_EQ(StickyContentView::textureOpacity(5.0), 0.78);

    // Below 0.35 the desktop's own text colour; at 0.35 the paper decides.
    EXPECT_EQ(StickyContentView::editorTextColor(0.34, true), std::nullopt);
    EXPECT_EQ(StickyContentView::editorTextColor(0.35, true), QColor(Qt::white));
    EXPECT_EQ(StickyContentView::editorTextColor(1.0, false), QColor(Qt::black));

    const QColor primary(Qt::black);
    EXPECT_EQ(StickyContentView::borderColor(false, 0.97, primary).alphaF(), 0.2f);
    EXPECT_EQ(StickyContentView::borderColor(false, 0.98, primary).alpha(), 0);
    EXPECT_EQ(StickyContentView::borderColor(false, 0.0, primary).alphaF(), 0.2f);
    const QColor pinned = StickyContentView::borderColor(true, 1.0, primary);
    EXPECT_EQ(pinned, StickyContentView::borderColor(true, 0.1, primary));
    EXPECT_NEAR(pinned.alphaF(), 0.35, 1e-3);
    EXPECT_NEAR(pinned.blueF(), 0.949, 1e-3);
    EXPECT_EQ(StickyContentView::borderWidth(true), 1.5);
    EXPECT_EQ(StickyContentView::borderWidth(false), 1.0);
}
