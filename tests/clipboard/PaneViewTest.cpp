#include "ClipViewFixture.h"

#include "clipboard/ClipCardList.h"
#include "clipboard/ClipboardHistoryPane.h"
#include "clipboard/ClipboardRetentionMode.h"
#include "core/NorvelleShortcutsProfile.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/RenderedImage.h"
#include "ui/BadgeLabel.h"
#include "ui/PlainButton.h"

#include <QCursor>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace norvelle::test {
namespace {

using Action = ClipCardList::Action;

class PaneViewTest : public ClipViewTest {
protected:
    ClipboardHistoryPane& pane()
    {
        if (!m_pane) {
            m_pane = std::make_unique<ClipboardHistoryPane>(
                monitor, [this](const ClipEntry& entry) { events << QStringLiteral("use:") + entry.text; },
                [this](const QString& text) { events << QStringLiteral("sticky:") + text; });
            m_pane->resize(640, 600);
        }
        return *m_pane;
    }

    void hoverCard(int index)
    {
        ClipCardList* cards = pane().cards();
        // Qt drops a move to where the pointer already is, so come from elsewhere.
        QTest::mouseMove(cards, cards->itemRect(index).topLeft() + QPoint(31, 21));
        QTest::mouseMove(cards, cards->itemRect(index).topLeft() + QPoint(30, 20));
    }

    QAction* retentionAction(const QString& raw)
    {
        for (QAction* action : pane().retentionMenu()->actions()) {
            if (action->data().toString() == raw)
                return action;
        }
        return nullptr;
    }

