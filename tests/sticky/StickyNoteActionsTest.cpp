#include "sticky/StickyNoteActions.h"
#include "platform/UserDefaults.h"
#include "sticky/HeaderSymbolButton.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyControllerTable.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyMoreMenu.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/FakeAppDelegating.h"
#include "support/TestHome.h"
#include "ui/SchemePalette.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

// The delegate of a real table of windows, as the application has it.
class TableDelegate : public test::FakeAppDelegating {
public:
    StickyControllerTable table;
    void openSticky(StickyNote& note) override { table.openSticky(note); }
    bool hasStickyWindow(const QString& key) const override { return table.contains(key); }
    void closeStickyWindow(const QString& key) override { table.closeWindow(key); }
    void removeStickyWindow(const QString& key) override
    {
        calls << "removeStickyWindow:" + key;
        table.remove(key);
    }
    void forgetStickyWindow(const QString& key) override
    {
        calls << "forgetStickyWindow:" + key;
        table.forget(key);
    }
};

class StickyNoteActionsTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();
    TableDelegate app;

    std::shared_ptr<StickyNote> openNote(const QString& text)
    {
        auto note = StickyNote::insert(context);
        note->setId(QUuid::createUuid());
        note->setPlainText(text);
        note->setTitle(text.section('\n', 0, 0));
        note->setContent("{\\rtf1 " + text.toUtf8() + "}");
        note->setPaperColor("#F0FDF4");
        note->setTextureName("grid");
        note->setOpacity(0.5);
        note->setWorkspaceId("work");
        note->setShareToken("token");
        note->setIsPinned(true);
        note->setVersion(7);
        context.save();
        app.table.openSticky(*note);
        return note;
    }

    StickyWindowController* controllerOf(const std::shared_ptr<StickyNote>& note)
    {
        return app.table.controller(note->objectID().uriString());
    }

    // Answers the trash question the way a user would, by clicking one of its buttons.
    static void answerTrashQuestion(const QString& button)
    {
        QTimer::singleShot(50, [button] {
            auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(alert);
            EXPECT_EQ(alert->text(), "Move this note to Trash?");
            EXPECT_EQ(alert->informativeText(), "You can restore it anytime from Trash in the Norvelle workspace.");
            for (QAbstractButton* candidate : alert->buttons()) {
                if (candidate->text() == button) {
                    QTest::mouseClick(candidate, Qt::LeftButton);
                }
            }
        });
    }
};

} // namespace

