#include "store/NoteMigrationService.h"
#include "objectstore/ObjectContext.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QSignalSpy>

#include <sqlite3.h>

using namespace norvelle;

namespace {

class RecordingTracker : public AnalyticsTracking {
public:
    void track(const QString& event, const AnalyticsMetadata& metadata) override { events.append({event, metadata}); }
    QList<std::pair<QString, AnalyticsMetadata>> events;
};

const QDateTime created = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC);

// A note that needs nothing repaired.
std::shared_ptr<StickyNote> completeNote(ObjectContext& context, const QString& title)
{
    auto note = StickyNote::insert(context);
    note->setTitle(title);
    note->setCreatedAt(created);
    note->setUpdatedAt(created);
    note->setVersion(4);
    return note;
}

class NoteMigration : public testing::Test {
protected:
    void migrate() { NoteMigrationService(tracker).migrate(controller.viewContext()); }
    ObjectContext& context() { return controller.viewContext(); }
    QStringList updatedFields() const
    {
        QStringList counts;
        for (const auto& [event, metadata] : tracker.events) {
            EXPECT_EQ(event, "note_model_migrated");
            counts << metadata.value("updatedFields");
        }
        return counts;
    }

    PersistenceController controller;
    RecordingTracker tracker;
};

} // namespace

TEST_F(NoteMigration, AnEmptyStoreIsLeftAloneAndRecordsNothing)
{
    QSignalSpy saves(&context(), &ObjectContext::didSave);
    migrate();
    EXPECT_EQ(saves.count(), 0);
    EXPECT_TRUE(tracker.events.isEmpty());
}

TEST_F(NoteMigration, CompleteNotesAreNeitherWrittenNorSaved)
{
    completeNote(context(), "  padded title  ");
    completeNote(context(), "negative")->setVersion(-1);
    context().save();
    QSignalSpy saves(&context(), &ObjectContext::didSave);
    migrate();
    EXPECT_EQ(saves.count(), 0);
    EXPECT_TRUE(tracker.events.isEmpty());
    auto notes = context().fetch(StickyNote::fetchRequest());
    EXPECT_EQ(notes[0]->title(), "  padded title  ");
    EXPECT_EQ(notes[1]->version(), -1);
}

TEST_F(NoteMigration, ANoteMissingAllThreeFieldsIsRepairedSavedAndCountedThrice)
{
    auto note = StickyNote::insert(context());
    note->setCreatedAt(created);
    note->setPlainText("\n\n   Buy oat milk  \nand bread\n");
    note->setUpdatedBy("sync");
    note->setLastSyncedVersion(9);
    context().save();

    migrate();
    EXPECT_EQ(updatedFields(), QStringList {"3"});
    EXPECT_FALSE(context().hasChanges());
    PersistenceController reopened;
    auto stored = reopened.viewContext().fetch(StickyNote::fetchRequest()).at(0);
    EXPECT_EQ(stored->title(), "Buy oat milk");
    EXPECT_EQ(stored->updatedAt(), created);
    EXPECT_EQ(stored->version(), 1);
    // Repairs are not local changes.
    EXPECT_EQ(stored->updatedBy(), "sync");
    EXPECT_EQ(stored->lastSyncedVersion(), 9);
}

TEST_F(NoteMigration, TitlesComeFromTheFirstLineFeedPiece)
{
    EXPECT_EQ(NoteMigrationService::titleFromPlainText(QString()), "Untitled");
    EXPECT_EQ(NoteMigrationService::titleFromPlainText(""), "Untitled");
    EXPECT_EQ(NoteMigrationService::titleFromPlainText("\n\n\n"), "Untitled");
    EXPECT_EQ(NoteMigrationService::titleFromPlainText("one\ntwo"), "one");
    // Only the first piece counts, even when it trims to nothing.
    EXPECT_EQ(NoteMigrationService::titleFromPlainText("   \nwords"), "");
    // CR LF ends a line too.
    EXPECT_EQ(NoteMigrationService::titleFromPlainText("  first\r\nsecond\r\n "), "first");
    EXPECT_EQ(NoteMigrationService::titleFromPlainText("\r\nx\ny"), "x");
}

TEST_F(NoteMigration, EdgeCasesOfTheThreeRules)
{
    auto blankTitle = completeNote(context(), "   ");
    auto blankFirstLine = completeNote(context(), QString());
    blankFirstLine->setPlainText("  \t \nreal words");
    auto noDates = StickyNote::insert(context());
    noDates->setTitle("dates");
    noDates->setVersion(-1);
    context().save();

    const QDateTime before = QDateTime::currentDateTimeUtc();
    migrate();
    EXPECT_EQ(blankTitle->title(), "Untitled");
    EXPECT_EQ(blankFirstLine->title(), "");
    EXPECT_FALSE(blankFirstLine->title().isNull());
    EXPECT_GE(noDates->updatedAt(), before.addMSecs(-1));
    EXPECT_FALSE(noDates->createdAt().isValid());
    EXPECT_EQ(noDates->version(), -1);
    EXPECT_EQ(updatedFields(), QStringList {"3"});

    // The note whose first line is blank is repaired, and counted, again on every launch.
    migrate();
    EXPECT_EQ(updatedFields(), (QStringList {"3", "1"}));
}

