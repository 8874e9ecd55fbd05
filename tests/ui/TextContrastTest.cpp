#include "ui/TextContrast.h"
#include "support/QtPrinters.h"
#include "ui/HexColor.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

void expectColor(const QColor& color, Qt::GlobalColor base, double alpha)
{
    EXPECT_EQ(color.rgb(), QColor(base).rgb());
    EXPECT_NEAR(color.alphaF(), alpha, 0.002);
}

} // namespace

TEST(RelativeLuminance, FollowsTheLinearisedWeights)
{
    EXPECT_DOUBLE_EQ(relativeLuminance(Qt::black), 0.0);
    EXPECT_NEAR(relativeLuminance(Qt::white), 1.0, 1e-6);
    EXPECT_NEAR(relativeLuminance(QColor(128, 128, 128)), 0.2158605, 1e-5);
    EXPECT_NEAR(relativeLuminance(QColor(0, 255, 0)), 0.7152, 1e-6);
    // Below the knee the curve is a straight line.
    EXPECT_NEAR(relativeLuminance(QColor(10, 10, 10)), 10 / 255.0 / 12.92, 1e-6);
    EXPECT_DOUBLE_EQ(relativeLuminance(QColor()), 1.0);
}

TEST(CompareTextContrast, PicksWhiteOnlyWhereItReadsAtLeastAsWell)
{
    EXPECT_TRUE(compareTextContrast("#2C2C2E"));
    EXPECT_FALSE(compareTextContrast("#FDFDF8"));
    EXPECT_FALSE(compareTextContrast("#808080"));
    EXPECT_TRUE(compareTextContrast("#000000"));
    EXPECT_FALSE(compareTextContrast("#FFFFFF"));
    EXPECT_TRUE(compareTextContrast(" 000 "));
    EXPECT_FALSE(compareTextContrast("not a colour"));
    // The switch-over sits at a luminance of about 0.179: grey 117 is just below, 118 above.
    EXPECT_TRUE(compareTextContrast("#757575"));
    EXPECT_FALSE(compareTextContrast("#767676"));
}

TEST(IsDarkHexColor, UsesPlainLumaBelowOneHalf)
{
    EXPECT_TRUE(isDarkHexColor("#2C2C2E", false, 1.0));
    EXPECT_FALSE(isDarkHexColor("#FDFDF8", true, 1.0));
    EXPECT_FALSE(isDarkHexColor("#808080", true, 1.0)); // luma 0.502
    EXPECT_TRUE(isDarkHexColor("#7F7F7F", false, 1.0)); // luma 0.498
    EXPECT_TRUE(isDarkHexColor("222", false, 0.35));
}

TEST(IsDarkHexColor, ATransparentPaperIsNeverDarkAndUnreadableTextGivesTheFallback)
{
    EXPECT_FALSE(isDarkHexColor("#000000", true, 0.3));
    EXPECT_FALSE(isDarkHexColor("garbage", true, 0.3));
    EXPECT_TRUE(isDarkHexColor("garbage", true, 1.0));
    EXPECT_FALSE(isDarkHexColor("garbage", false, 1.0));
    EXPECT_TRUE(isDarkHexColor("", true, 1.0));
}

TEST(ReadableTextColors, LightTextOnDarkPaperAndDarkTextOtherwise)
{
    const ReadableTextColors onDark = readableTextColors("#2C2C2E");
    expectColor(onDark.first, Qt::black, 0.34);
    expectColor(onDark.second, Qt::white, 0.95);
    expectColor(onDark.third, Qt::white, 0.82);

    for (const char* hex : {"#FDFDF8", "unreadable"}) {
        const ReadableTextColors onLight = readableTextColors(hex);
        expectColor(onLight.first, Qt::white, 0.86);
        expectColor(onLight.second, Qt::black, 0.85);
        expectColor(onLight.third, Qt::black, 0.68);
    }
}
