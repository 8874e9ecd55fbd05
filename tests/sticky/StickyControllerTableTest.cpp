#include "sticky/StickyControllerTable.h"
#include "platform/UserDefaults.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTrashOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/FakeAppDelegating.h"
#include "support/TestHome.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

// A delegate that keeps its sticky windows in a table, as the application's does.
class TableAppDelegate : public test::FakeAppDelegating {
public:
    StickyControllerTable table;

    bool hasStickyWindow(const QString& key) const override { return table.contains(key); }
    void closeStickyWindow(const QString& key) override { table.closeWindow(key); }
    void removeStickyWindow(const QString& key) override { table.remove(key); }
    void forgetStickyWindow(const QString& key) override { table.forget(key); }
};

class StickyControllerTableTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();
    TableAppDelegate app;
    StickyControllerTable& table = app.table;
    QRect area = QGuiApplication::primaryScreen()->availableGeometry();

    StickyControllerTableTest()
    {
        table.pointerPosition = [this] { return area.center(); };
    }

    std::shared_ptr<StickyNote> savedNote()
    {
        auto note = StickyNote::insert(context);
        note->setId(QUuid::createUuid());
        note->setVersion(1);
        EXPECT_FALSE(context.save().has_value());
        return note;
    }

    static QString keyOf(const std::shared_ptr<StickyNote>& note) { return note->objectID().uriString(); }
};

} // namespace

TEST_F(StickyControllerTableTest, OpensOneWindowPerNote)
{
    const auto note = savedNote();
    table.openSticky(*note);
    ASSERT_TRUE(table.contains(keyOf(note)));
    StickyWindowController* controller = table.controller(keyOf(note));
    EXPECT_EQ(controller->stickyID, keyOf(note));
    EXPECT_TRUE(controller->panel()->isVisible());
    EXPECT_TRUE(note->isWindowOpen());
    EXPECT_FALSE(context.hasChanges());

    table.openSticky(*note);
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(table.controller(keyOf(note)), controller);
    EXPECT_EQ(table.spawnIndex(), 1);
}

TEST_F(StickyControllerTableTest, NewWindowsCascadeNearThePointerAndSavedFramesAreKept)
{
    std::vector<QPoint> origins;
    for (int i = 0; i < 9; ++i) {
        const auto note = savedNote();
        table.openSticky(*note);
        origins.push_back(table.controller(keyOf(note))->panel()->pos());
    }
    EXPECT_EQ(table.spawnIndex(), 9);
    EXPECT_EQ(origins[1] - origins[0], QPoint(18, 18));
    EXPECT_EQ(origins[8], origins[0]);

    const auto remembered = savedNote();
    const QRect frame(area.x() + 12, area.y() + 14, 300, 320);
    UserDefaults::standard().set(StickyWindowController::frameKey(keyOf(remembered)), StickyFrameString::format(frame));
    table.openSticky(*remembered);
    EXPECT_EQ(table.controller(keyOf(remembered))->panel()->pos(), frame.topLeft());
    EXPECT_EQ(table.spawnIndex(), 9);
}

TEST_F(StickyControllerTableTest, AnOffScreenFrameComesBackOnScreenKeepingItsSize)
{
    const auto note = savedNote();
    const QRect away(area.right() + 4000, area.bottom() + 4000, 310, 330);
    UserDefaults::standard().set(StickyWindowController::frameKey(keyOf(note)), StickyFrameString::format(away));
    table.openSticky(*note);
    KeyablePanel* window = table.controller(keyOf(note))->panel();
    EXPECT_EQ(window->size(), QSize(310, 330));
    EXPECT_TRUE(area.contains(window->frameGeometry()));
    // It counts as a restored frame: the cascade of new windows does not move on.
    EXPECT_EQ(table.spawnIndex(), 0);
}

TEST_F(StickyControllerTableTest, OpeningANoteFromTheTrashRestoresItFirst)
{
    const auto note = savedNote();
    NoteTrashOperations::moveNoteToTrash(*note);
    const qint64 version = note->version();
    table.openSticky(*note);
    EXPECT_FALSE(note->deletedAt().isValid());
    EXPECT_EQ(note->version(), version + 1);
    EXPECT_EQ(note->updatedBy(), "local-device");
    EXPECT_TRUE(table.contains(keyOf(note)));
}

TEST_F(StickyControllerTableTest, ClosingAWindowTakesItsEntryOutAndOpeningAgainBuildsANewOne)
{
    const auto note = savedNote();
    table.openSticky(*note);
    QPointer<StickyWindowController> first = table.controller(keyOf(note));
    first->panel()->close();
    EXPECT_FALSE(table.contains(keyOf(note)));
    EXPECT_FALSE(note->isWindowOpen());
    EXPECT_TRUE(test::waitUntil([&] { return first.isNull(); }));

    table.openSticky(*note);
    EXPECT_TRUE(table.contains(keyOf(note)));
}

TEST_F(StickyControllerTableTest, TrashAndDeletionCloseTheWindowsThroughTheDelegate)
{
    const auto trashed = savedNote();
    const auto deleted = savedNote();
    table.openSticky(*trashed);
    table.openSticky(*deleted);

    NoteTrashOperations::moveNoteToTrash(*trashed);
    EXPECT_FALSE(table.contains(keyOf(trashed)));
    EXPECT_FALSE(trashed->isWindowOpen());

    StickyWindowController* controller = table.controller(keyOf(deleted));
    KeyablePanel* window = controller->panel();
    bool entryGoneWhenClosing = false;
    QObject::connect(controller, &WindowController::windowWillClose,
        [&] { entryGoneWhenClosing = !table.contains(keyOf(deleted)); });
    NoteTrashOperations::deleteNotePermanently(*deleted);
    EXPECT_TRUE(entryGoneWhenClosing);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(table.count(), 0);
}

TEST_F(StickyControllerTableTest, ANoteDeletedForGoodGetsNoWindow)
{
    const auto note = savedNote();
    NoteTrashOperations::deleteNotePermanently(*note);
    table.openSticky(*note);
    EXPECT_EQ(table.count(), 0);
}