TEST_F(StickyNoteActionsTest, TheEllipsisOpensTheMoreMenuWithTheNoteCommands)
{
    const auto note = openNote("menu");
    StickyMoreMenu menu(false, {});
    EXPECT_FALSE(menu.action("Move to Folder")->isEnabled());
    EXPECT_FALSE(menu.action("Open in Main App")->isEnabled());
    EXPECT_EQ(menu.action("Duplicate Note")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    EXPECT_TRUE(menu.action("Archive"));
    EXPECT_TRUE(menu.action("Move to Trash")->isEnabled());
    EXPECT_TRUE(StickyMoreMenu(true, {}).action("Unarchive"));

    // The ellipsis button opens it, in the scheme chosen in the settings.
    StickyWindowController* controller = controllerOf(note);
    for (const char* appearance : {"dark", "light"}) {
        UserDefaults::standard().set("norvelle.appearance", appearance);
        QTest::mouseClick(controller->contentView()->headerBar().moreButton(), Qt::LeftButton);
        StickyMoreMenu* shown = nullptr;
        ASSERT_TRUE(test::waitUntil([&] { return (shown = controller->panel()->findChild<StickyMoreMenu*>()) != nullptr; }));
        ASSERT_TRUE(test::waitUntil([&] { return shown->isVisible(); }));
        EXPECT_EQ(schemeOf(shown->palette()), QString(appearance) == "dark" ? ColorScheme::dark : ColorScheme::light);
        // Up from the top wraps to the last row, "Move to Trash", which shows it is the one Return takes.
        QTest::keyClick(shown, Qt::Key_Up);
        const QWidget* trash = shown->findChild<QWidget*>("destructiveItem");
        ASSERT_NE(trash, nullptr);
        const QImage row = shown->grab(trash->geometry()).toImage();
        EXPECT_EQ(row.pixelColor(2, row.height() / 2).rgb(), shown->palette().color(QPalette::Highlight).rgb()) << appearance;
        shown->close();
        ASSERT_TRUE(test::waitUntil([&] { return !controller->panel()->findChild<StickyMoreMenu*>(); }));
    }
}

TEST_F(StickyNoteActionsTest, ArchivingClosesTheWindowAndUnarchivingKeepsIt)
{
    const auto archived = openNote("old");
    archived->setIsArchived(true);
    StickyWindowController* keeper = controllerOf(archived);
    keeper->actions().toggleArchive();
    EXPECT_FALSE(archived->isArchived());
    EXPECT_EQ(archived->version(), 8);
    EXPECT_EQ(archived->updatedBy(), "local-device");
    EXPECT_TRUE(app.table.contains(archived->objectID().uriString()));

    const auto note = openNote("to archive");
    const QString key = note->objectID().uriString();
    controllerOf(note)->actions().toggleArchive();
    EXPECT_TRUE(note->isArchived());
    EXPECT_FALSE(note->isWindowOpen());
    EXPECT_FALSE(app.table.contains(key));
    // The entry went before the window's own close handling ran.
    EXPECT_EQ(app.calls.filter(key), QStringList({"removeStickyWindow:" + key, "forgetStickyWindow:" + key}));
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(StickyNoteActionsTest, DuplicateCopiesTheWordsAndPaperOnlyAndOpensTheCopy)
{
    const auto note = openNote("Recipe\nflour");
    note->setIsArchived(true);
    context.save();
    KeyablePanel* panel = controllerOf(note)->panel();
    QApplication::setActiveWindow(panel);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(app.table.count(), 2);
    const auto notes = context.fetch(StickyNote::fetchRequestNewestFirst());
    std::shared_ptr<StickyNote> copy;
    for (const auto& candidate : notes) {
        if (candidate->objectID() != note->objectID()) {
            copy = candidate;
        }
    }
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->id(), note->id());
    EXPECT_EQ(copy->plainText(), note->plainText());
    EXPECT_EQ(copy->content(), note->content());
    EXPECT_EQ(copy->title(), "Recipe");
    EXPECT_EQ(copy->paperColor(), "#F0FDF4");
    EXPECT_EQ(copy->version(), 1);
    EXPECT_EQ(copy->lastSyncedVersion(), 0);
    EXPECT_EQ(copy->updatedBy(), "local-device");
    EXPECT_FALSE(copy->isPinned());
    EXPECT_FALSE(copy->isArchived());
    EXPECT_TRUE(copy->textureName().isNull());
    EXPECT_EQ(copy->opacity(), 1.0);
    EXPECT_TRUE(copy->workspaceId().isNull());
    EXPECT_TRUE(copy->shareToken().isNull());
    EXPECT_TRUE(copy->isWindowOpen());
    EXPECT_TRUE(app.table.controller(copy->objectID().uriString())->panel()->isVisible());
    // The source is untouched.
    EXPECT_EQ(note->version(), 7);
}

TEST_F(StickyNoteActionsTest, TrashAsksFirstAndCancelChangesNothing)
{
    const auto note = openNote("keep me");
    answerTrashQuestion("Cancel");
    controllerOf(note)->actions().deleteNote();
    EXPECT_FALSE(note->deletedAt().isValid());
    EXPECT_EQ(note->version(), 7);
    EXPECT_TRUE(app.table.contains(note->objectID().uriString()));

    answerTrashQuestion("Move to Trash");
    controllerOf(note)->actions().deleteNote();
    EXPECT_TRUE(note->deletedAt().isValid());
    EXPECT_GT(note->version(), 7);
    EXPECT_FALSE(note->isWindowOpen());
    EXPECT_FALSE(app.table.contains(note->objectID().uriString()));
}
