#include "platform/NotificationCenter.h"
#include "platform/Popover.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "sticky/BackgroundStyleControls.h"
#include "sticky/ColorSwatch.h"
#include "sticky/CustomColorDisclosure.h"
#include "sticky/PaperColorLists.h"
#include "sticky/StickyState.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "sticky/TextureChoiceButton.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

TEST(PaperColorLists, CustomColoursAreSixDistinctIgnoringCaseNewestFirst)
{
    int posted = 0;
    NotificationCenter::defaultCenter().addObserver(PaperColorLists::customChangedNotification, nullptr,
        [&](const Notification&) { ++posted; });
    for (const char* hex : {"#111111", "#222222", "#333333", "#444444", "#555555", "#666666"}) {
        PaperColorLists::addCustomPaperColor(hex);
    }
    PaperColorLists::addCustomPaperColor(" abc ");
    EXPECT_EQ(PaperColorLists::load(storedSettings::customPaperColorsKey),
        QStringList({"#AABBCC", "#666666", "#555555", "#444444", "#333333", "#222222"}));
    PaperColorLists::addCustomPaperColor("#aabbcc");
    PaperColorLists::addCustomPaperColor("333333");
    EXPECT_EQ(PaperColorLists::load(storedSettings::customPaperColorsKey),
        QStringList({"#333333", "#AABBCC", "#666666", "#555555", "#444444", "#222222"}));
    EXPECT_EQ(posted, 9);

    PaperColorLists::clearCustomPaperColors();
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::customPaperColorsKey));
    EXPECT_EQ(posted, 10);
    // A stored value that is no list of texts reads as an empty list.
    UserDefaults::standard().set(storedSettings::customPaperColorsKey, QVariantList {1, "#FFFFFF"});
    EXPECT_TRUE(PaperColorLists::load(storedSettings::customPaperColorsKey).isEmpty());
}

TEST(PaperColorLists, RecentColoursKeepTwelveAndAnnounceTheFirst)
{
    QStringList announced;
    NotificationCenter::defaultCenter().addObserver(PaperColorLists::recentChangedNotification, nullptr,
        [&](const Notification& notification) { announced << notification.userInfo.value("hex").toString(); });
    for (int i = 0; i < 13; ++i) {
        PaperColorLists::rememberRecentPaperColor(QString::asprintf("#0000%02X", i));
    }
    const QStringList recent = PaperColorLists::load(storedSettings::recentPaperColorsKey);
    EXPECT_EQ(recent.size(), 12);
    EXPECT_EQ(recent.first(), "#00000C");
    EXPECT_FALSE(recent.contains("#000000"));
    PaperColorLists::rememberRecentPaperColor("#000005");
    EXPECT_EQ(PaperColorLists::load(storedSettings::recentPaperColorsKey).first(), "#000005");
    EXPECT_EQ(PaperColorLists::load(storedSettings::recentPaperColorsKey).size(), 12);
    EXPECT_EQ(announced.last(), "#000005");
}

namespace {

class PaperColorPickingTest : public testing::Test {
protected:
    PersistenceController store {true};
    std::shared_ptr<StickyNote> note = StickyNote::insert(store.viewContext());
    std::unique_ptr<StickyWindowController> controller;

    void SetUp() override
    {
        note->setId(QUuid::createUuid());
        note->setVersion(2);
        store.viewContext().save();
        controller = std::make_unique<StickyWindowController>();
        controller->stickyID = note->objectID().uriString();
        controller->initWithNote(note);
    }
};

} // namespace

TEST_F(PaperColorPickingTest, APreviewWritesTheNoteButOnlyAChoiceIsRemembered)
{
    ASSERT_TRUE(controller->stickyState().followsSystemTheme());
    controller->applyPaperColor("#14532D", false);
    EXPECT_FALSE(controller->stickyState().followsSystemTheme());
    EXPECT_FALSE(UserDefaults::standard().boolValue(StickyWindowController::followThemeKey(controller->stickyID)));
    EXPECT_TRUE(UserDefaults::standard().contains(StickyWindowController::followThemeKey(controller->stickyID)));
    EXPECT_TRUE(controller->stickyState().isDark());
    EXPECT_EQ(note->paperColor(), "#14532D");
    EXPECT_EQ(note->version(), 3);
    EXPECT_EQ(note->updatedBy(), "local-device");
    EXPECT_FALSE(store.viewContext().hasChanges());
    EXPECT_TRUE(PaperColorLists::load(storedSettings::recentPaperColorsKey).isEmpty());

    controller->applyPaperColor("#fff8e8", true);
    EXPECT_EQ(note->paperColor(), "#fff8e8");
    EXPECT_FALSE(controller->stickyState().isDark());
    EXPECT_EQ(note->version(), 4);
    EXPECT_EQ(PaperColorLists::load(storedSettings::recentPaperColorsKey), QStringList({"#FFF8E8"}));
}