    std::unique_ptr<ClipboardHistoryPane> m_pane;
    QStringList events;
};

TEST_F(PaneViewTest, EmptyHistoryWinsOverASearchHidesTheBadgeAndDisablesClearAll)
{
    monitor.setItems({makeClip(QStringLiteral("something"))});
    pane().searchField()->setText(QStringLiteral("xyz"));
    EXPECT_EQ(pane().content(), ClipboardHistoryPane::Content::noMatch);
    EXPECT_TRUE(pane().countBadge()->isVisibleTo(&pane()));

    pane().clearAll();
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(pane().content(), ClipboardHistoryPane::Content::empty);
    EXPECT_FALSE(pane().countBadge()->isVisibleTo(&pane()));
    EXPECT_FALSE(pane().clearAllButton()->isEnabled());
}

TEST_F(PaneViewTest, SearchFoldsCaseIgnoresSurroundingBlanksAndLooksAtTheSource)
{
    monitor.setItems({makeClip(QStringLiteral("release notes"), QStringLiteral("Firefox")),
        makeClip(QStringLiteral("shopping list"), QStringLiteral("Kate")),
        makeClip({}, QStringLiteral("GIMP"), 10, makePng({20, 20}, Qt::red, Qt::blue))});
    pane().searchField()->setText(QStringLiteral(" \n\t "));
    EXPECT_EQ(pane().filteredItems().size(), 3);
    EXPECT_EQ(pane().countBadge()->text(), "3");

    pane().searchField()->setText(QStringLiteral("RELEASE"));
    ASSERT_EQ(pane().filteredItems().size(), 1);
    EXPECT_EQ(pane().filteredItems().at(0).text, "release notes");

    pane().searchField()->setText(QStringLiteral("kat"));
    ASSERT_EQ(pane().filteredItems().size(), 1) << "matched on the source only";
    EXPECT_EQ(pane().filteredItems().at(0).text, "shopping list");

    pane().searchField()->setText(QStringLiteral("  no such clip "));
    EXPECT_EQ(pane().content(), ClipboardHistoryPane::Content::noMatch);
    EXPECT_EQ(pane().noMatchText(), "No clips match “  no such clip ”");
}

TEST_F(PaneViewTest, CardsAndTheirButtonsCallTheHostOrDeleteWithoutAsking)
{
    monitor.setItems({makeClip(QStringLiteral("  keep my spaces ")), makeClip({}, QStringLiteral("GIMP"), 10, makePng({20, 20}, Qt::red, Qt::blue))});
    showActive(pane());
    ClipCardList* cards = pane().cards();

    QTest::mouseClick(cards, Qt::LeftButton, {}, cards->itemRect(0).topLeft() + QPoint(30, 20));
    hoverCard(0);
    QTest::mouseClick(cards, Qt::LeftButton, {}, cards->buttonRect(0, Action::copy).center());
    QTest::mouseClick(cards, Qt::LeftButton, {}, cards->buttonRect(0, Action::newSticky).center());
    EXPECT_EQ(events, QStringList({"use:  keep my spaces ", "use:  keep my spaces ", "sticky:  keep my spaces "}));

    hoverCard(1);
    EXPECT_TRUE(cards->buttonRect(1, Action::newSticky).isEmpty()) << "an image without text makes no sticky";
    EXPECT_EQ(pane().filteredItems().at(1).displayTitle(), "Image");
    QTest::mouseClick(cards, Qt::LeftButton, {}, cards->buttonRect(1, Action::remove).center());
    EXPECT_EQ(monitor.items().size(), 1);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(ClipCardList::buttonHelp(Action::remove), "Delete this clip");
}

TEST_F(PaneViewTest, AClipArrivingDuringAClickDeletesTheCardPressedNotItsNewNeighbour)
{
    monitor.setItems({makeClip(QStringLiteral("newer")), makeClip(QStringLiteral("doomed")),
        makeClip(QStringLiteral("older"))});
    showActive(pane());
    ClipCardList* cards = pane().cards();
    hoverCard(1);
    const QPoint remove = cards->buttonRect(1, Action::remove).center();

    QTest::mousePress(cards, Qt::LeftButton, {}, remove);
    pasteboard.setText(QStringLiteral("arrived"));
    monitor.poll();
    ASSERT_EQ(cards->entries().at(1).text, "newer");
    QTest::mouseRelease(cards, Qt::LeftButton, {}, remove);
    QStringList left;
    for (const ClipEntry& entry : monitor.items())
        left << entry.text;
    EXPECT_EQ(left, QStringList({"arrived", "newer", "older"}));
}

TEST_F(PaneViewTest, TheHighlightFollowsTheCardUnderAStillPointerWhenANewClipPushesTheListDown)
{
    monitor.setItems({makeClip(QStringLiteral("one")), makeClip(QStringLiteral("two"))});
    showActive(pane());
    ClipCardList* cards = pane().cards();
    const QPoint pointer = cards->itemRect(0).topLeft() + QPoint(30, 20);
    QCursor::setPos(cards->mapToGlobal(pointer));
    hoverCard(0);
    ASSERT_EQ(cards->hoveredID(), monitor.items().at(0).id);
    ASSERT_TRUE(cards->underMouse());

    monitor.setItems({makeClip(QStringLiteral("arrived")), makeClip(QStringLiteral("one")), makeClip(QStringLiteral("two"))});
    ASSERT_EQ(cards->entries().at(0).text, "arrived");
    ASSERT_TRUE(cards->itemRect(0).contains(pointer));
    EXPECT_EQ(cards->hoveredID(), monitor.items().at(0).id);
}

TEST_F(PaneViewTest, ALeaveFromAnyCardClearsTheHighlight)
{
    monitor.setItems({makeClip(QStringLiteral("one")), makeClip(QStringLiteral("two"))});
    showActive(pane());
    hoverCard(1);
    EXPECT_EQ(pane().cards()->hoveredID(), monitor.items().at(1).id);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(pane().cards(), &leave);
    EXPECT_EQ(pane().cards()->hoveredID(), std::nullopt);
    EXPECT_TRUE(pane().cards()->buttonRect(1, Action::copy).isEmpty());
}

TEST_F(PaneViewTest, EmptyHintNamesTheClipboardHotKeyOfTheStoredProfile)
{
    EXPECT_EQ(pane().emptyHint(), "Copy anything and it appears here automatically. Press " + NorvelleShortcutsProfile::defaults().label(NorvelleShortcutAction::clipboardHistory) + " to open it from any app.");

    NorvelleShortcutsProfile profile = NorvelleShortcutsProfile::defaults();
    profile.setShortcut(NorvelleShortcutAction::clipboardHistory, {false, ShortcutModifierPreset::commandOption, "k"});
    saveShortcutsProfile(profile);
    const QString hint = ClipboardHistoryPane::emptyHintText();
    EXPECT_TRUE(hint.contains(profile.label(NorvelleShortcutAction::clipboardHistory))) << hint.toStdString();
    EXPECT_TRUE(hint.contains("Alt") && hint.contains("K")) << hint.toStdString();
}

TEST_F(PaneViewTest, RetentionMenuWritesTheSettingAndTheMonitorPrunesOnItsNextTick)
{
    UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, QStringLiteral("forever"));
    monitor.setItems({makeClip(QStringLiteral("fresh"), QStringLiteral("Editor"), 60),
        makeClip(QStringLiteral("two days old"), QStringLiteral("Editor"), 2 * 86400)});
    EXPECT_EQ(pane().retentionButton()->text(), "Keep: 7 days") << "an unknown value shows the default";
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::clipboardRetentionMode.key), "forever") << "nothing rewritten";

    QAction* day = retentionAction(QStringLiteral("hours24"));
    ASSERT_NE(day, nullptr);
    day->trigger();
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::clipboardRetentionMode.key), "hours24");
    EXPECT_EQ(pane().retentionButton()->text(), "Keep: 24 hours");
    EXPECT_TRUE(day->isChecked());
    EXPECT_EQ(monitor.items().size(), 2) << "the pane itself prunes nothing";

    monitor.poll();
    ASSERT_EQ(monitor.items().size(), 1);
    EXPECT_EQ(pane().filteredItems().size(), 1);
    EXPECT_EQ(notifications, 1);

    // The settings window writes the same key; the menu follows.
    UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, QStringLiteral("session"));
    EXPECT_EQ(pane().retentionButton()->text(), "Keep: Until you quit Norvelle");
    EXPECT_TRUE(retentionAction(QStringLiteral("session"))->isChecked());
}

