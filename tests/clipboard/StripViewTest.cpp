#include "ClipViewFixture.h"

#include "core/NorvelleShortcutsProfile.h"

#include "clipboard/ClipStripList.h"
#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardStripView.h"
#include "ui/PlainButton.h"
#include "ui/SchemeColors.h"
#include "ui/TextContrast.h"

#include <QApplication>
#include <QLineEdit>
#include <QShortcut>
#include <QTest>

namespace norvelle::test {
namespace {

class StripViewTest : public ClipViewTest {
protected:
    ClipboardStripView& strip()
    {
        if (!m_strip) {
            m_strip = std::make_unique<ClipboardStripView>(monitor, ClipboardStripView::Callbacks {
                                                                        .onCreateSticky = [this](const QString& text) { events << QStringLiteral("sticky:") + text; },
                                                                        .onPasteClip = [this](const ClipEntry& entry) { events << QStringLiteral("paste:%1@%2").arg(entry.text).arg(m_strip->selectedIndex()); },
                                                                        .onDismiss = [this] { events << QStringLiteral("dismiss"); },
                                                                        .onOpenMain = [this] { events << QStringLiteral("openMain"); },
                                                                    });
            m_strip->resize(ClipboardStripView::stripWidth, 520);
        }
        return *m_strip;
    }

    void setTexts(int count)
    {
        QList<ClipEntry> items;
        for (int i = 1; i <= count; ++i)
            items << makeClip(QStringLiteral("clip %1").arg(i));
        monitor.setItems(items);
    }

    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(strip().searchField(), Qt::Key(key), modifiers);
    }

    QStringList boundKeys()
    {
        QStringList keys;
        for (QShortcut* shortcut : strip().findChildren<QShortcut*>()) {
            for (const QKeySequence& sequence : shortcut->keys())
                keys << sequence.toString();
        }
        keys.sort();
        return keys;
    }

    void hoverRow(int index)
    {
        ClipStripList* list = strip().list();
        // Qt drops a move to where the pointer already is, so come from elsewhere.
        QTest::mouseMove(list, list->itemRect(index).center() + QPoint(1, 1));
        QTest::mouseMove(list, list->itemRect(index).center());
    }

    std::unique_ptr<ClipboardStripView> m_strip;
    QStringList events;
};

// Counts the paint events a widget receives from now on.
class PaintCounter : public QObject {
public:
    PaintCounter(QWidget* widget, int& paints)
        : m_paints(paints)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints;
        return false;
    }

private:
    int& m_paints;
};

TEST_F(StripViewTest, EmptyHistoryShowsTheEmptyStateAndStillOffersClearAll)
{
    showActive(strip());
    EXPECT_EQ(strip().content(), ClipboardStripView::Content::empty);
    EXPECT_FALSE(strip().searchField()->isVisibleTo(&strip()));
    EXPECT_TRUE(strip().clearAllButton()->isVisible());
    EXPECT_EQ(strip().footerCountText(), "0 clips");

    strip().clearAllButton()->click();
    EXPECT_EQ(notifications, 1);
}

