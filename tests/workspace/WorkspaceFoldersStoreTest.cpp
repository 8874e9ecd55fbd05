#include "workspace/WorkspaceFoldersStore.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/LogCapture.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QString slugOf(const QString& name)
{
    return WorkspaceFoldersStore::makeSlug(name.trimmed());
}

} // namespace

TEST(WorkspaceFoldersStore, SlugsKeepLettersMarksAndDigitsInLowerCase)
{
    EXPECT_EQ(slugOf("  Reading List  "), "reading-list");
    EXPECT_EQ(slugOf("Q3 / Planning"), "q3-planning");
    EXPECT_EQ(slugOf("snake_case name"), "snake-case-name");
    EXPECT_EQ(slugOf("Tab\tbed"), "tabbed");
    EXPECT_EQ(slugOf(QString::fromUtf8("Café Notes")), QString::fromUtf8("café-notes"));
    EXPECT_EQ(slugOf(QString::fromUtf8("\U0001F680 Launch")), "launch");
    EXPECT_EQ(slugOf(QString::fromUtf8("Ψ 2\u0301")), QString::fromUtf8("ψ-2\u0301"));
    EXPECT_EQ(slugOf("!!!"), "");
}

TEST(WorkspaceFoldersStore, RunsOfSeparatorsCollapseInExactlyTwoPasses)
{
    EXPECT_EQ(slugOf("a    b"), "a-b");
    EXPECT_EQ(slugOf("a     b"), "a--b");
    EXPECT_EQ(slugOf("a--b"), "a-b");
    EXPECT_EQ(slugOf("--a--"), "a");
}

TEST(WorkspaceFoldersStore, AddingGivesAFreeSlugAndKeepsTheNameAsTyped)
{
    WorkspaceFoldersStore store;
    QSignalSpy changed(&store, &WorkspaceFoldersStore::userFoldersChanged);
    EXPECT_EQ(store.addFolder("  Reading List \n"), "reading-list");
    EXPECT_EQ(store.addFolder("Work"), "work-2");
    EXPECT_EQ(store.addFolder("All"), "all-2");
    EXPECT_EQ(store.addFolder("!!!"), "folder");
    EXPECT_EQ(store.addFolder("???"), "folder-2");
    EXPECT_EQ(store.addFolder("Work"), "work-3");
    EXPECT_EQ(store.addFolder("   "), std::nullopt);
    EXPECT_EQ(changed.count(), 6);
    EXPECT_EQ(store.allFolderSlugs(), QStringList({"all", "inbox", "work", "personal", "ideas", "reading-list", "work-2", "all-2", "folder", "folder-2", "work-3"}));
    EXPECT_EQ(store.displayName("reading-list"), "Reading List");
    EXPECT_EQ(store.displayName("work-2"), "Work");
    EXPECT_EQ(store.displayName("folder"), "!!!");
}

TEST(WorkspaceFoldersStore, SuffixesAreBuiltFromTheBaseSlug)
{
    WorkspaceFoldersStore store;
    EXPECT_EQ(store.addFolder("Inbox 2"), "inbox-2");
    EXPECT_EQ(store.addFolder("Inbox"), "inbox-3");
}

TEST(WorkspaceFoldersStore, DisplayNamesOfBuiltInAndUnknownSlugs)
{
    WorkspaceFoldersStore store;
    EXPECT_EQ(store.allFolderSlugs(), QStringList({"all", "inbox", "work", "personal", "ideas"}));
    EXPECT_EQ(store.displayName("all"), "All folders");
    EXPECT_EQ(store.displayName("ideas"), "Ideas");
    EXPECT_EQ(store.displayName("my-old-folder"), "My Old Folder");
    EXPECT_EQ(store.displayName("WORK"), "Work");
}

TEST(WorkspaceFoldersStore, FoldersSurviveARestartInTheirStoredForm)
{
    WorkspaceFoldersStore().addFolder(QString::fromUtf8("Café"));
    const auto stored = UserDefaults::standard().data(storedSettings::workspaceUserFoldersKey);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, QString::fromUtf8(R"([{"displayName":"Café","slug":"café"}])").toUtf8());

    UserDefaults::resetStandard();
    WorkspaceFoldersStore reloaded;
    ASSERT_EQ(reloaded.userFolders().size(), 1);
    EXPECT_EQ(reloaded.userFolders().front(), (WorkspaceFoldersStore::UserFolder {QString::fromUtf8("café"), QString::fromUtf8("Café")}));
}

TEST(WorkspaceFoldersStore, MissingEmptyAndUnreadableListsLoadAsNoFolders)
{
    EXPECT_TRUE(WorkspaceFoldersStore().userFolders().isEmpty());
    UserDefaults::standard().set(storedSettings::workspaceUserFoldersKey, QByteArray("[]"));
    EXPECT_TRUE(WorkspaceFoldersStore().userFolders().isEmpty());
    for (const QVariant& unreadable : {QVariant(QByteArray("[{\"slug\":\"x\"}]")), QVariant(QByteArray("{")),
             QVariant(QString("[]"))}) {
        UserDefaults::standard().set(storedSettings::workspaceUserFoldersKey, unreadable);
        test::LogCapture log;
        EXPECT_TRUE(WorkspaceFoldersStore().userFolders().isEmpty());
        EXPECT_EQ(log.messages().size(), 1);
        // Loading leaves it alone.
        EXPECT_EQ(UserDefaults::standard().object(storedSettings::workspaceUserFoldersKey), unreadable);
    }
}

TEST(WorkspaceFoldersStore, AnUnreadableListIsKeptAsideBeforeTheFirstAdd)
{
    const QByteArray unreadable("[{\"slug\":\"old\",\"displayName\":7}]");
    UserDefaults::standard().set(storedSettings::workspaceUserFoldersKey, unreadable);
    WorkspaceFoldersStore store;
    store.addFolder("New");
    EXPECT_EQ(UserDefaults::standard().data(storedSettings::workspaceUserFoldersUnreadableKey), unreadable);
    EXPECT_EQ(WorkspaceFoldersStore().userFolders().size(), 1);
    // Only the unreadable value is kept, never a later readable one.
    store.addFolder("Newer");
    EXPECT_EQ(UserDefaults::standard().data(storedSettings::workspaceUserFoldersUnreadableKey), unreadable);
}

TEST(WorkspaceFoldersStore, FoldersNoAddCouldMakeAreLeftOutAndTheStoredListKeptAside)
{
    // Each would show as a second row of a folder already there, "All folders" highlighted twice.
    const QByteArray stored(R"([{"slug":"all","displayName":"Everything"},{"slug":"","displayName":"Blank"},)"
                            R"({"slug":"trips","displayName":"Trips"},{"slug":"inbox","displayName":"Mail"},)"
                            R"({"slug":"trips","displayName":"Trips again"},{"slug":" ","displayName":"Space"}])");
    UserDefaults::standard().set(storedSettings::workspaceUserFoldersKey, stored);
    WorkspaceFoldersStore store;
    EXPECT_EQ(store.allFolderSlugs(), QStringList({"all", "inbox", "work", "personal", "ideas", "trips"}));
    EXPECT_EQ(store.displayName("all"), "All folders");
    EXPECT_EQ(store.displayName("inbox"), "Inbox");
    EXPECT_EQ(store.displayName("trips"), "Trips");

    EXPECT_EQ(store.addFolder("Trips"), "trips-2");
    EXPECT_EQ(UserDefaults::standard().data(storedSettings::workspaceUserFoldersUnreadableKey), stored);
    EXPECT_EQ(WorkspaceFoldersStore().allFolderSlugs().size(), 7);
}
