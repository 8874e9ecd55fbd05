#include "workspace/WorkspaceNoteIndex.h"

#include "WorkspaceNotesFixture.h"
#include "support/TestHome.h"

#include <QSignalSpy>

using namespace norvelle;

namespace {

using WorkspaceNoteIndexTest = test::WorkspaceNotesFixture;

} // namespace

TEST_F(WorkspaceNoteIndexTest, TakesInChangesOnTheNextTurnOnce)
{
    auto note = add({ .title = "before", .updatedMinute = 1 });
    add({ .title = "other", .updatedMinute = 2 });
    QSignalSpy changed(&index(), &WorkspaceNoteIndex::notesChanged);
    note->setTitle("after");
    note->setUpdatedAt(at(3));
    note->setIsPinned(true);
    EXPECT_EQ(titles(index().notes()), QStringList({ "other", "before" }));
    ASSERT_TRUE(test::waitUntil([&] { return changed.count() > 0; }));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(titles(index().notes()), QStringList({ "after", "other" }));
    EXPECT_TRUE(index().notes().front()->isPinned);
    EXPECT_EQ(index().notes().front()->searchTitle, "after");
}

TEST_F(WorkspaceNoteIndexTest, FollowsInsertsDeletionsAndRollbacks)
{
    auto kept = add({ .title = "kept", .updatedMinute = 1 });
    auto doomed = add({ .title = "doomed", .updatedMinute = 2 });
    index();
    add({ .title = "inserted", .updatedMinute = 3 });
    context().deleteObject(doomed);
    index().applyPendingChanges();
    EXPECT_EQ(titles(index().notes()), QStringList({ "inserted", "kept" }));

    context().rollback();
    index().applyPendingChanges();
    EXPECT_EQ(titles(index().notes()), QStringList({ "doomed", "kept" }));

    kept->setTitle("changed");
    context().save();
    index().applyPendingChanges();
    EXPECT_EQ(titles(index().notes()), QStringList({ "doomed", "changed" }));
}

TEST_F(WorkspaceNoteIndexTest, EntriesCarryTheirListValues)
{
    auto note = add({ .title = "  Groceries ", .plainText = QString::fromUtf8("groceries\nMILK and Cafe\u0301"),
                      .updatedMinute = 1, .createdMinute = -1, .deletedMinute = 2, .workspaceId = " Ideas" });
    const WorkspaceNoteEntry& entry = *index().notes().front();
    EXPECT_EQ(entry.identity, note->objectID().uriString());
    EXPECT_EQ(entry.displayTitle, "Groceries");
    EXPECT_EQ(entry.previewLine(), QString::fromUtf8("MILK and Cafe\u0301"));
    EXPECT_EQ(entry.folderKey, "ideas");
    EXPECT_TRUE(entry.isTrashed);
    EXPECT_EQ(entry.createdAt, WorkspaceNoteEntry::distantPast);
    EXPECT_EQ(entry.searchText, QString::fromUtf8("groceries\nmilk and café").toUtf8());
}

TEST(WorkspaceNoteEntry, SearchFormIsLowerCaseNfcInUtf8)
{
    EXPECT_EQ(WorkspaceNoteEntry::searchForm("Weekly REPORT"), "weekly report");
    EXPECT_EQ(WorkspaceNoteEntry::searchForm(QString::fromUtf8("CAFÉ Ÿ")), QString::fromUtf8("café ÿ").toUtf8());
    EXPECT_EQ(WorkspaceNoteEntry::searchForm(QString::fromUtf8("Cafe\u0301")), QString::fromUtf8("café").toUtf8());
    EXPECT_EQ(WorkspaceNoteEntry::searchForm(QString::fromUtf8("ΑΒΓ \U0001F600")), QString::fromUtf8("αβγ \U0001F600").toUtf8());
    EXPECT_EQ(WorkspaceNoteEntry::searchForm(QString::fromUtf8("\u0130")), QString::fromUtf8("i\u0307").toUtf8());
    EXPECT_EQ(WorkspaceNoteEntry::searchForm(QString()), "");
}
