#include "workspace/WorkspaceNoteIndex.h"

#include "WorkspaceNotesFixture.h"
#include "support/TestHome.h"
#include "workspace/NoteDisplayText.h"

#include <QSignalSpy>

using namespace norvelle;

namespace {

using WorkspaceNoteIndexTest = test::WorkspaceNotesFixture;

} // namespace

TEST_F(WorkspaceNoteIndexTest, TakesInChangesOnTheNextTurnOnce)
{
    auto note = add({.title = "before", .updatedMinute = 1});
    add({.title = "other", .updatedMinute = 2});
    QSignalSpy changed(&index(), &WorkspaceNoteIndex::notesChanged);
    note->setTitle("after");
    note->setUpdatedAt(at(3));
    note->setIsPinned(true);
    EXPECT_EQ(titles(index().notes()), QStringList({"other", "before"}));
    ASSERT_TRUE(test::waitUntil([&] { return changed.count() > 0; }));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(titles(index().notes()), QStringList({"after", "other"}));
    EXPECT_TRUE(index().notes().front()->isPinned);
    EXPECT_EQ(index().words(*index().notes().front()).searchTitle, "after");
}

TEST_F(WorkspaceNoteIndexTest, FollowsInsertsDeletionsAndRollbacks)
{
    auto kept = add({.title = "kept", .updatedMinute = 1});
    auto doomed = add({.title = "doomed", .updatedMinute = 2});
    index();
    add({.title = "inserted", .updatedMinute = 3});
    context().deleteObject(doomed);
    index().applyPendingChanges();
    EXPECT_EQ(titles(index().notes()), QStringList({"inserted", "kept"}));

    context().rollback();
    index().applyPendingChanges();
    EXPECT_EQ(titles(index().notes()), QStringList({"doomed", "kept"}));

    kept->setTitle("changed");
    context().save();
    index().applyPendingChanges();
    EXPECT_EQ(titles(index().notes()), QStringList({"doomed", "changed"}));
}

TEST_F(WorkspaceNoteIndexTest, EntriesCarryTheirListValues)
{
    auto note = add({.title = "  Groceries ", .plainText = QString::fromUtf8("groceries\nMILK and Cafe\u0301"), .updatedMinute = 1, .createdMinute = -1, .deletedMinute = 2, .workspaceId = " Ideas"});
    const QString identity = note->objectID().uriString();
    note.reset();
    add({.title = " ", .plainText = "  Named by its text \r\n\r\nmore", .updatedMinute = 0});
    const WorkspaceNoteEntry& entry = *index().notes().front();
    EXPECT_EQ(entry.identity(), identity);
    EXPECT_EQ(entry.displayTitle, "Groceries");
    EXPECT_FALSE(entry.words()) << "the text is read when first needed";
    EXPECT_EQ(index().words(entry).previewLine, QString::fromUtf8("MILK and Cafe\u0301"));
    EXPECT_EQ(entry.folderKey, "ideas");
    EXPECT_TRUE(entry.isTrashed);
    EXPECT_EQ(entry.createdAt, WorkspaceNoteEntry::distantPast);
    EXPECT_EQ(entry.words()->searchText, QString::fromUtf8("groceries\nmilk and café").toUtf8());

    const WorkspaceNoteEntry& untitled = *index().notes().back();
    EXPECT_EQ(untitled.displayTitle, "Named by its text") << "read from the text when the title is blank";
    index().loadAllWords();
    ASSERT_TRUE(untitled.words());
    EXPECT_EQ(untitled.words()->previewLine, "more");
}

TEST_F(WorkspaceNoteIndexTest, HoldsNoNoteAndSeesChangesMadeThroughAnotherHolder)
{
    for (int minute = 1; minute <= 3; ++minute) {
        add({.title = QStringLiteral("note %1").arg(minute), .plainText = "body", .updatedMinute = minute});
    }
    index();
    EXPECT_EQ(context().registeredObjectCount(), 0) << "the index keeps values, not notes";

    // As a sticky window would: hold the note, change it, save, let go.
    std::shared_ptr<StickyNote> held = index().note(*index().notes().back());
    ASSERT_TRUE(held);
    EXPECT_EQ(held->title(), "note 1");
    held->setTitle("edited in its window");
    held->setPlainText("edited in its window\nsecond line");
    held->setPaperColor("#FFE066");
    held->setUpdatedAt(at(9));
    context().save();
    held.reset();
    index().applyPendingChanges();
    const WorkspaceNoteEntry& entry = *index().notes().front();
    EXPECT_EQ(entry.displayTitle, "edited in its window");
    EXPECT_EQ(index().words(entry).previewLine, "second line");
    EXPECT_EQ(entry.paperColor, "#FFE066");
    EXPECT_EQ(context().registeredObjectCount(), 0);

    // An unsaved change of a held note is what a fresh index sees too.
    held = index().note(*index().notes().back());
    held->setTitle("unsaved");
    WorkspaceNoteIndex fresh(context());
    EXPECT_EQ(titles(fresh.notes()).count("unsaved"), 1);
    context().deleteObject(held);
    EXPECT_EQ(fresh.note(*fresh.notes().back()), nullptr) << "a deleted note is gone";
}

TEST_F(WorkspaceNoteIndexTest, APreviewReadFromTheStartOfTheStoredTextIsThatOfTheWholeText)
{
    const QString emoji = QString::fromUtf8("\U0001F600");
    const QString oneLine = QString("y").repeated(300000);
    const std::vector<std::pair<QString, QString>> notes {
        {"Far down", QString("\n").repeated(20000) + "  found at last  \nnot this"},
        {"Repeated", "Repeated\n" + QString(" \t\n").repeated(9000) + "second line\r\nthird"},
        {"Wide", "Wide\n" + QString::fromUtf8("éé") + emoji.repeated(5000)},
        {oneLine, oneLine},
        {"Nothing more", "Nothing more"},
    };
    for (const auto& [title, text] : notes) {
        add({.title = title, .plainText = text});
    }
    // A fresh context holds none of the texts: each is read from the store.
    for (const WorkspaceNoteEntry* entry : index().notes()) {
        ASSERT_FALSE(context().isRegistered(entry->id));
        const QString shown = index().previewLine(*entry);
        const auto note = index().note(*entry);
        EXPECT_EQ(shown, previewLine(note->title(), note->plainText())) << entry->displayTitle.left(20).toStdString();
    }
    EXPECT_EQ(index().previewLine(*index().notes()[0]), "found at last");
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
