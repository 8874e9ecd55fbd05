#include "store/NoteTrashOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/FakeAppDelegating.h"
#include "support/TestHome.h"

#include <QDateTime>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

class NoteTrashOperationsTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();

    std::shared_ptr<StickyNote> savedNote(const QString& title, qint64 version = 1)
    {
        auto note = StickyNote::insert(context);
        note->setId(QUuid::createUuid());
        note->setTitle(title);
        note->setVersion(version);
        note->setUpdatedBy("sync");
        note->setUpdatedAt(QDateTime::currentDateTimeUtc().addDays(-3));
        EXPECT_FALSE(context.save().has_value());
        return note;
    }

    static QString keyOf(const std::shared_ptr<StickyNote>& note) { return note->objectID().uriString(); }

    // The stored row, as a fresh context reads it.
    std::shared_ptr<StickyNote> stored(const std::shared_ptr<StickyNote>& note)
    {
        m_readers.push_back(std::make_unique<ObjectContext>(store.container()));
        return m_readers.back()->existingObject<StickyNote>(keyOf(note));
    }

    // Waits until the clock has moved past `time`, so that "the same time" cannot happen by chance.
    static void waitForClockPast(const QDateTime& time)
    {
        ASSERT_TRUE(test::waitUntil([&] { return QDateTime::currentDateTimeUtc() > time; }));
    }

private:
    std::vector<std::unique_ptr<ObjectContext>> m_readers;
};

} // namespace

TEST_F(NoteTrashOperationsTest, TrashingAndRestoringAreLocalChangesThatReachTheStore)
{
    const auto note = savedNote("Groceries", 4);
    const QDateTime before = QDateTime::currentDateTimeUtc();

    NoteTrashOperations::moveNoteToTrash(*note);
    EXPECT_FALSE(context.hasChanges());
    auto row = stored(note);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->version(), 5);
    EXPECT_EQ(row->updatedBy(), "local-device");
    EXPECT_GE(row->deletedAt(), before);
    EXPECT_GE(row->updatedAt(), row->deletedAt());

    // Trashing again raises the version again and moves the date on.
    const QDateTime firstTrashed = note->deletedAt();
    waitForClockPast(firstTrashed);
    NoteTrashOperations::moveNoteToTrash(*note);
    EXPECT_EQ(note->version(), 6);
    EXPECT_GT(note->deletedAt(), firstTrashed);

    waitForClockPast(note->deletedAt());
    const QDateTime beforeRestore = QDateTime::currentDateTimeUtc();
    NoteTrashOperations::restoreNoteFromTrash(*note);
    row = stored(note);
    EXPECT_FALSE(row->deletedAt().isValid());
    EXPECT_EQ(row->version(), 7);
    EXPECT_GE(row->updatedAt(), beforeRestore);

    // Restoring a note that is not in the Trash still counts as a change.
    NoteTrashOperations::restoreNoteFromTrash(*note);
    EXPECT_EQ(stored(note)->version(), 8);
    EXPECT_FALSE(note->isWindowOpen());
}

TEST_F(NoteTrashOperationsTest, ListOperationsShareOneTimeAndSaveOnce)
{
    const auto a = savedNote("a");
    const auto b = savedNote("b", 9);
    const auto c = savedNote("c");
    int saves = 0;
    QObject::connect(&context, &ObjectContext::didSave, [&saves] { ++saves; });

    NoteTrashOperations::moveNotesToTrash({a, b, c});
    EXPECT_EQ(saves, 1);
    for (const auto& note : {a, b, c}) {
        EXPECT_EQ(note->deletedAt(), a->deletedAt());
        EXPECT_EQ(note->updatedAt(), a->deletedAt());
        EXPECT_EQ(stored(note)->deletedAt(), a->deletedAt());
        EXPECT_EQ(note->updatedBy(), "local-device");
    }
    EXPECT_EQ(b->version(), 10);

    waitForClockPast(a->deletedAt());
    NoteTrashOperations::restoreNotesFromTrash({a, b, c});
    EXPECT_EQ(saves, 2);
    for (const auto& note : {a, b, c}) {
        EXPECT_FALSE(stored(note)->deletedAt().isValid());
        EXPECT_EQ(note->updatedAt(), a->updatedAt());
    }
    EXPECT_GT(a->updatedAt(), b->createdAt());
    EXPECT_EQ(b->version(), 11);
}

