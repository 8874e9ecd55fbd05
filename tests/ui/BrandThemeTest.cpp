#include "platform/UserDefaults.h"
#include "support/QtPrinters.h"
#include "support/TestHome.h"
#include "ui/BrandGradientButtonStyle.h"
#include "ui/BrandPalette.h"
#include "ui/NorvelleAppearancePreference.h"

#include <QHBoxLayout>
#include <QImage>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace norvelle;

TEST(BrandPalette, ColoursInEightBitTerms)
{
    EXPECT_EQ(brandPurple().rgba(), qRgb(191, 90, 242));
    const auto& stops = brandGradientColors();
    EXPECT_EQ(stops[0].rgba(), qRgb(199, 125, 255));
    EXPECT_EQ(stops[1], brandPurple());
    EXPECT_EQ(stops[2].rgba(), qRgb(142, 63, 214));
}

TEST(NorvelleAppearancePreference, RawValuesTitlesAndSchemes)
{
    using enum NorvelleAppearancePreference;
    EXPECT_EQ(appearance::allCases, (std::array {system, light, dark}));
    EXPECT_EQ(appearance::fromRawValue("dark"), dark);
    EXPECT_EQ(appearance::fromRawValue("Dark"), std::nullopt);
    EXPECT_EQ(appearance::fromRawValue(""), std::nullopt);
    QStringList titles;
    for (const auto preference : appearance::allCases) {
        EXPECT_EQ(appearance::fromRawValue(appearance::rawValue(preference)), preference);
        titles.append(appearance::title(preference));
    }
    EXPECT_EQ(titles, (QStringList {"System", "Light", "Dark"}));
    EXPECT_EQ(appearance::colorScheme(system), std::nullopt);
    EXPECT_EQ(appearance::colorScheme(light), ColorScheme::light);
    EXPECT_EQ(appearance::colorScheme(dark), ColorScheme::dark);
}

TEST(NorvelleAppearancePreference, AnythingUnknownStoredReadsAsSystem)
{
    using enum NorvelleAppearancePreference;
    EXPECT_EQ(appearance::stored(), system);
    UserDefaults::standard().set("norvelle.appearance", QString("light"));
    EXPECT_EQ(appearance::stored(), light);
    UserDefaults::standard().set("norvelle.appearance", QString("midnight"));
    EXPECT_EQ(appearance::stored(), system);
    UserDefaults::standard().set("norvelle.appearance", true);
    EXPECT_EQ(appearance::stored(), system);
}

namespace {

struct ButtonInRow {
    QWidget row;
    QPushButton* button = new QPushButton("Get started");

    explicit ButtonInRow(bool fullWidth)
    {
        auto* layout = new QHBoxLayout(&row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(button);
        BrandGradientButtonStyle {fullWidth}.apply(*button);
        row.resize(480, 100);
        row.show();
        layout->activate();
    }
};

} // namespace

TEST(BrandGradientButtonStyle, HugsItsLabelOrFillsTheRow)
{
    ButtonInRow hugging(false);
    const QSize label = QFontMetrics(hugging.button->font()).size(Qt::TextShowMnemonic, "Get started");
    EXPECT_EQ(hugging.button->font().pixelSize(), 14);
    EXPECT_EQ(hugging.button->font().weight(), QFont::DemiBold);
    EXPECT_EQ(hugging.button->size(), label + QSize(36, 18));

    ButtonInRow filling(true);
    EXPECT_EQ(filling.button->width(), 480);
}

TEST(BrandGradientButtonStyle, PaintsTheRoundedGradientAndDarkensWhilePressed)
{
    ButtonInRow row(true);
    QImage normal = row.button->grab().toImage();
    row.button->setDown(true);
    QImage pressed = row.button->grab().toImage();

    // The corner is outside the rounded rectangle; the left edge's middle shows the first stop.
    const QColor background = row.row.palette().color(QPalette::Window);
    EXPECT_EQ(normal.pixelColor(0, 0).rgb(), background.rgb());
    const QColor edge = normal.pixelColor(2, normal.height() / 2);
    EXPECT_NEAR(edge.red(), 199, 12);
    EXPECT_NEAR(edge.blue(), 255, 12);
    const QColor darker = pressed.pixelColor(2, pressed.height() / 2);
    EXPECT_NEAR(edge.red() - darker.red(), 13, 3); // 0.05 of 255
}
