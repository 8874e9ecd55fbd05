#include "workspace/WorkspaceView.h"

#include "WorkspaceNotesFixture.h"
#include "account/ProfileAvatarStore.h"
#include "clipboard/ClipboardMonitor.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"
#include "ui/SchemePalette.h"
#include "workspace/NoteGridView.h"
#include "workspace/SidebarRow.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceSidebar.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace norvelle;

namespace {

class WorkspaceViewTest : public test::WorkspaceNotesFixture {
protected:
    WorkspaceView& view(bool loginItemEnabled = false)
    {
        if (!m_view) {
            context().save();
            m_view = std::make_unique<WorkspaceView>(
                context(), m_folders, [=] { return loginItemEnabled; }, [this] {
                ++m_registrations;
                return std::optional<QString>(); });
            m_view->resize(900, 600);
        }
        return *m_view;
    }

    // Shown and active, so that its keys reach it as typed keys do.
    WorkspaceView& activeView()
    {
        view().show();
        QApplication::setActiveWindow(m_view.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_view.get()));
        return *m_view;
    }

    void addNotes(int count, int deletedMinute = -1)
    {
        for (int i = 0; i < count; ++i) {
            add({.title = QStringLiteral("note %1").arg(i), .updatedMinute = i, .deletedMinute = deletedMinute});
        }
    }

    QSet<QString> identities(const WorkspaceView::NoteRefs& notes)
    {
        QSet<QString> ids;
        for (const WorkspaceNoteEntry* note : notes) {
            ids.insert(note->identity());
        }
        return ids;
    }

    WorkspaceFoldersStore m_folders;
    std::unique_ptr<WorkspaceView> m_view;
    int m_registrations = 0;
};

} // namespace

TEST_F(WorkspaceViewTest, AFreshWorkspaceStartsOnAllNotesInTheGridByModificationDate)
{
    WorkspaceView& workspace = view();
    EXPECT_EQ(workspace.selection(), MainSection::all);
    EXPECT_EQ(workspace.selectedFolderSlug(), "all");
    EXPECT_EQ(workspace.searchQuery(), "");
    EXPECT_TRUE(workspace.viewModeGrid());
    EXPECT_EQ(workspace.sortMode(), WorkspaceSortMode::dateModified);
    EXPECT_FALSE(workspace.isSelectingNotes());
    EXPECT_FALSE(workspace.showClipboardHistory());
    EXPECT_TRUE(workspace.showLaunchAtLoginBanner());
    EXPECT_EQ(workspace.appearanceRaw(), "system");
    // The folder for new notes follows the workspace from the start.
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::preferredNewNoteFolderSlug.key), "all");
}

TEST_F(WorkspaceViewTest, TheBannerStaysHiddenOnceDismissedOrWithLoginEnabled)
{
    EXPECT_FALSE(WorkspaceView::initialShowLaunchAtLoginBanner(true));
    EXPECT_TRUE(WorkspaceView::initialShowLaunchAtLoginBanner(false));
    UserDefaults::standard().set(storedSettings::launchAtLoginBannerDismissed.key, true);
    EXPECT_FALSE(WorkspaceView::initialShowLaunchAtLoginBanner(false));
}

TEST_F(WorkspaceViewTest, ChoosingAFolderStoresItForNewNotes)
{
    view().setSelectedFolderSlug("work");
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::preferredNewNoteFolderSlug.key), "work");
    view().setSelectedFolderSlug("all");
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::preferredNewNoteFolderSlug.key), "all");
}

TEST_F(WorkspaceViewTest, SwitchingSectionLeavesSelectionMode)
{
    addNotes(3);
    WorkspaceView& workspace = view();
    workspace.setSelection(MainSection::pinned);
    workspace.setSelectingNotes(true);
    workspace.setBulkSelectedIDs({"a", "b"});
    workspace.setSelection(MainSection::archive);
    EXPECT_FALSE(workspace.isSelectingNotes());
    EXPECT_TRUE(workspace.bulkSelectedIDs().isEmpty());
}

TEST_F(WorkspaceViewTest, AltASelectsEveryListedNoteAndTurnsSelectionOn)
{
    addNotes(12);
    WorkspaceView& workspace = activeView();
    workspace.setSelection(MainSection::trash);
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    EXPECT_FALSE(workspace.isSelectingNotes());
    EXPECT_TRUE(workspace.bulkSelectedIDs().isEmpty());

    workspace.setSelection(MainSection::all);
    workspace.setBulkSelectedIDs({"stale"});
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(workspace.isSelectingNotes());
    EXPECT_EQ(workspace.bulkSelectedIDs().size(), 12);
    EXPECT_EQ(workspace.bulkSelectedIDs(), identities(workspace.workspaceNoteList()));
}

TEST_F(WorkspaceViewTest, DeleteKeysPassOnUnlessSomethingIsSelected)
{
    addNotes(2);
    WorkspaceView& workspace = activeView();
    auto* field = new QLineEdit(&workspace);
    field->show();
    field->setFocus();
    // Outside selection mode the keys reach the focused view.
    field->setText("abc");
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "ab");
    EXPECT_FALSE(workspace.handleDeleteKey());
    workspace.setSelectingNotes(true);
    QTest::keyClick(&workspace, Qt::Key_Backspace);
    EXPECT_EQ(workspace.trashCount(), 0);
    EXPECT_FALSE(workspace.handleDeleteKey());
}