TEST_F(NoteTrashOperationsTest, EmptyListsAndNotesOutsideAStoreChangeNothing)
{
    const auto note = savedNote("kept");
    int saves = 0;
    QObject::connect(&context, &ObjectContext::didSave, [&saves] { ++saves; });
    test::FakeAppDelegating app;

    NoteTrashOperations::moveNotesToTrash({});
    NoteTrashOperations::restoreNotesFromTrash({});
    NoteTrashOperations::deleteNotesPermanently({});
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(app.calls.isEmpty());

    // A note deleted for good belongs to no context any more; nothing touches it again.
    NoteTrashOperations::deleteNotePermanently(*note);
    ASSERT_EQ(note->managedObjectContext(), nullptr);
    const qint64 version = note->version();
    app.calls.clear();
    NoteTrashOperations::moveNoteToTrash(*note);
    NoteTrashOperations::restoreNoteFromTrash(*note);
    NoteTrashOperations::deleteNotePermanently(*note);
    NoteTrashOperations::moveNotesToTrash({note});
    EXPECT_EQ(note->version(), version);
    EXPECT_FALSE(note->deletedAt().isValid());
    EXPECT_TRUE(app.calls.isEmpty());
}

TEST_F(NoteTrashOperationsTest, TrashingClosesTheWindowAndLeavesItsEntryToTheWindow)
{
    test::FakeAppDelegating app;
    const auto open = savedNote("open");
    const auto closed = savedNote("closed");
    app.openWindows = {keyOf(open)};

    NoteTrashOperations::moveNoteToTrash(*open);
    EXPECT_EQ(app.calls, QStringList({"closeStickyWindow:" + keyOf(open), "windowClosed:" + keyOf(open)}));
    EXPECT_TRUE(app.openWindows.contains(keyOf(open)));

    app.calls.clear();
    NoteTrashOperations::moveNotesToTrash({closed, open});
    EXPECT_EQ(app.calls, QStringList({"closeStickyWindow:" + keyOf(closed), "closeStickyWindow:" + keyOf(open), "windowClosed:" + keyOf(open)}));
}

TEST_F(NoteTrashOperationsTest, DeletingTakesTheEntryOutBeforeTheWindowClosesAndTheNoteGoes)
{
    test::FakeAppDelegating app;
    const auto first = savedNote("first");
    const auto second = savedNote("second");
    const auto third = savedNote("third");
    app.openWindows = {keyOf(first), keyOf(third)};
    QStringList stillStoredWhenRemoved;
    app.onRemove = [&](const QString& key) {
        EXPECT_FALSE(app.hasStickyWindow(key));
        if (context.existingObject(key)) {
            stillStoredWhenRemoved << key;
        }
    };

    NoteTrashOperations::deleteNotePermanently(*first);
    EXPECT_EQ(app.calls, QStringList({"removeStickyWindow:" + keyOf(first), "windowClosed:" + keyOf(first)}));
    EXPECT_EQ(stored(first), nullptr);

    NoteTrashOperations::deleteNotesPermanently({second, third});
    EXPECT_EQ(stored(second), nullptr);
    EXPECT_EQ(stored(third), nullptr);
    EXPECT_EQ(stillStoredWhenRemoved, QStringList({keyOf(first), keyOf(third)}));
    EXPECT_TRUE(app.openWindows.isEmpty());
}

TEST_F(NoteTrashOperationsTest, WithoutADelegateTheStoreStillChanges)
{
    ASSERT_EQ(AppDelegating::current(), nullptr);
    const auto trashed = savedNote("trashed");
    const auto deleted = savedNote("deleted");

    NoteTrashOperations::moveNotesToTrash({trashed});
    NoteTrashOperations::deleteNotesPermanently({deleted});
    EXPECT_TRUE(stored(trashed)->deletedAt().isValid());
    EXPECT_EQ(stored(deleted), nullptr);
}
