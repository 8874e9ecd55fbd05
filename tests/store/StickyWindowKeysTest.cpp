#include "store/StickyWindowKeys.h"
#include "objectstore/ObjectContext.h"
#include "objectstore/ObjectID.h"
#include "platform/UserDefaults.h"
#include "store/NoteTrashOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

void giveWindowSettings(const QString& noteKey)
{
    UserDefaults::standard().set(StickyWindowKeys::frame(noteKey), QStringLiteral("{{1, 2}, {300, 280}}"));
    UserDefaults::standard().set(StickyWindowKeys::followTheme(noteKey), true);
}

bool hasWindowSettings(const QString& noteKey)
{
    return UserDefaults::standard().contains(StickyWindowKeys::frame(noteKey))
        || UserDefaults::standard().contains(StickyWindowKeys::followTheme(noteKey));
}

} // namespace

TEST(StickyWindowKeys, ANoteDeletedForGoodTakesItsWindowSettingsWithIt)
{
    PersistenceController store;
    ObjectContext& context = store.viewContext();
    std::vector<std::shared_ptr<StickyNote>> notes;
    for (int i = 0; i < 4; ++i) {
        notes.push_back(StickyNote::insert(context));
    }
    ASSERT_FALSE(context.save());
    for (const auto& note : notes) {
        giveWindowSettings(note->objectID().uriString());
    }
    const QString kept = notes[0]->objectID().uriString();
    const QString one = notes[1]->objectID().uriString();

    NoteTrashOperations::moveNoteToTrash(*notes[1]);
    EXPECT_TRUE(hasWindowSettings(one));
    NoteTrashOperations::deleteNotePermanently(*notes[1]);
    EXPECT_FALSE(hasWindowSettings(one));
    NoteTrashOperations::deleteNotesPermanently({notes[2], notes[3]});
    EXPECT_FALSE(hasWindowSettings(notes[2]->objectID().uriString()));
    EXPECT_FALSE(hasWindowSettings(notes[3]->objectID().uriString()));
    EXPECT_TRUE(hasWindowSettings(kept));
}

TEST(StickyWindowKeys, TheLaunchDropsTheSettingsOfNotesTheStoreNoLongerHas)
{
    QString kept;
    QString deletedElsewhere;
    QString otherStoresNote;
    {
        PersistenceController store;
        auto note = StickyNote::insert(store.viewContext());
        auto gone = StickyNote::insert(store.viewContext());
        ASSERT_FALSE(store.viewContext().save());
        kept = note->objectID().uriString();
        deletedElsewhere = gone->objectID().uriString();
        store.viewContext().deleteObject(gone);
        ASSERT_FALSE(store.viewContext().save());
        otherStoresNote = ObjectID(QUuid::createUuid(), StickyNote::entity().name, note->objectID().rowID()).uriString();
    }
    for (const QString& key : {kept, deletedElsewhere, otherStoresNote, QStringLiteral("not a note's key")}) {
        giveWindowSettings(key);
    }
    UserDefaults::standard().set(QStringLiteral("norvelle.sticky.unrelated"), 1);

    PersistenceController store;
    StickyWindowKeys::dropThoseOfMissingNotes(store.container());
    EXPECT_TRUE(hasWindowSettings(kept));
    EXPECT_FALSE(hasWindowSettings(deletedElsewhere));
    EXPECT_FALSE(hasWindowSettings(otherStoresNote));
    EXPECT_FALSE(hasWindowSettings(QStringLiteral("not a note's key")));
    EXPECT_TRUE(UserDefaults::standard().contains(QStringLiteral("norvelle.sticky.unrelated")));

    // The removals reach the file.
    UserDefaults::standard().synchronize();
    UserDefaults reread(UserDefaults::standard().filePath());
    EXPECT_TRUE(reread.contains(StickyWindowKeys::frame(kept)));
    EXPECT_FALSE(reread.contains(StickyWindowKeys::frame(deletedElsewhere)));
}