TEST_F(WorkspaceViewTest, DeleteKeyTrashesTheSelectedNotesAndEndsSelection)
{
    addNotes(3);
    WorkspaceView& workspace = activeView();
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    WorkspaceView::NoteRefs listed = workspace.workspaceNoteList();
    workspace.setBulkSelectedIDs({listed[0]->identity(), listed[2]->identity()});
    const qint64 version = workspace.index().note(*listed[0])->version();

    QTest::keyClick(&workspace, Qt::Key_Delete);
    EXPECT_FALSE(workspace.isSelectingNotes());
    EXPECT_TRUE(workspace.bulkSelectedIDs().isEmpty());
    ASSERT_TRUE(test::waitUntil([&] { return workspace.trashCount() == 2; }));
    EXPECT_EQ(workspace.workspaceNoteList().size(), 1u);
    const auto trashed = workspace.trashNotes();
    const std::shared_ptr<StickyNote> note = workspace.index().note(*trashed.front());
    EXPECT_EQ(note->version(), version + 1);
    EXPECT_EQ(note->updatedBy(), "local-device");
}

TEST_F(WorkspaceViewTest, DeleteOverTheClipboardHistoryLeavesTheSelectedNotesAlone)
{
    addNotes(3);
    WorkspaceView& workspace = activeView();
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    ASSERT_EQ(workspace.bulkSelectedIDs().size(), 3);
    // The clipboard entry swaps the notes, still selected, for the clips.
    QTest::mouseClick(workspace.sidebar()->clipboardRow(), Qt::LeftButton);
    ASSERT_TRUE(workspace.showClipboardHistory());
    QTest::keyClick(&workspace, Qt::Key_Delete);
    QTest::keyClick(&workspace, Qt::Key_Backspace);
    QCoreApplication::processEvents();
    EXPECT_EQ(workspace.trashCount(), 0);
    EXPECT_FALSE(workspace.confirmBulkPermanentDelete());

    // Back on the notes, the key deletes the selection again.
    QTest::mouseClick(workspace.sidebar()->sectionRow(MainSection::all), Qt::LeftButton);
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    QTest::keyClick(&workspace, Qt::Key_Delete);
    EXPECT_TRUE(test::waitUntil([&] { return workspace.trashCount() == 3; }));
}

TEST_F(WorkspaceViewTest, BackspaceInTheTrashAsksBeforeDeletingForGood)
{
    addNotes(2, 1);
    WorkspaceView& workspace = activeView();
    workspace.setSelection(MainSection::trash);
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    ASSERT_EQ(workspace.bulkSelectedIDs().size(), 2);
    QTest::keyClick(&workspace, Qt::Key_Backspace);
    EXPECT_TRUE(workspace.confirmBulkPermanentDelete());
    EXPECT_EQ(workspace.trashCount(), 2);
    EXPECT_TRUE(workspace.isSelectingNotes());
}

TEST_F(WorkspaceViewTest, TheSearchFieldGetsItsOwnBackspaceFirst)
{
    addNotes(2);
    WorkspaceView& workspace = activeView();
    auto* field = new QLineEdit(&workspace);
    field->show();
    field->setFocus();
    field->setText("note");
    QTest::keyClick(&workspace, Qt::Key_A, Qt::AltModifier);
    ASSERT_TRUE(workspace.isSelectingNotes());
    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "not");
    EXPECT_EQ(workspace.trashCount(), 0);
    EXPECT_TRUE(workspace.isSelectingNotes());
}

TEST_F(WorkspaceViewTest, AppearanceIsAppliedAsSoonAsItIsStored)
{
    WorkspaceView& workspace = view();
    UserDefaults::standard().set("norvelle.appearance", "dark");
    EXPECT_EQ(schemeOf(workspace.palette()), ColorScheme::dark);
    // The notes area is a deeper grey than the dark palette's window colour.
    const QImage dark = workspace.grab().toImage();
    EXPECT_EQ(dark.pixel(dark.width() - 40, dark.height() - 40), QColor::fromRgbF(0.11f, 0.11f, 0.12f).rgb());
    UserDefaults::standard().set("norvelle.appearance", "light");
    EXPECT_EQ(schemeOf(workspace.palette()), ColorScheme::light);
    UserDefaults::standard().set("norvelle.appearance", "sepia");
    EXPECT_EQ(workspace.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Window));
    EXPECT_EQ(workspace.appearanceRaw(), "sepia");
}

TEST_F(WorkspaceViewTest, NotificationsRaiseTheRefreshCounters)
{
    WorkspaceView& workspace = view();
    NotificationCenter::defaultCenter().post(ClipboardMonitor::historyChangedNotification);
    NotificationCenter::defaultCenter().post(ClipboardMonitor::historyChangedNotification);
    NotificationCenter::defaultCenter().post(ProfileAvatarStore::didChangeNotification);
    EXPECT_EQ(workspace.clipboardSidebarTick(), 2);
    EXPECT_EQ(workspace.profileAvatarRevision(), 1);
}

TEST_F(WorkspaceViewTest, ANoteChangedElsewhereShowsInTheOpenList)
{
    auto note = add({.title = "first", .updatedMinute = 1});
    WorkspaceView& workspace = view();
    auto* list = workspace.findChild<NoteGridView*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->count(), 1);
    add({.title = "from sync", .updatedMinute = 2});
    note->setTitle("renamed");
    context().save();
    ASSERT_TRUE(test::waitUntil([&] { return list->count() == 2; }));
    EXPECT_EQ(titles(workspace.workspaceNoteList()), QStringList({"from sync", "renamed"}));
}
