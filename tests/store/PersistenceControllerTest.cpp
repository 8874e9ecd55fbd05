#include "store/PersistenceController.h"
#include "objectstore/ObjectContext.h"
#include "store/ClipItem.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace norvelle;

namespace {

QString storeDir()
{
    return PersistenceController::storeDirectory();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString saveOneNote(const QString& title)
{
    PersistenceController controller;
    auto note = StickyNote::insert(controller.viewContext());
    note->setTitle(title);
    controller.save();
    return note->objectID().uriString();
}

int noteCount(PersistenceController& controller)
{
    return controller.viewContext().count(StickyNote::fetchRequest());
}

} // namespace

TEST(PersistenceController, EveryAttributeSurvivesAReopen)
{
    const QUuid id = QUuid::createUuid();
    const QDateTime created = QDateTime::fromMSecsSinceEpoch(1765256400123, Qt::UTC);
    const QByteArray rich("{\\rtf1\\ansi \x00\xff bytes}", 22);
    QString key;
    {
        PersistenceController controller;
        auto note = StickyNote::insert(controller.viewContext());
        note->setId(id);
        note->setCreatedAt(created);
        note->setTitle("Groceries ✓");
        note->setPaperColor("#FDFDF8");
        note->setTextureName("lined");
        note->setContent(rich);
        note->setPlainText("milk\neggs");
        note->setUpdatedAt(created.addMSecs(1));
        note->setVersion(std::numeric_limits<qint64>::max());
        note->setLastSyncedVersion(-7);
        note->setUpdatedBy("local-device");
        note->setOwnerId("user-1");
        note->setWorkspaceId("work");
        note->setPermissions("Private");
        note->setShareToken("tok");
        note->setSharePreviewURL("https://example.org/share/tok");
        note->setIsPinned(true);
        note->setIsArchived(true);
        note->setIsWindowOpen(true);
        note->setDeletedAt(created.addSecs(60));
        note->setOpacity(0.85);
        auto clip = ClipItem::insert(controller.viewContext());
        clip->setContent("copied");
        clip->setSourceApp("xterm");
        key = note->objectID().uriString();
        EXPECT_FALSE(controller.viewContext().save().has_value());
    }
    PersistenceController controller;
    auto notes = controller.viewContext().fetch(StickyNote::fetchRequest());
    ASSERT_EQ(notes.size(), 1u);
    const auto& note = notes.front();
    EXPECT_EQ(note->objectID().uriString(), key);
    EXPECT_EQ(note->id(), id);
    EXPECT_EQ(note->createdAt().toMSecsSinceEpoch(), created.toMSecsSinceEpoch());
    EXPECT_EQ(note->title(), "Groceries ✓");
    EXPECT_EQ(note->paperColor(), "#FDFDF8");
    EXPECT_EQ(note->textureName(), "lined");
    EXPECT_EQ(note->content(), rich);
    EXPECT_EQ(note->plainText(), "milk\neggs");
    EXPECT_EQ(note->updatedAt().toMSecsSinceEpoch(), created.toMSecsSinceEpoch() + 1);
    EXPECT_EQ(note->version(), std::numeric_limits<qint64>::max());
    EXPECT_EQ(note->lastSyncedVersion(), -7);
    EXPECT_EQ(note->updatedBy(), "local-device");
    EXPECT_EQ(note->ownerId(), "user-1");
    EXPECT_EQ(note->workspaceId(), "work");
    EXPECT_EQ(note->permissions(), "Private");
    EXPECT_EQ(note->shareToken(), "tok");
    EXPECT_EQ(note->sharePreviewURL(), "https://example.org/share/tok");
    EXPECT_TRUE(note->isPinned());
    EXPECT_TRUE(note->isArchived());
    EXPECT_TRUE(note->isWindowOpen());
    EXPECT_EQ(note->deletedAt(), created.addSecs(60));
    EXPECT_DOUBLE_EQ(note->opacity(), 0.85);
    auto clips = controller.viewContext().fetch(ClipItem::fetchRequest());
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips.front()->content(), "copied");
    EXPECT_EQ(clips.front()->sourceApp(), "xterm");
}

TEST(PersistenceController, ANewNoteReadsBackWithItsDefaultsAndAbsentValues)
{
    {
        PersistenceController controller;
        StickyNote::insert(controller.viewContext());
        controller.save();
    }
    PersistenceController controller;
    auto note = controller.viewContext().fetch(StickyNote::fetchRequest()).at(0);
    EXPECT_FALSE(note->id().has_value());
    EXPECT_FALSE(note->createdAt().isValid());
    EXPECT_FALSE(note->deletedAt().isValid());
    EXPECT_TRUE(note->title().isNull());
    EXPECT_TRUE(note->content().isEmpty());
    EXPECT_EQ(note->version(), 0);
    EXPECT_FALSE(note->isPinned());
    EXPECT_DOUBLE_EQ(note->opacity(), 1.0);
}