TEST_F(NoteMigration, TwoNotesMissingOnlyATitleCountTwo)
{
    completeNote(context(), QString());
    completeNote(context(), "");
    context().save();
    migrate();
    EXPECT_EQ(updatedFields(), QStringList {"2"});
}

TEST_F(NoteMigration, AFailedSaveStillRecordsTheFullCountAndKeepsTheRepairsForTheNextSave)
{
    completeNote(context(), QString());
    StickyNote::insert(context())->setTitle("second");
    context().save();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TRIGGER refuse BEFORE UPDATE ON StickyNote BEGIN SELECT RAISE(ABORT, 'no'); END;",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);

    migrate();
    EXPECT_EQ(updatedFields(), QStringList {"3"});
    EXPECT_TRUE(context().hasChanges());
    EXPECT_EQ(context().registeredObjectCount(), 2) << "the unsaved repairs stay for the next save";

    ASSERT_EQ(sqlite3_exec(db, "DROP TRIGGER refuse", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_FALSE(context().save().has_value());
    PersistenceController reopened;
    EXPECT_EQ(reopened.viewContext().fetch(StickyNote::fetchRequest()).at(0)->title(), "Untitled");
}

TEST_F(NoteMigration, RowsWrittenByAnotherProgramWithNullsAndEmptyStrings)
{
    completeNote(context(), "seed");
    context().save();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                  "INSERT INTO StickyNote (_pk, title, plainText, version, createdAt, updatedAt, isPinned, opacity) "
                  "VALUES (100, '', '', NULL, NULL, NULL, NULL, NULL), (101, NULL, 'line', 0, 1700000000000, NULL, 1, 0.5);",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);

    migrate();
    EXPECT_EQ(updatedFields(), QStringList {"6"});
    auto request = StickyNote::fetchRequest();
    request.sortDescriptors = {{"title", true}};
    auto notes = context().fetch(request);
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[0]->title(), "Untitled");
    EXPECT_EQ(notes[0]->version(), 1);
    EXPECT_EQ(notes[1]->title(), "line");
    EXPECT_EQ(notes[1]->updatedAt(), created);
    EXPECT_TRUE(notes[1]->isPinned());
    // A note inserted after the foreign rows still gets an unused key.
    PersistenceController reopened;
    EXPECT_TRUE(StickyNote::insert(reopened.viewContext())->objectID().uriString().endsWith("/p102"));
}

TEST_F(NoteMigration, AmongManyCompleteNotesOnlyTheIncompleteAreRepairedAndNoNoteStaysInMemory)
{
    for (int i = 0; i < 300; ++i) {
        completeNote(context(), QStringLiteral("note %1").arg(i))->setPlainText(QString(1000, 'x'));
    }
    completeNote(context(), QString::fromUtf8("\u00a0\u3000\t"))->setPlainText("from a wide space\nrest");
    completeNote(context(), "no change time")->setUpdatedAt(QDateTime());
    completeNote(context(), "version zero")->setVersion(0);
    ASSERT_FALSE(context().save().has_value());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "UPDATE StickyNote SET version = NULL WHERE title = 'note 7'", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    EXPECT_EQ(context().registeredObjectCount(), 0);

    migrate();
    EXPECT_EQ(updatedFields(), QStringList {"4"});
    EXPECT_EQ(context().registeredObjectCount(), 0) << "the pass lets every note go";
    EXPECT_FALSE(context().hasChanges());

    PersistenceController reopened;
    auto request = StickyNote::fetchRequest();
    request.predicate = !Predicate::contains("title", "note ");
    QStringList repaired;
    for (const auto& note : reopened.viewContext().fetch(request)) {
        repaired << note->title();
        EXPECT_TRUE(note->updatedAt().isValid());
        EXPECT_EQ(note->version(), note->title() == "version zero" ? 1 : 4);
    }
    EXPECT_EQ(repaired, (QStringList {"from a wide space", "no change time", "version zero"}));
    auto seventh = StickyNote::fetchRequest();
    seventh.predicate = Predicate::equal("title", "note 7");
    EXPECT_EQ(reopened.viewContext().fetch(seventh).at(0)->version(), 1);
    EXPECT_TRUE(reopened.viewContext().fetch(StickyNote::fetchRequestIncomplete()).empty());
}
