#include "app/AppDelegateFixture.h"

#include "editor/RichTextEditor.h"
#include "platform/StatusItem.h"
#include "platform/UserDefaults.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTrashOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QPlainTextEdit>

using namespace norvelle;
using test::AppDelegateTest;

namespace {

class AppNotesTest : public AppDelegateTest {
protected:
    static ObjectContext& notes() { return PersistenceController::shared().viewContext(); }

    // The notes made since `before` was taken.
    static std::vector<std::shared_ptr<StickyNote>> newSince(const std::vector<std::shared_ptr<StickyNote>>& before)
    {
        std::vector<std::shared_ptr<StickyNote>> made;
        for (const auto& note : notes().fetch(StickyNote::fetchRequest())) {
            if (std::find(before.begin(), before.end(), note) == before.end()) {
                made.push_back(note);
            }
        }
        return made;
    }

    StickyWindowController* windowOf(const std::shared_ptr<StickyNote>& note)
    {
        return app().stickyControllers().controller(note->objectID().uriString());
    }
};

} // namespace

TEST_F(AppNotesTest, TheNewNoteHotKeyAndTheStickyTrayItemOpenABlankNote)
{
    app();
    const auto before = notes().fetch(StickyNote::fetchRequest());
    for (const auto& [identifier, action] : hotKeyManager.idToAction()) {
        if (action == NorvelleShortcutAction::newNote) {
            hotKeys.deliver(identifier);
        }
    }
    ASSERT_TRUE(test::waitUntil([&] { return newSince(before).size() == 1; }));
    app().stickyStatusItem()->click();
    const auto made = newSince(before);
    ASSERT_EQ(made.size(), 2);
    for (const auto& note : made) {
        EXPECT_EQ(note->title(), "Untitled");
        EXPECT_EQ(note->plainText(), "");
        EXPECT_TRUE(note->isWindowOpen());
        ASSERT_TRUE(windowOf(note));
        EXPECT_TRUE(windowOf(note)->panel()->isVisible());
    }
    EXPECT_FALSE(notes().hasChanges());
}

TEST_F(AppNotesTest, NotesMadeThroughTheDelegateReferenceCarryTheirText)
{
    app();
    const auto before = notes().fetch(StickyNote::fetchRequest());
    AppDelegating::current()->createNewSticky("https://example.org\nfrom the clipboard");
    const auto made = newSince(before);
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(made[0]->title(), "https://example.org");
    EXPECT_EQ(windowOf(made[0])->editor()->text(), "https://example.org\nfrom the clipboard");
    EXPECT_TRUE(AppDelegating::current()->hasStickyWindow(made[0]->objectID().uriString()));
}

TEST_F(AppNotesTest, OpeningAnOpenNoteBringsItsWindowForwardAndBuildsNoOther)
{
    app().createNewSticky("once");
    const auto note = notes().fetch(StickyNote::fetchRequestNewestFirst()).front();
    StickyWindowController* controller = windowOf(note);
    const qsizetype count = app().stickyControllers().count();
    controller->panel()->hide();

    app().openSticky(*note);
    EXPECT_EQ(app().stickyControllers().count(), count);
    EXPECT_EQ(windowOf(note), controller);
    EXPECT_TRUE(controller->panel()->isVisible());
}

TEST_F(AppNotesTest, TrashAndDeletionCloseWindowsThroughTheDelegate)
{
    app().createNewSticky("to trash");
    const auto trashed = notes().fetch(StickyNote::fetchRequestNewestFirst()).front();
    app().createNewSticky("to delete");
    const auto deleted = notes().fetch(StickyNote::fetchRequestNewestFirst()).front();
    ASSERT_NE(trashed, deleted);
    const QString trashedKey = trashed->objectID().uriString();
    const QString deletedKey = deleted->objectID().uriString();

    NoteTrashOperations::moveNoteToTrash(*trashed);
    EXPECT_FALSE(app().hasStickyWindow(trashedKey));
    EXPECT_FALSE(trashed->isWindowOpen());

    NoteTrashOperations::deleteNotePermanently(*deleted);
    EXPECT_FALSE(app().hasStickyWindow(deletedKey));
    EXPECT_EQ(notes().existingObject(deletedKey), nullptr);

    // Opening the trashed note again restores it and gives it a new window.
    app().openSticky(*trashed);
    EXPECT_FALSE(trashed->deletedAt().isValid());
    EXPECT_TRUE(app().hasStickyWindow(trashedKey));
}

TEST_F(AppNotesTest, QuittingKeepsOpenNotesSavedAndTheNextLaunchOpensNoSticky)
{
    app().createNewSticky(QStringLiteral("kept open"));
    const auto before = notes().fetch(StickyNote::fetchRequest());
    const auto note = before.back();
    ASSERT_TRUE(windowOf(note));

    app().applicationWillTerminate();
    EXPECT_EQ(app().stickyControllers().count(), 0);
    EXPECT_FALSE(note->hasChanges());

    launch();
    EXPECT_EQ(app().stickyControllers().count(), 0);
    EXPECT_FALSE(windowOf(note));
}