TEST_F(PaperColorPickingTest, TheColoursPopoverChoosesPaperAndTextureByClicks)
{
    note->setPaperColor("#fdfdf8");
    StickyState& state = controller->stickyState();
    state.setPaperHex("#fdfdf8");
    PaperColorLists::addCustomPaperColor("#123456");
    BackgroundStyleControls controls(
        state, [this](const QString& hex) { controller->applyPaperColor(hex, false); },
        [this](const QString& hex) { controller->applyPaperColor(hex, true); });
    controls.show();
    QList<ColorSwatch*> swatches = controls.findChildren<ColorSwatch*>();
    ASSERT_EQ(swatches.size(), 13);
    // The stored lower-case paper marks the first preset.
    EXPECT_TRUE(swatches[0]->isSelected());
    EXPECT_EQ(swatches[12]->toolTip(), "Recent");

    QTest::mouseClick(swatches[7], Qt::LeftButton);
    EXPECT_EQ(state.paperHex(), "#14532D");
    EXPECT_EQ(note->paperColor(), "#14532D");
    EXPECT_EQ(PaperColorLists::load(storedSettings::recentPaperColorsKey), QStringList({"#14532D"}));
    // Choosing a preset leaves the custom list alone.
    EXPECT_EQ(PaperColorLists::load(storedSettings::customPaperColorsKey), QStringList({"#123456"}));

    for (TextureChoiceButton* button : controls.findChildren<TextureChoiceButton*>()) {
        if (button->text() == "Dots") {
            QTest::mouseClick(button, Qt::LeftButton);
            break;
        }
    }
    EXPECT_EQ(note->textureName(), "dot");

    controls.previewCustomColor(QColor::fromRgbF(0.5f, 0.5f, 0.5f));
    EXPECT_EQ(note->paperColor(), "#7F7F7F");
    controls.clearCustomColors();
    // The old rows go at the next turn of the event loop.
    QTest::qWait(10);
    EXPECT_EQ(controls.findChildren<ColorSwatch*>().size(), 12);
}

TEST_F(PaperColorPickingTest, TheColoursPopoverGrowsToShowTheCustomColourRowWhole)
{
    controller->showWindow();
    StickyToolbarPill* pill = controller->toolbarPill();
    QTest::mouseClick(pill->findChild<QAbstractButton*>("colors"), Qt::LeftButton);
    Popover* popover = pill->colorsPopover();
    ASSERT_TRUE(popover && popover->isVisible());
    const auto shownWhole = [popover](QWidget* widget) {
        return widget->isVisible() && widget->width() >= widget->sizeHint().width()
            && widget->height() >= widget->sizeHint().height()
            && popover->rect().contains(QRect(widget->mapTo(popover, QPoint(0, 0)), widget->size()));
    };
    const auto disclosure = [popover] {
        for (CustomColorDisclosure* button : popover->findChildren<CustomColorDisclosure*>()) {
            if (button->isVisible())
                return button;
        }
        return static_cast<CustomColorDisclosure*>(nullptr);
    };
    ASSERT_TRUE(disclosure());
    const int closedHeight = popover->height();

    QTest::mouseClick(disclosure(), Qt::LeftButton);
    EXPECT_TRUE(test::waitUntil([&] { return popover->height() > closedHeight; }));
    auto* apply = popover->findChild<QAbstractButton*>("applyCustomColor");
    auto* pick = popover->findChild<QAbstractButton*>("pickCustomColor");
    ASSERT_TRUE(apply && pick);
    EXPECT_TRUE(shownWhole(apply));
    EXPECT_TRUE(shownWhole(pick));
    EXPECT_EQ(pick->accessibleName(), "Pick custom color");
    // The swatches share the width but each row keeps its full height.
    for (ColorSwatch* swatch : popover->findChildren<ColorSwatch*>()) {
        EXPECT_GE(swatch->height(), swatch->sizeHint().height()) << swatch->toolTip().toStdString();
        EXPECT_TRUE(popover->rect().contains(QRect(swatch->mapTo(popover, QPoint(0, 0)), swatch->size())));
    }

    // Closing the row again gives the room back.
    QTest::mouseClick(disclosure(), Qt::LeftButton);
    EXPECT_TRUE(test::waitUntil([&] { return popover->height() == closedHeight; })) << popover->height();
}

TEST(ColorSwatchHover, GrowsToItsHoverSizeGraduallyAndBack)
{
    ColorSwatch swatch("#1E1B4B", "#1E1B4B", false);
    swatch.resize(44, 36);
    swatch.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&swatch));
    QHoverEvent enter(QEvent::HoverEnter, QPointF(22, 18), QPointF(22, 18), QPointF(-1, -1));
    QApplication::sendEvent(&swatch, &enter);
    EXPECT_LT(swatch.scale(), 1.03) << "no jump to the full size";
    EXPECT_TRUE(test::waitUntil([&] { return swatch.scale() == ColorSwatch::hoverScale; }, 1000));
    QHoverEvent leave(QEvent::HoverLeave, QPointF(-1, -1), QPointF(-1, -1), QPointF(22, 18));
    QApplication::sendEvent(&swatch, &leave);
    EXPECT_GT(swatch.scale(), 1.03);
    EXPECT_TRUE(test::waitUntil([&] { return swatch.scale() == 1.0; }, 1000));
}
