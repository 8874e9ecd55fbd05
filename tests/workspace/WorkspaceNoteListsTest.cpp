#include "workspace/WorkspaceNoteLists.h"

#include "WorkspaceNotesFixture.h"
#include "workspace/WorkspaceSearch.h"

using namespace norvelle;

namespace {

class WorkspaceNoteListsTest : public test::WorkspaceNotesFixture {
protected:
    QStringList list(const WorkspaceListState& state)
    {
        index().loadAllWords();
        WorkspaceSearch search;
        return titles(WorkspaceNoteLists::workspaceNoteList(index().notes(), state, search));
    }
};

} // namespace

TEST_F(WorkspaceNoteListsTest, FetchOrderIsNewestChangeThenNewestCreation)
{
    add({.title = "old", .updatedMinute = 1, .createdMinute = 1});
    add({.title = "new", .updatedMinute = 5, .createdMinute = 2});
    add({.title = "tie-older", .updatedMinute = 3, .createdMinute = 1});
    add({.title = "tie-newer", .updatedMinute = 3, .createdMinute = 2});
    add({.title = "undated", .updatedMinute = -1, .createdMinute = -1});
    EXPECT_EQ(titles(index().notes()), QStringList({"new", "tie-newer", "tie-older", "old", "undated"}));
}

TEST_F(WorkspaceNoteListsTest, TrashIgnoresFolderAndSortAndShowsNewestDeletionFirst)
{
    add({.title = "b trashed first", .updatedMinute = 9, .deletedMinute = 1, .workspaceId = "work"});
    add({.title = "a trashed last", .updatedMinute = 2, .deletedMinute = 5});
    add({.title = "c never trashed", .updatedMinute = 5, .deletedMinute = -1});
    add({.title = "live", .updatedMinute = 3, .workspaceId = "work"});
    // Trashed at the same instant as "a", changed earlier: fetch order decides.
    add({.title = "d same time", .updatedMinute = 1, .deletedMinute = 5});
    WorkspaceListState state {.selection = MainSection::trash, .selectedFolderSlug = "work"};
    EXPECT_EQ(list(state), QStringList({"a trashed last", "d same time", "b trashed first"}));
    state.sortMode = WorkspaceSortMode::title;
    EXPECT_EQ(list(state), QStringList({"a trashed last", "d same time", "b trashed first"}));
    state.searchQuery = " TRASHED ";
    EXPECT_EQ(list(state), QStringList({"a trashed last", "b trashed first"}));
    EXPECT_EQ(WorkspaceNoteLists::trashCount(index().notes()), 3);
    EXPECT_EQ(titles(WorkspaceNoteLists::liveNotes(index().notes())), QStringList({"c never trashed", "live"}));
}

TEST_F(WorkspaceNoteListsTest, SectionsKeepArchivedNotesInAllAndRecent)
{
    add({.title = "archived", .updatedMinute = 3, .archived = true});
    add({.title = "pinned archived", .updatedMinute = 2, .pinned = true, .archived = true});
    add({.title = "plain", .updatedMinute = 1});
    EXPECT_EQ(list({.selection = MainSection::all}), QStringList({"archived", "pinned archived", "plain"}));
    EXPECT_EQ(list({.selection = MainSection::recent}), QStringList({"archived", "pinned archived", "plain"}));
    EXPECT_EQ(list({.selection = MainSection::pinned}), QStringList({"pinned archived"}));
    EXPECT_EQ(list({.selection = MainSection::archive}), QStringList({"archived", "pinned archived"}));
}

TEST_F(WorkspaceNoteListsTest, FolderKeyIsTrimmedLowerCaseAndBlankMeansInbox)
{
    add({.title = "work", .updatedMinute = 4, .workspaceId = " Work \n"});
    add({.title = "blank", .updatedMinute = 3, .workspaceId = "  "});
    add({.title = "missing", .updatedMinute = 2});
    add({.title = "pinned work", .updatedMinute = 1, .pinned = true, .workspaceId = "work"});
    EXPECT_EQ(list({.selectedFolderSlug = "work"}), QStringList({"work", "pinned work"}));
    EXPECT_EQ(list({.selectedFolderSlug = "WORK"}), QStringList({"work", "pinned work"}));
    EXPECT_EQ(list({.selectedFolderSlug = "inbox"}), QStringList({"blank", "missing"}));
    EXPECT_EQ(list({.selection = MainSection::pinned, .selectedFolderSlug = "work"}), QStringList({"pinned work"}));
    // Only the exact "all" means every folder.
    EXPECT_TRUE(list({.selectedFolderSlug = "All"}).isEmpty());
}