TEST(PersistenceController, AFirstLaunchCreatesTheStoreInWalModeWithoutSettingAnythingAside)
{
    PersistenceController controller;
    EXPECT_TRUE(controller.filesSetAside().isEmpty());
    EXPECT_EQ(PersistenceController::storePath(), test::TestHomeListener::home() + "/data/Norvelle/Norvelle.sqlite");
    EXPECT_TRUE(QFileInfo::exists(PersistenceController::storePath()));
    EXPECT_TRUE(QFileInfo::exists(PersistenceController::storePath() + "-wal"));
    EXPECT_TRUE(QFileInfo::exists(PersistenceController::storePath() + "-shm"));
    EXPECT_EQ(noteCount(controller), 0);
}

TEST(PersistenceController, KeysStayTheSameAcrossReopensAndAreNeverReused)
{
    const QString first = saveOneNote("one");
    const QString second = saveOneNote("two");
    EXPECT_NE(first, second);
    EXPECT_TRUE(first.startsWith("x-norvelle://"));
    EXPECT_TRUE(first.endsWith("/StickyNote/p1"));
    {
        PersistenceController controller;
        auto note = controller.viewContext().existingObject<StickyNote>(second);
        ASSERT_TRUE(note);
        EXPECT_EQ(note->title(), "two");
        EXPECT_EQ(note->objectID().uriRepresentation().toString(), second);
        controller.viewContext().deleteObject(note);
        controller.save();
    }
    const QString third = saveOneNote("three");
    EXPECT_NE(third, second);
    EXPECT_TRUE(third.endsWith("/StickyNote/p3"));
    PersistenceController controller;
    EXPECT_FALSE(controller.viewContext().existingObject(second));
    EXPECT_EQ(controller.viewContext().existingObject<StickyNote>(first)->title(), "one");
}

TEST(PersistenceController, TheWorkspaceOrderIsNewestChangeFirstThenNewestCreation)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC);
    {
        PersistenceController controller;
        const std::vector<std::tuple<QString, QDateTime, QDateTime>> notes {
            {"old", t, t},
            {"tie-older", t.addSecs(5), t},
            {"tie-newer", t.addSecs(5), t.addSecs(1)},
            {"newest", t.addSecs(9), t},
            {"no change time", QDateTime(), t.addSecs(99)},
        };
        for (const auto& [title, updated, created] : notes) {
            auto note = StickyNote::insert(controller.viewContext());
            note->setTitle(title);
            note->setUpdatedAt(updated);
            note->setCreatedAt(created);
        }
        // Unsaved, the context sorts; saved, the store does. Both agree.
        auto unsaved = controller.viewContext().fetch(StickyNote::fetchRequestNewestFirst());
        QStringList titles;
        for (const auto& note : unsaved) {
            titles << note->title();
        }
        EXPECT_EQ(titles, (QStringList {"newest", "tie-newer", "tie-older", "old", "no change time"}));
        controller.save();
    }
    PersistenceController controller;
    QStringList titles;
    for (const auto& note : controller.viewContext().fetch(StickyNote::fetchRequestNewestFirst())) {
        titles << note->title();
    }
    EXPECT_EQ(titles, (QStringList {"newest", "tie-newer", "tie-older", "old", "no change time"}));
}

TEST(PersistenceController, SaveWithoutChangesLeavesTheFilesUntouched)
{
    saveOneNote("kept");
    PersistenceController controller;
    const QString path = PersistenceController::storePath();
    controller.viewContext().fetch(StickyNote::fetchRequest());
    const auto stamp = [&](const QString& file) {
        const QFileInfo info(file);
        return std::make_pair(info.size(), info.lastModified().toMSecsSinceEpoch());
    };
    const auto before = std::make_pair(stamp(path), stamp(path + "-wal"));
    EXPECT_FALSE(controller.viewContext().hasChanges());
    controller.save();
    EXPECT_FALSE(controller.viewContext().save().has_value());
    EXPECT_EQ(std::make_pair(stamp(path), stamp(path + "-wal")), before);
}