TEST_F(PaneViewTest, SavesThePaneInLightAndDarkForReview)
{
    monitor.setItems({makeClip(QStringLiteral("https://example.org/a/very/long/address/that/goes/on?and=on"),
                          QStringLiteral("Firefox"), 30),
        makeClip({}, QStringLiteral("GIMP"), 400, makePng({1600, 900}, QColor(0xff, 0x8a, 0x00), Qt::darkMagenta)),
        makeClip(QStringLiteral("#FFCC00"), QStringLiteral("Inkscape"), 5000),
        makeClip(QStringLiteral("Dear team,\nthe quarterly review moves to Friday. Please bring the "
                                "updated figures and your notes from the last meeting so we can finish early."),
            QStringLiteral("Thunderbird"), 90000),
        makeClip(QStringLiteral("/etc/X11/xorg.conf.d"), QStringLiteral("Terminal"), 700000)});
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
    QDir().mkpath(folder);
    for (const bool dark : {false, true}) {
        if (dark)
            pane().setPalette(darkPalette());
        pane().setAutoFillBackground(true);
        showActive(pane());
        ASSERT_TRUE(thumbnailsArrive(monitor.items()));
        hoverCard(0);
        QImage rendered(pane().size() * 2, QImage::Format_ARGB32_Premultiplied);
        rendered.setDevicePixelRatio(2);
        pane().render(&rendered);
        EXPECT_TRUE(rendered.save(folder + (dark ? "/pane-dark@2x.png" : "/pane-light@2x.png")));

        const RenderedImage image(rendered);
        EXPECT_EQ(image.logicalSize(), QSize(640, 600));
        ClipCardList* cards = pane().cards();
        const auto card = [&](int index) {
            const QRect rect = cards->itemRect(index);
            return QRect(cards->mapTo(&pane(), rect.topLeft()), rect.size());
        };
        const QColor background = image.dominantColour(QRect(card(0).left() - 8, card(0).top(), 6, card(4).bottom() - card(0).top()));
        EXPECT_EQ(dark, background.lightness() < 128);
        for (int index = 0; index < 5; ++index) {
            EXPECT_FALSE(RenderedImage::near(image.dominantColour(card(index)), background, 2)) << "card " << index;
            EXPECT_GT(image.distinctColours(card(index)), 20) << "card " << index;
        }
        // Only the card under the pointer shows its buttons; delete is red.
        const QRect remove = cards->buttonRect(0, Action::remove).translated(card(0).topLeft() - cards->itemRect(0).topLeft());
        ASSERT_FALSE(remove.isEmpty());
        const auto red = [](const QColor& c) { return c.red() > 180 && c.green() < 110 && c.blue() < 110; };
        EXPECT_GT(image.countPixels(remove, red), 20);
        EXPECT_TRUE(cards->buttonRect(2, Action::remove).isEmpty());
        EXPECT_EQ(image.countPixels(remove.translated(0, card(2).top() - card(0).top()), red), 0);
        // The image card shows the picture: its orange is there, and nowhere on the text cards.
        const auto orange = [](const QColor& c) { return c.red() > 200 && c.green() > 100 && c.green() < 170 && c.blue() < 80; };
        EXPECT_GT(image.countPixels(card(1), orange), 50);
        EXPECT_EQ(image.countPixels(card(2), orange), 0);
    }
}

} // namespace
} // namespace norvelle::test