TEST_F(StripViewTest, NothingIsBoundToReturnOrCtrlDigitsWhileTheListIsEmpty)
{
    showActive(strip());
    EXPECT_EQ(boundKeys(), QStringList({"Down", "Esc", "Up"}));
    key(Qt::Key_Return);
    key(Qt::Key_1, Qt::ControlModifier);
    key(Qt::Key_Down);
    EXPECT_TRUE(events.isEmpty());

    // A search that matches nothing empties the list in the same way.
    setTexts(2);
    strip().searchField()->setText(QStringLiteral("zzz"));
    EXPECT_EQ(strip().content(), ClipboardStripView::Content::noMatch);
    EXPECT_EQ(boundKeys(), QStringList({"Down", "Esc", "Up"}));
    key(Qt::Key_Return);
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(StripViewTest, TenRowsShowNineBadgesAndBindCtrl1ToCtrl9)
{
    setTexts(10);
    showActive(strip());
    for (int index = 0; index < 9; ++index)
        EXPECT_EQ(ClipStripList::badgeText(index), QStringLiteral("Ctrl+%1").arg(index + 1));
    EXPECT_TRUE(ClipStripList::badgeText(9).isEmpty());
    const QStringList keys = boundKeys();
    EXPECT_EQ(keys.size(), 3 + 2 + 9) << keys.join(u',').toStdString();
    EXPECT_FALSE(keys.contains("Ctrl+0"));

    key(Qt::Key_3, Qt::ControlModifier);
    key(Qt::Key_9, Qt::ControlModifier);
    key(Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(events, QStringList({"paste:clip 3@0", "paste:clip 9@0"}));
}

TEST_F(StripViewTest, ABadgeReadsAsWellAsTheAgeAboveItInBothLooks)
{
    setTexts(3);
    for (const QPalette& palette : {QApplication::palette(), darkPalette()}) {
        strip().setPalette(palette);
        showActive(strip());
        ClipStripList* list = strip().list();
        const QImage image = list->grab().toImage();
        // The second row is neither selected nor under the pointer; its age sits in the upper
        // half of its right end, the badge in the lower.
        const QRect row = list->itemRect(1);
        const QColor fill = image.pixelColor(row.right() - 3, row.center().y());
        const auto strongest = [&](int top, int bottom) {
            double ratio = 1;
            for (int y = top; y < bottom; ++y) {
                for (int x = row.right() - 70; x < row.right() - 3; ++x) {
                    ratio = std::max(ratio, contrastRatio(image.pixelColor(x, y), fill));
                }
            }
            return ratio;
        };
        const double age = strongest(row.top(), row.center().y());
        const double badge = strongest(row.center().y(), row.bottom());
        EXPECT_GE(badge, 0.9 * age) << "dark " << SchemeColors::isDarkScheme(palette);
        EXPECT_GE(badge, 3.0);
    }
}

TEST_F(StripViewTest, ArrowsClampAtBothEndsAndReturnPastesTheSelectedRow)
{
    setTexts(3);
    showActive(strip());
    key(Qt::Key_Up);
    EXPECT_EQ(strip().selectedIndex(), 0);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(strip().selectedIndex(), 2);
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    EXPECT_EQ(events, QStringList({"paste:clip 2@1"}));
    key(Qt::Key_Escape);
    EXPECT_EQ(events.last(), "dismiss");
}

TEST_F(StripViewTest, ReturnWithTheSelectionBeyondTheFilteredListPastesTheLastRow)
{
    QList<ClipEntry> items;
    for (int i = 1; i <= 10; ++i)
        items << makeClip(i % 3 == 0 ? QStringLiteral("keep %1").arg(i) : QStringLiteral("other %1").arg(i));
    monitor.setItems(items);
    showActive(strip());
    for (int i = 0; i < 7; ++i)
        key(Qt::Key_Down);
    ASSERT_EQ(strip().selectedIndex(), 7);

    strip().searchField()->setText(QStringLiteral("KEEP"));
    ASSERT_EQ(strip().filteredItems().size(), 3);
    EXPECT_EQ(strip().selectedIndex(), 7) << "a search does not reset the selection";
    key(Qt::Key_Return);
    EXPECT_EQ(events, QStringList({"paste:keep 9@7"}));

    // Up walks back into range one step at a time; Down clamps to the last row at once.
    key(Qt::Key_Down);
    EXPECT_EQ(strip().selectedIndex(), 2);
}

TEST_F(StripViewTest, AClickPastesAndThenSelectsWhileStickyDoesNeither)
{
    monitor.setItems({makeClip(QStringLiteral("first")), makeClip(QStringLiteral("  second\n")),
        makeClip(QStringLiteral("third"))});
    showActive(strip());
    ClipStripList* list = strip().list();

    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(2).center());
    EXPECT_EQ(events, QStringList({"paste:third@0"})) << "pasted before the selection moved";
    EXPECT_EQ(strip().selectedIndex(), 2);

    events.clear();
    hoverRow(1);
    EXPECT_EQ(strip().hoveredID(), monitor.items().at(1).id);
    const QRect sticky = list->stickyButtonRect(1);
    ASSERT_FALSE(sticky.isEmpty());
    QTest::mouseClick(list, Qt::LeftButton, {}, sticky.center());
    EXPECT_EQ(events, QStringList({"sticky:  second\n"})) << "the text as stored, untrimmed";
    EXPECT_EQ(strip().selectedIndex(), 2);
}

// A clip the monitor captures between press and release moves every row down one.
TEST_F(StripViewTest, AClipArrivingDuringAClickDoesNotChangeWhichClipIsActedOn)
{
    monitor.setItems({makeClip(QStringLiteral("first")), makeClip(QStringLiteral("second")),
        makeClip(QStringLiteral("third"))});
    showActive(strip());
    ClipStripList* list = strip().list();
    const QPoint row1 = list->itemRect(1).center();

    QTest::mousePress(list, Qt::LeftButton, {}, row1);
    pasteboard.setText(QStringLiteral("arrived"));
    monitor.poll();
    ASSERT_EQ(list->entries().at(1).text, "first") << "the rows moved under the pointer";
    QTest::mouseRelease(list, Qt::LeftButton, {}, row1);
    EXPECT_EQ(events, QStringList({"paste:second@0"}));
    EXPECT_EQ(strip().selectedIndex(), 2) << "the selection follows the clip pasted";

    events.clear();
    hoverRow(2);
    const QPoint sticky = list->stickyButtonRect(2).center();
    QTest::mousePress(list, Qt::LeftButton, {}, sticky);
    pasteboard.setText(QStringLiteral("another"));
    monitor.poll();
    QTest::mouseRelease(list, Qt::LeftButton, {}, sticky);
    EXPECT_EQ(events, QStringList({"sticky:second"}));

    events.clear();
    QTest::mousePress(list, Qt::LeftButton, {}, list->itemRect(0).center());
    monitor.removeEntry(monitor.items().at(0).id);
    QTest::mouseRelease(list, Qt::LeftButton, {}, list->itemRect(0).center());
    EXPECT_TRUE(events.isEmpty()) << "a clip gone before the release is not acted on";
}

TEST_F(StripViewTest, ImagesWithoutTextAndBlankTextsNeverOfferSticky)
{
    const QByteArray png = makePng({64, 48}, Qt::red, Qt::blue);
    monitor.setItems({makeClip({}, QStringLiteral("Paint"), 5, png), makeClip(QStringLiteral("   ")),
        makeClip(QStringLiteral("caption"), QStringLiteral("Paint"), 5, png)});
    showActive(strip());
    EXPECT_EQ(strip().filteredItems().at(0).displayTitle(), "Image");
    for (int index : {0, 1}) {
        hoverRow(index);
        EXPECT_TRUE(strip().list()->stickyButtonRect(index).isEmpty()) << index;
    }
    hoverRow(2);
    EXPECT_FALSE(strip().list()->stickyButtonRect(2).isEmpty());

    QTest::mouseMove(strip().list(), strip().list()->rect().bottomRight() + QPoint(0, 50));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(strip().list(), &leave);
    EXPECT_EQ(strip().hoveredID(), std::nullopt);
}

TEST_F(StripViewTest, SearchingImageFindsTextlessImagesAndSourcesAreSearchedToo)
{
    const QByteArray png = makePng({32, 32}, Qt::green, Qt::black);
    monitor.setItems({makeClip({}, QStringLiteral("Paint"), 5, png),
        makeClip(QStringLiteral("a photo"), QStringLiteral("Viewer"), 5, png),
        makeClip(QStringLiteral("notes"), QStringLiteral("Terminal"))});
    strip().searchField()->setText(QStringLiteral("IMAGE"));
    ASSERT_EQ(strip().filteredItems().size(), 1);
    EXPECT_FALSE(strip().filteredItems().at(0).hasImage() && !strip().filteredItems().at(0).text.isEmpty());

    strip().searchField()->setText(QStringLiteral("termin"));
    ASSERT_EQ(strip().filteredItems().size(), 1);
    EXPECT_EQ(strip().filteredItems().at(0).text, "notes");

    strip().searchField()->setText(QStringLiteral("  "));
    EXPECT_EQ(strip().filteredItems().size(), 3);

    strip().searchField()->setText(QStringLiteral(" nothing "));
    EXPECT_EQ(strip().noMatchText(), "No clips match “ nothing ”");
}

TEST_F(StripViewTest, FooterCountsTheWholeHistoryAndOpensTheWorkspaceBeforeDismissing)
{
    setTexts(1);
    EXPECT_EQ(strip().footerCountText(), "1 clip");
    setTexts(4);
    strip().searchField()->setText(QStringLiteral("clip 2"));
    EXPECT_EQ(strip().footerCountText(), "4 clips");

    strip().openMainButton()->click();
    EXPECT_EQ(events, QStringList({"openMain", "dismiss"}));
}

TEST_F(StripViewTest, ClearAllEmptiesTheHistoryButKeepsTheSearchText)
{
    setTexts(3);
    strip().searchField()->setText(QStringLiteral("clip"));
    strip().clearAllButton()->click();
    EXPECT_TRUE(monitor.items().isEmpty());
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(strip().content(), ClipboardStripView::Content::empty);

    setTexts(1);
    EXPECT_EQ(strip().searchField()->text(), "clip");
    EXPECT_EQ(strip().filteredItems().size(), 1);
}

TEST_F(StripViewTest, ImagesAreDecodedInTheBackgroundAndUndecodableOnesDrawNoThumbnail)
{
    const ClipEntry broken = makeClip({}, QStringLiteral("Paint"), 5, QByteArray("not a png"));
    const ClipEntry picture = makeClip({}, QStringLiteral("Paint"), 5, makePng({400, 300}, Qt::red, Qt::yellow));
    monitor.setItems({broken, picture});
    strip();
    ClipThumbnailCache& cache = ClipThumbnailCache::shared();
    EXPECT_TRUE(cache.isPending(picture.id)) << "nothing decoded on the way in";
    ASSERT_TRUE(waitUntil([&] { return cache.hasDecoded(picture.id) && cache.hasDecoded(broken.id); }, 20000));
    EXPECT_TRUE(cache.thumbnail(broken, 40, Qt::IgnoreAspectRatio, 2).isNull());
    EXPECT_FALSE(cache.isPending(broken.id));
    const QImage thumbnail = cache.thumbnail(picture, 40, Qt::IgnoreAspectRatio, 2);
    EXPECT_EQ(thumbnail.size(), QSize(80, 80));
    EXPECT_EQ(thumbnail.deviceIndependentSize(), QSizeF(40, 40));

    monitor.setItems({});
    EXPECT_FALSE(cache.hasDecoded(picture.id)) << "forgotten with its clip";
}

TEST_F(StripViewTest, AnImageRowShowsAPlaceholderUntilItsThumbnailArrivesThenRepaints)
{
    showActive(strip());
    ClipStripList* list = strip().list();
    const ClipEntry picture = makeClip({}, QStringLiteral("Paint"), 5, makePng({3000, 2000}, Qt::red, Qt::red));
    monitor.setItems({picture});
    // Inside the thumbnail square, clear of its rounded corner and of the ring drawn on the image.
    const QPoint probe = QPoint(list->itemRect(0).left() + 18, list->itemRect(0).center().y() - 12);
    const auto probed = [&] { return list->grab().toImage().pixelColor(probe); };

    ASSERT_TRUE(ClipThumbnailCache::shared().isPending(picture.id));
    const QImage before = list->grab().toImage();
    const QColor placeholder = before.pixelColor(probe);
    EXPECT_LT(placeholder.red() - placeholder.green(), 40) << "a neutral square, not the picture";
    EXPECT_NE(placeholder, before.pixelColor(list->itemRect(0).left() + 4, probe.y())) << "a square on the row";

    int paints = 0;
    PaintCounter counter(list, paints);
    ASSERT_TRUE(waitUntil([&] { return ClipThumbnailCache::shared().hasDecoded(picture.id) && paints > 0; }, 20000))
        << "the row repaints by itself when the thumbnail comes";
    const QColor drawn = probed();
    EXPECT_GT(drawn.red(), 200);
    EXPECT_LT(drawn.green(), 60);
}

TEST_F(StripViewTest, AClipDeletedOrAStripClosedWhileItsThumbnailIsMadeIsHarmless)
{
    const QByteArray big = makePng({3000, 2000}, Qt::blue, Qt::green);
    const ClipEntry first = makeClip({}, QStringLiteral("Paint"), 5, big);
    const ClipEntry second = makeClip(QStringLiteral("caption"), QStringLiteral("Paint"), 5, big);
    monitor.setItems({first, second});
    strip();
    monitor.setItems({second});
    m_strip.reset();
    ClipThumbnailCache& cache = ClipThumbnailCache::shared();
    ASSERT_TRUE(waitUntil([&] { return !cache.isPending(second.id); }, 20000));
    waitUntil([] { return false; }, 100);
    EXPECT_FALSE(cache.hasDecoded(first.id)) << "a forgotten clip does not come back";
    EXPECT_FALSE(cache.thumbnail(second, 40, Qt::IgnoreAspectRatio, 1).isNull());
    cache.update({});
}

TEST_F(StripViewTest, HeaderBadgeShowsTheHistoryHotKeyAndRereadsItWhenShown)
{
    EXPECT_EQ(strip().shortcutBadgeText(), "Shift+Super+V");

    NorvelleShortcutsProfile profile = NorvelleShortcutsProfile::defaults();
    profile.clipboardHistory = {.usesDefault = false, .modifierPreset = ShortcutModifierPreset::controlOptionCommand, .keyLetter = QStringLiteral("k")};
    saveShortcutsProfile(profile);
    strip().show();
    EXPECT_EQ(strip().shortcutBadgeText(), "Ctrl+Alt+Super+K");
}

} // namespace
} // namespace norvelle::test