TEST_F(WorkspaceNoteListsTest, RecentIsTheTwentyNewestBeforeTheSearch)
{
    for (int i = 0; i < 25; ++i) {
        add({.title = QStringLiteral("note %1").arg(i), .plainText = i < 5 ? "old match" : "", .updatedMinute = i});
    }
    const QStringList recent = list({.selection = MainSection::recent});
    ASSERT_EQ(recent.size(), 20);
    EXPECT_EQ(recent.front(), "note 24");
    EXPECT_EQ(recent.back(), "note 5");
    EXPECT_TRUE(list({.selection = MainSection::recent, .searchQuery = "match"}).isEmpty());
    EXPECT_EQ(list({.selection = MainSection::all, .searchQuery = "match"}).size(), 5);
}

TEST_F(WorkspaceNoteListsTest, SearchIsTrimmedCaseInsensitiveAndCanonical)
{
    add({.title = "Weekly report", .updatedMinute = 3});
    add({.title = "Other", .plainText = "say REPEAT", .updatedMinute = 2});
    add({.title = "Neither", .plainText = "rap", .updatedMinute = 1});
    add({.title = QString::fromUtf8("Cafe\u0301"), .updatedMinute = 0});
    EXPECT_EQ(list({.searchQuery = "  ReP "}), QStringList({"Weekly report", "Other"}));
    // A composed é finds the decomposed one; an unaccented e does not.
    EXPECT_EQ(list({.searchQuery = QString::fromUtf8("CAFÉ")}), QStringList({QString::fromUtf8("Cafe\u0301")}));
    EXPECT_TRUE(list({.searchQuery = "cafe "}).isEmpty());
    EXPECT_EQ(list({.searchQuery = " \n"}).size(), 4);
}

TEST_F(WorkspaceNoteListsTest, ASearchTypedOnFindsWhatAFreshSearchFinds)
{
    add({.title = "Weekly report", .plainText = "numbers", .updatedMinute = 5, .pinned = true});
    add({.title = "Week plan", .plainText = "report later", .updatedMinute = 4});
    add({.title = "Cafe", .plainText = "cafe\u0301 au lait", .updatedMinute = 3});
    add({.title = QString::fromUtf8("Caf\u00E9"), .updatedMinute = 2, .pinned = true});
    add({.title = "Trashed report", .updatedMinute = 1, .deletedMinute = 1});
    index().loadAllWords();
    WorkspaceSearch typing;
    const auto typed = [&](const WorkspaceListState& state) {
        return titles(WorkspaceNoteLists::workspaceNoteList(index().notes(), state, typing));
    };
    // Typing on, backspacing, a query whose folded form no longer holds the last one (an
    // accent composing onto the e), and the section changing under the same query.
    const std::vector<WorkspaceListState> states {
        {.searchQuery = "w"},
        {.searchQuery = "we"},
        {.searchQuery = "weekly "},
        {.searchQuery = "weekly r"},
        {.searchQuery = "weekly"},
        {.searchQuery = "cafe"},
        {.searchQuery = QString::fromUtf8("cafe\u0301")},
        {.selection = MainSection::pinned, .searchQuery = QString::fromUtf8("cafe\u0301")},
        {.selection = MainSection::all, .searchQuery = QString::fromUtf8("cafe\u0301 ")},
        {.selection = MainSection::trash, .searchQuery = "rep"},
        {.selection = MainSection::trash, .searchQuery = "repo"},
        {.searchQuery = "repo"},
    };
    for (const WorkspaceListState& state : states) {
        EXPECT_EQ(typed(state), list(state)) << state.searchQuery.toStdString();
    }
    EXPECT_EQ(list({.searchQuery = QString::fromUtf8("cafe\u0301")}), QStringList({"Cafe", QString::fromUtf8("Caf\u00E9")}));
    EXPECT_EQ(list({.searchQuery = "weekly r"}), QStringList({"Weekly report"}));
}

