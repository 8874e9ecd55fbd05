#include "ui/TextLabel.h"

#include "ui/SchemeColors.h"
#include "ui/ViewFont.h"

#include <QApplication>
#include <QFontMetricsF>
#include <gtest/gtest.h>

using namespace norvelle;

TEST(TextLabelTest, ShrinkToFitShrinksAPixelSizedFontWithinItsMinimum)
{
    TextLabel label(QStringLiteral("Made with Norvelle, and a long footer line"), viewFont(20), &SchemeColors::label);
    label.setShrinkToFit(0.5);
    label.show();
    const qreal natural = QFontMetricsF(viewFont(20)).horizontalAdvance(label.text());
    label.resize(int(natural * 0.7), 40);
    EXPECT_LT(label.font().pixelSize(), 20);
    EXPECT_GE(label.font().pixelSize(), 10);

    label.resize(int(natural * 0.1), 40);
    EXPECT_EQ(label.font().pixelSize(), 10);

    label.resize(int(natural * 2), 40);
    EXPECT_EQ(label.font().pixelSize(), 20);
}