TEST(PersistenceController, AnInMemoryControllerNeverTouchesTheDisk)
{
    const QString home = test::TestHomeListener::home();
    const QStringList before = QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    {
        PersistenceController controller(true);
        EXPECT_TRUE(controller.container().isInMemory());
        auto note = StickyNote::insert(controller.viewContext());
        note->setTitle("ephemeral");
        controller.save();
        EXPECT_EQ(noteCount(controller), 1);
    }
    EXPECT_EQ(QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    PersistenceController again(true);
    EXPECT_EQ(noteCount(again), 0);
}

class UnloadableStore : public testing::TestWithParam<const char*> { };

TEST_P(UnloadableStore, IsSetAsideWithItsCompanionsAndAnEmptyStoreLoads)
{
    const QString path = PersistenceController::storePath();
    const QString kind = GetParam();
    QByteArray original;
    if (kind == "garbage") {
        original = QByteArray(8192, '\x5a');
        writeFile(path, original);
    } else if (kind == "truncated") {
        {
            PersistenceController filled;
            for (int i = 0; i < 200; ++i) {
                StickyNote::insert(filled.viewContext())->setPlainText(QString(2000, QChar('a' + i % 26)));
            }
            filled.save();
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        original = file.readAll().left(file.size() / 3);
        file.resize(original.size());
        QFile::remove(path + "-wal");
        QFile::remove(path + "-shm");
    } else if (kind == "directory") {
        ASSERT_TRUE(QDir().mkpath(path + "/inside"));
    } else if (kind == "pipe") {
        QDir().mkpath(storeDir());
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "foreign" || kind == "foreign, no table named as ours") {
        // Another program's database, in the rollback journal mode SQLite starts in.
        const char* tables = kind == "foreign" ? "CREATE TABLE StickyNote (title TEXT); INSERT INTO StickyNote VALUES ('theirs');"
                                               : "CREATE TABLE recipes (name TEXT); INSERT INTO recipes VALUES ('bread');";
        sqlite3* db = nullptr;
        QDir().mkpath(storeDir());
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, tables, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        original = file.readAll();
    } else if (kind == "incompatible") {
        saveOneNote("typed");
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "UPDATE norvelle_attributes SET type = 'String' WHERE attribute = 'version'", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    if (kind == "garbage" || kind == "truncated") {
        writeFile(path + "-wal", "wal bytes");
        writeFile(path + "-shm", "shm bytes");
    }

    PersistenceController controller;
    EXPECT_EQ(noteCount(controller), 0);
    const QStringList aside = controller.filesSetAside();
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_TRUE(aside.front().startsWith(path + ".broken-"));
    for (const QString& file : aside) {
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    }
    if (!original.isEmpty()) {
        QFile moved(aside.front());
        ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
        EXPECT_EQ(moved.readAll(), original);
    }
    if (kind == "garbage" || kind == "truncated") {
        EXPECT_EQ(aside.size(), 3);
        EXPECT_TRUE(aside.contains(aside.front() + "-wal"));
        EXPECT_TRUE(aside.contains(aside.front() + "-shm"));
    }
    // The new store works.
    auto note = StickyNote::insert(controller.viewContext());
    note->setTitle("fresh");
    EXPECT_FALSE(controller.viewContext().save().has_value());
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnloadableStore,
    testing::Values("garbage", "truncated", "directory", "pipe", "foreign", "foreign, no table named as ours", "incompatible"));

// A store that cannot be opened is left exactly where it is and says why; the program then
// tells the user rather than stopping.
TEST(PersistenceController, AStoreThatCannotBeOpenedIsLeftAsItIsAndSaysWhy)
{
    // A file where the folder should be: neither load can create the store.
    writeFile(storeDir(), "not a folder");
    {
        PersistenceController controller;
        ASSERT_TRUE(controller.loadError());
        EXPECT_TRUE(controller.loadError()->localizedDescription().contains(storeDir()));
        EXPECT_TRUE(QFileInfo(storeDir()).isFile());
    }
    QFile::remove(storeDir());

    saveOneNote("locked away");
    sqlite3* lock = nullptr;
    ASSERT_EQ(sqlite3_open(PersistenceController::storePath().toUtf8().constData(), &lock), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(lock, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    {
        PersistenceController locked;
        ASSERT_TRUE(locked.loadError());
        EXPECT_TRUE(locked.loadError()->localizedDescription().contains("locked"));
    }
    sqlite3_exec(lock, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(lock);

    if (geteuid() != 0) {
        QFile::setPermissions(PersistenceController::storePath(), QFileDevice::ReadOwner);
        {
            PersistenceController readOnly;
            ASSERT_TRUE(readOnly.loadError());
            EXPECT_EQ(readOnly.loadError()->code(), ObjectStoreError::Code::ReadOnly);
        }
        QFile::setPermissions(PersistenceController::storePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    EXPECT_EQ(QDir(storeDir()).entryList({"*.broken-*"}, QDir::AllEntries), QStringList());
    PersistenceController controller;
    EXPECT_FALSE(controller.loadError());
    EXPECT_EQ(controller.viewContext().fetch(StickyNote::fetchRequest()).at(0)->title(), "locked away");
}