TEST_F(WorkspaceNoteListsTest, ALongListSearchedInSlicesKeepsEveryMatchInOrder)
{
    QStringList expected;
    for (int i = 0; i < 5000; ++i) {
        const bool inTitle = i % 11 == 0;
        const bool inText = i % 7 == 0;
        const QString title = QStringLiteral("%1 %2").arg(i).arg(inTitle ? "Needle" : "hay");
        add({.title = title, .plainText = QString("hay ").repeated(i % 50) + (inText ? "NEEDLE" : "needl"), .updatedMinute = 5000 - i});
        if (inTitle || inText) {
            expected << title;
        }
    }
    EXPECT_EQ(list({.searchQuery = "needle"}), expected);
    WorkspaceSearch typing;
    for (const char* query : {"n", "ne", "nee", "needle", "needl"}) {
        WorkspaceSearch fresh;
        EXPECT_EQ(typing.matches(index().notes(), query), fresh.matches(index().notes(), query)) << query;
    }
}

TEST_F(WorkspaceNoteListsTest, DateSortsAreStableAndCountMissingDatesAsDistantPast)
{
    add({.title = "modified only by creation", .updatedMinute = -1, .createdMinute = 7});
    add({.title = "same a", .updatedMinute = 5, .createdMinute = 1});
    add({.title = "same b", .updatedMinute = 5, .createdMinute = 1});
    add({.title = "no dates", .updatedMinute = -1, .createdMinute = -1});
    add({.title = "newest", .updatedMinute = 6, .createdMinute = 0});
    // Fetch order puts a note without updatedAt last; the sort uses its creation instead.
    EXPECT_EQ(list({}), QStringList({"modified only by creation", "newest", "same a", "same b", "no dates"}));
    EXPECT_EQ(list({.sortMode = WorkspaceSortMode::dateCreated}),
        QStringList({"modified only by creation", "same a", "same b", "newest", "no dates"}));
}

TEST_F(WorkspaceNoteListsTest, TitleSortCollatesCaseInsensitivelyByDisplayTitle)
{
    add({.title = "zebra", .updatedMinute = 9});
    add({.title = "  ", .plainText = "apple\nzebra", .updatedMinute = 8});
    add({.title = "", .plainText = "\nbanana", .updatedMinute = 7});
    add({.title = "Banana", .updatedMinute = 6});
    add({.title = "banana", .updatedMinute = 5});
    add({.title = QString::fromUtf8("Éclair"), .updatedMinute = 4});
    add({.title = "Apple", .updatedMinute = 3});
    EXPECT_EQ(list({.sortMode = WorkspaceSortMode::title}),
        QStringList({"apple", "Apple", "Banana", "banana", QString::fromUtf8("Éclair"), "Empty note", "zebra"}));
}

TEST_F(WorkspaceNoteListsTest, PinnedStripIsTheFirstFourPinnedOnAllNotesOnly)
{
    for (int i = 0; i < 6; ++i) {
        add({.title = QStringLiteral("pinned %1").arg(i), .updatedMinute = 10 - i, .pinned = true});
    }
    add({.title = "plain", .updatedMinute = 20});
    WorkspaceSearch search;
    const auto listed = WorkspaceNoteLists::workspaceNoteList(index().notes(), {}, search);
    EXPECT_EQ(titles(WorkspaceNoteLists::pinnedStripNotes(listed, MainSection::all)),
        QStringList({"pinned 0", "pinned 1", "pinned 2", "pinned 3"}));
    EXPECT_TRUE(WorkspaceNoteLists::pinnedStripNotes(listed, MainSection::pinned).empty());
    auto byTitle = listed;
    WorkspaceNoteLists::sortNotes(byTitle, WorkspaceSortMode::title);
    std::reverse(byTitle.begin(), byTitle.end());
    EXPECT_EQ(titles(WorkspaceNoteLists::pinnedStripNotes(byTitle, MainSection::all)).front(), "pinned 5");
}

TEST_F(WorkspaceNoteListsTest, SelectedNotesAreTheListedOnesInListOrder)
{
    const auto first = add({.title = "first", .updatedMinute = 3});
    const auto second = add({.title = "second", .updatedMinute = 2});
    const auto trashed = add({.title = "trashed", .updatedMinute = 1, .deletedMinute = 1});
    WorkspaceSearch search;
    const auto listed = WorkspaceNoteLists::workspaceNoteList(index().notes(), {}, search);
    const QSet<QString> ids {second->objectID().uriString(), trashed->objectID().uriString(),
        first->objectID().uriString(), QStringLiteral("x-norvelle://gone")};
    EXPECT_EQ(titles(WorkspaceNoteLists::selectedNotes(listed, ids)), QStringList({"first", "second"}));
    EXPECT_TRUE(WorkspaceNoteLists::selectedNotes(listed, {}).empty());
}
