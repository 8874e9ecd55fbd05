#include "ui/PaperTextureView.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QImage drawn(const QString& name, QSize size, bool dark = false, qreal scale = 1.0)
{
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PaperTextureView::draw(painter, size, name, dark);
    return image;
}

int alphaAt(const QImage& image, int x, int y)
{
    return qAlpha(image.pixel(x, y));
}

bool isBlank(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (alphaAt(image, x, y) != 0) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(PaperTextureView, RuledLinesSitOnPixelRowsBelowTheHeaderWithAMargin)
{
    const QImage lined = drawn("lined", {120, 100});
    // Rules at 36 and 64 fill exactly one pixel row each at scale 1.
    EXPECT_GT(alphaAt(lined, 100, 36), 0);
    EXPECT_EQ(alphaAt(lined, 100, 35), 0);
    EXPECT_EQ(alphaAt(lined, 100, 37), 0);
    EXPECT_GT(alphaAt(lined, 100, 64), 0);
    EXPECT_EQ(alphaAt(lined, 100, 50), 0);
    // The red margin from the header down, and nothing above the header.
    EXPECT_GT(alphaAt(lined, 32, 50), 0);
    EXPECT_GT(qRed(lined.pixel(32, 50)), qBlue(lined.pixel(32, 50)));
    EXPECT_EQ(alphaAt(lined, 32, 20), 0);
    EXPECT_EQ(alphaAt(lined, 60, 50), 0);
    for (int y = 0; y < 36; ++y) {
        EXPECT_EQ(alphaAt(lined, 100, y), 0);
    }
}

TEST(PaperTextureView, GridAddsColumnsAndOddNamesDrawRuledPaper)
{
    const QImage grid = drawn("grid", {120, 100});
    EXPECT_GT(alphaAt(grid, 56, 50), 0);
    EXPECT_GT(alphaAt(grid, 0, 50), 0);
    EXPECT_EQ(alphaAt(grid, 56, 20), 0);
    for (const char* name : {"Grid", "lined", "", "paper"}) {
        const QImage image = drawn(name, {120, 100});
        EXPECT_EQ(alphaAt(image, 56, 50), 0) << name;
        EXPECT_GT(alphaAt(image, 100, 36), 0) << name;
    }
}

TEST(PaperTextureView, DotsAreStaggeredAndBlankDrawsNothing)
{
    const QImage dots = drawn("dot", {120, 100});
    EXPECT_GT(alphaAt(dots, 11, 37), 0);
    EXPECT_EQ(alphaAt(dots, 25, 37), 0);
    EXPECT_GT(alphaAt(dots, 25, 65), 0);
    EXPECT_EQ(alphaAt(dots, 11, 65), 0);
    // No rules and no margin with dots.
    EXPECT_EQ(alphaAt(dots, 100, 64 + 10), 0);
    EXPECT_EQ(alphaAt(dots, 32, 50), 0);
    // Even rows start at 10 and odd ones at 24: ten points wide holds no dot.
    EXPECT_TRUE(isBlank(drawn("dot", {10, 100})));
    EXPECT_TRUE(isBlank(drawn("blank", {120, 100})));
}

TEST(PaperTextureView, AShortCanvasStillGetsItsMarginAndNothingElse)
{
    EXPECT_TRUE(isBlank(drawn("dot", {120, 36})));
    const QImage lined = drawn("lined", {120, 36});
    for (int x = 0; x < 120; ++x) {
        for (int y = 0; y < 36; ++y) {
            ASSERT_EQ(alphaAt(lined, x, y), 0) << x << "," << y;
        }
    }
}

TEST(PaperTextureView, LinesStayOneDevicePixelSharpAtFractionalScales)
{
    const QImage image = drawn("lined", {120, 100}, true, 1.5);
    // A rule sits on the middle of one device row: that row carries it, its neighbours at most
    // a faint edge.
    int strongest = 0;
    int strongRows = 0;
    for (int y = 50; y < 60; ++y) {
        strongest = std::max(strongest, alphaAt(image, 150, y));
    }
    for (int y = 50; y < 60; ++y) {
        strongRows += alphaAt(image, 150, y) * 4 > strongest ? 1 : 0;
    }
    EXPECT_GT(strongest, 0);
    EXPECT_EQ(strongRows, 1);
    // Light lines on dark paper.
    for (int y = 50; y < 60; ++y) {
        if (alphaAt(image, 150, y) > 0) {
            EXPECT_EQ(qRed(image.pixel(150, y)), qAlpha(image.pixel(150, y)));
        }
    }
}
