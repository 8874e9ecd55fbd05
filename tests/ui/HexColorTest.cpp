#include "ui/HexColor.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <limits>

using namespace norvelle;

namespace {

void expectRgb(const std::optional<QColor>& color, int red, int green, int blue)
{
    ASSERT_TRUE(color.has_value());
    EXPECT_EQ(color->red(), red);
    EXPECT_EQ(color->green(), green);
    EXPECT_EQ(color->blue(), blue);
    EXPECT_EQ(color->alpha(), 255);
}

} // namespace

TEST(NormalizePaperHex, CleansUpWhatUsersAndOldRecordsWrite)
{
    EXPECT_EQ(normalizePaperHex("  fdfdf8\n"), "#FDFDF8");
    EXPECT_EQ(normalizePaperHex("#abc"), "#AABBCC");
    EXPECT_EQ(normalizePaperHex("abc"), "#AABBCC");
    EXPECT_EQ(normalizePaperHex("#a1b2c3d4"), "#A1B2C3D4");
    EXPECT_EQ(normalizePaperHex(""), "#");
    EXPECT_EQ(normalizePaperHex("##ab"), "###AABB");
    EXPECT_EQ(normalizePaperHex("#xyz"), "#XXYYZZ");
    // Three user-perceived characters, one of them with a combining accent.
    EXPECT_EQ(normalizePaperHex(QString("#e") + QChar(0x0301) + "fa"),
        QString("#E") + QChar(0x0301) + "E" + QChar(0x0301) + "FFAA");
}

TEST(ColorFromHex, ReadsSixDigitsAfterAnOptionalNumberSign)
{
    expectRgb(colorFromHex("  #a1B2c3\n"), 161, 178, 195);
    expectRgb(colorFromHex("A1B2C3"), 161, 178, 195);
    expectRgb(colorFromHex("#000000"), 0, 0, 0);
    expectRgb(colorFromHex("#ffffff"), 255, 255, 255);
}

TEST(ColorFromHex, RefusesEveryOtherShape)
{
    for (const char* text : {"#abc", "abc", "#a1b2c3d4", "##a1b2c3", "#a1b2cg", "", "#", "   ",
             "#a1b2c", "#a1 2c3", "0xa1b2", "+-1234", "++1234", "#+12345 6"}) {
        EXPECT_FALSE(colorFromHex(text).has_value()) << text;
    }
    // Full-width digits look like hex digits to a Unicode-aware parser.
    EXPECT_FALSE(colorFromHex(QString::fromUtf8("１２３４５６")).has_value());
    EXPECT_FALSE(colorFromHex(QString("12345") + QChar(0x0301)).has_value());
}

TEST(ColorFromHex, TakesSignsAsTheIntegerParserDoes)
{
    expectRgb(colorFromHex("+12345"), 1, 35, 69);
    expectRgb(colorFromHex("-00000"), 0, 0, 0);
    EXPECT_FALSE(colorFromHex("-00001").has_value());
}

TEST(HexString, RoundTripsEveryByteValue)
{
    EXPECT_EQ(hexString(*colorFromHex("#a1b2c3")), "#A1B2C3");
    for (int v = 0; v <= 255; ++v) {
        const QString hex = QString::asprintf("#%02X%02X%02X", v, 255 - v, v / 2);
        ASSERT_EQ(hexString(*colorFromHex(hex)), hex);
    }
}

TEST(HexString, TruncatesInsteadOfRounding)
{
    EXPECT_EQ(hexString(QColor::fromRgbF(0.5f, 0.0f, 1.0f)), "#7F00FF");
    EXPECT_EQ(hexString(QColor::fromRgbF(0.999f, 0.2f, 0.0f)), "#FE3300");
}

TEST(HexString, ClampsComponentsOutsideTheUnitRange)
{
    EXPECT_EQ(hexString(QColor::fromRgbF(1.5f, -0.25f, 0.5f)), "#FF007F");
    QColor notANumber = QColor::fromRgbF(2.0f, 0.0f, 0.0f);
    notANumber.setRedF(std::numeric_limits<float>::quiet_NaN());
    notANumber.setBlueF(std::numeric_limits<float>::infinity());
    EXPECT_EQ(hexString(notANumber), "#0000FF");
}

TEST(HexString, OtherColourModelsAreConvertedAndInvalidColoursGiveThePaperDefault)
{
    EXPECT_EQ(hexString(QColor::fromHsv(0, 255, 255)), "#FF0000");
    EXPECT_EQ(hexString(QColor()), "#FDFDF8");
}

TEST(ColorFromHexOrWhite, AcceptsShortAndLooseFormsAndShowsTheRestAsWhite)
{
    EXPECT_EQ(hexString(colorFromHexOrWhite("#abc")), "#AABBCC");
    EXPECT_EQ(hexString(colorFromHexOrWhite(" 2c2c2e ")), "#2C2C2E");
    for (const char* text : {"", "nothing here", "#abcd", "##abc", "#ggg"}) {
        const QColor color = colorFromHexOrWhite(text);
        EXPECT_EQ(color, QColor(Qt::white)) << text;
        EXPECT_EQ(color.alpha(), 255);
    }
}

TEST(HexColorTexts, AnyTextGoesThroughWithoutHarm)
{
    QRandomGenerator random(20261209);
    const QList<char16_t> alphabet {u'#', u'+', u'-', u' ', u'\n', u'a', u'F', u'0', u'9', u'g',
        0x0301, 0xD83D, 0xDE00, 0xDC00, 0x00A0, 0x2028, 0xFFFF, 0};
    for (int round = 0; round < 5000; ++round) {
        QString text;
        const int length = random.bounded(0, 12);
        for (int i = 0; i < length; ++i) {
            text += QChar(alphabet[random.bounded(alphabet.size())]);
        }
        const std::optional<QColor> strict = colorFromHex(text);
        if (strict) {
            EXPECT_EQ(hexString(*strict).size(), 7);
        }
        EXPECT_TRUE(colorFromHexOrWhite(text).isValid());
        normalizePaperHex(text);
    }
    const QString huge(1 << 20, u'a');
    EXPECT_FALSE(colorFromHex(huge).has_value());
    EXPECT_EQ(normalizePaperHex(huge).size(), huge.size() + 1);
}
