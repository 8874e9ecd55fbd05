#include "objectstore/ObjectStore.h"
#include "objectstore/ManagedObject.h"
#include "objectstore/ObjectContext.h"
#include "objectstore/SqliteConnection.h"
#include "support/TestHome.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSignalSpy>
#include <QThread>

#include <thread>

#include <sqlite3.h>

using namespace norvelle;

namespace {

// A small entity with one attribute of every type.
class Item : public ManagedObject {
public:
    enum { Uid,
        When,
        Name,
        Bytes,
        Count,
        Flag,
        Ratio };
    explicit Item(const EntityDescription& entity)
        : ManagedObject(entity)
    {
    }
    static const EntityDescription& entity()
    {
        static const EntityDescription description {
            "Item",
            {{"uid", AttributeType::UUID}, {"when", AttributeType::Date}, {"name", AttributeType::String},
                {"bytes", AttributeType::Binary, {}, true}, {"count", AttributeType::Integer64, qint64(0)},
                {"flag", AttributeType::Boolean, false}, {"ratio", AttributeType::Double}},
            [](const EntityDescription& entity) { return std::make_shared<Item>(entity); },
            {},
            {{"unfinished", unfinished()}},
        };
        return description;
    }
    static Predicate unfinished() { return Predicate::isBlank("name") || Predicate::equal("count", 0); }
    QString name() const { return stringValue(Name); }
    void setName(const QString& name) { setValue(Name, name); }
    qint64 count() const { return integerValue(Count); }
    void setCount(qint64 count) { setValue(Count, count); }
};

// The same entity as an older program knew it: without "flag" and "ratio".
const EntityDescription& olderItem()
{
    static const EntityDescription description {
        "Item",
        {{"uid", AttributeType::UUID}, {"when", AttributeType::Date}, {"name", AttributeType::String},
            {"bytes", AttributeType::Binary}, {"count", AttributeType::Integer64}},
        [](const EntityDescription& entity) { return std::make_shared<Item>(entity); },
    };
    return description;
}

const ObjectModel model {"Test", {&Item::entity()}};

QString storePath()
{
    return test::TestHomeListener::home() + "/test.sqlite";
}

std::unique_ptr<ObjectStore> openStore(const ObjectModel& with = model, const QString& path = storePath())
{
    std::optional<ObjectStoreError> error;
    auto store = ObjectStore::open(path, with, error);
    EXPECT_FALSE(error.has_value()) << (error ? error->localizedDescription().toStdString() : "");
    return store;
}

std::shared_ptr<Item> insertItem(ObjectContext& context, const QString& name, qint64 count = 0)
{
    auto item = context.insert<Item>();
    item->setName(name);
    item->setCount(count);
    return item;
}

QStringList names(const std::vector<std::shared_ptr<Item>>& items)
{
    QStringList result;
    for (const auto& item : items) {
        result << item->name();
    }
    return result;
}

void execute(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

} // namespace

TEST(ObjectStore, OneObjectPerRowInAContext)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    auto item = insertItem(context, "a");
    ASSERT_FALSE(context.save());
    auto fetched = context.fetch(TypedFetchRequest<Item>());
    ASSERT_EQ(fetched.size(), 1u);
    EXPECT_EQ(fetched.front().get(), item.get());
    EXPECT_EQ(context.existingObject(item->objectID().uriString()).get(), item.get());
    EXPECT_EQ(context.fetch(TypedFetchRequest<Item>()).front().get(), item.get());
}

TEST(ObjectStore, FetchFiltersAndSortsInTheStoreAndOverUnsavedChanges)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    for (const auto& [name, count] : std::vector<std::pair<QString, int>> {{"Apple", 3}, {"banana", 1}, {"Cherry", 2}, {"Äpfel", 5}}) {
        insertItem(context, name, count);
    }
    insertItem(context, QString(), 4);
    ASSERT_FALSE(context.save());

    TypedFetchRequest<Item> request;
    request.predicate = Predicate::greaterThan("count", 1) && !Predicate::contains("name", "err");
    request.sortDescriptors = {{"count", false}};
    EXPECT_EQ(names(context.fetch(request)), (QStringList {"Äpfel", QString(), "Apple"}));
    request.fetchLimit = 1;
    EXPECT_EQ(names(context.fetch(request)), QStringList {"Äpfel"});
    request.fetchLimit = 0;

    TypedFetchRequest<Item> byText;
    byText.predicate = Predicate::contains("name", "äP") || Predicate::isNull("name");
    byText.sortDescriptors = {{"name", true}};
    EXPECT_EQ(names(context.fetch(byText)), (QStringList {QString(), "Äpfel"}));

    // Unsaved: a change that makes a row match, one that makes it fail, an insert, a deletion.
    auto all = context.fetch(TypedFetchRequest<Item>());
    all[1]->setCount(10); // banana now matches
    all[0]->setCount(0); // Apple no longer does
    insertItem(context, "Date", 7);
    context.deleteObject(all[3]); // Äpfel
    EXPECT_EQ(names(context.fetch(request)), (QStringList {"banana", "Date", QString()}));
    request.fetchLimit = 2;
    EXPECT_EQ(names(context.fetch(request)), (QStringList {"banana", "Date"}));
    EXPECT_EQ(context.count(TypedFetchRequest<Item>()), 5);

    // After the save the store gives the same answer on its own.
    ASSERT_FALSE(context.save());
    auto reopened = openStore();
    store.reset();
    request.fetchLimit = 0;
    EXPECT_EQ(names(reopened->viewContext().fetch(request)), (QStringList {"banana", "Date", QString()}));
}

TEST(ObjectStore, ABadFetchReportsAnErrorInsteadOfResults)
{
    auto store = openStore();
    insertItem(store->viewContext(), "x");
    TypedFetchRequest<Item> request;
    request.sortDescriptors = {{"nope", true}};
    std::optional<ObjectStoreError> error;
    EXPECT_TRUE(store->viewContext().fetch(request, &error).empty());
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ObjectStoreError::Code::ReadFailed);
}

TEST(ObjectStore, RollbackForgetsInsertsChangesAndDeletions)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    auto kept = insertItem(context, "kept", 1);
    auto gone = insertItem(context, "gone", 2);
    ASSERT_FALSE(context.save());
    QSignalSpy changes(&context, &ObjectContext::objectsDidChange);
    QSignalSpy changedObjects(&context, &ObjectContext::objectChanged);

    kept->setName("renamed");
    context.deleteObject(gone);
    auto added = insertItem(context, "added");
    EXPECT_TRUE(context.hasChanges());
    EXPECT_TRUE(kept->isUpdated());
    EXPECT_TRUE(gone->isDeleted());
    EXPECT_GE(changes.count(), 3);
    ASSERT_GE(changedObjects.count(), 3);
    EXPECT_EQ(changedObjects.at(0).at(0).value<ObjectID>(), kept->objectID());
    EXPECT_EQ(changedObjects.at(1).at(0).value<ObjectID>(), gone->objectID());
    EXPECT_EQ(changedObjects.at(2).at(0).value<ObjectID>(), added->objectID());
    changedObjects.clear();

    // A rollback names no object: listeners read everything again.
    context.rollback();
    EXPECT_EQ(changedObjects.count(), 0);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(kept->name(), "kept");
    EXPECT_FALSE(gone->isDeleted());
    EXPECT_EQ(added->managedObjectContext(), nullptr);
    EXPECT_EQ(names(context.fetch(TypedFetchRequest<Item>())), (QStringList {"kept", "gone"}));
    EXPECT_FALSE(context.existingObject(added->objectID()));
}

TEST(ObjectStore, AFailedSaveWritesNothingAndKeepsTheChangesForTheNextSave)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    auto first = insertItem(context, "first");
    ASSERT_FALSE(context.save());
    const QString firstKey = first->objectID().uriString();

    execute(storePath(), "CREATE TRIGGER refuse BEFORE UPDATE ON Item BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    first->setName("changed");
    auto second = insertItem(context, "second");
    const QString secondKey = second->objectID().uriString();
    QSignalSpy saved(&context, &ObjectContext::didSave);
    const std::optional<ObjectStoreError> error = context.save();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ObjectStoreError::Code::WriteFailed);
    EXPECT_TRUE(context.hasChanges());
    EXPECT_EQ(saved.count(), 0);
    {
        auto other = openStore();
        EXPECT_EQ(names(other->viewContext().fetch(TypedFetchRequest<Item>())), QStringList {"first"});
    }

    execute(storePath(), "DROP TRIGGER refuse");
    EXPECT_FALSE(context.save());
    EXPECT_EQ(saved.count(), 1);
    // The keys given at insertion hold after the failed save.
    EXPECT_EQ(second->objectID().uriString(), secondKey);
    store.reset();
    auto reopened = openStore();
    EXPECT_EQ(reopened->viewContext().existingObject(firstKey)->value("name"), "changed");
    EXPECT_EQ(reopened->viewContext().existingObject(secondKey)->value("name"), "second");
}

TEST(ObjectStore, ManyObjectsAreLookedUpTogetherAndABulkChangeSavesOnlyWhatChanged)
{
    QStringList keys;
    std::vector<ObjectID> ids;
    {
        auto store = openStore();
        for (int i = 0; i < 1200; ++i) {
            auto item = insertItem(store->viewContext(), QStringLiteral("item %1").arg(i), i + 1);
            item->setValue(Item::Bytes, QByteArray(2000, char('a' + i % 26)));
            ids.push_back(item->objectID());
        }
        ASSERT_FALSE(store->viewContext().save());
    }
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    auto held = context.existingObject(ids[5]);
    held->setValue(Item::Name, "unsaved");
    context.deleteObject(context.existingObject(ids[6]));
    std::vector<ObjectID> asked {ids[7], ids[5], ids[6], ObjectID(store->identifier(), "Item", 99999)};
    asked.insert(asked.end(), ids.begin() + 8, ids.end());
    const auto found = context.existingObjects(asked);
    ASSERT_EQ(found.size(), asked.size() - 2) << "neither the deleted nor the unknown one";
    EXPECT_EQ(found[0]->objectID(), ids[7]);
    EXPECT_EQ(found[1].get(), held.get()) << "the object already in the context, with its change";
    EXPECT_EQ(found.back()->value(Item::Bytes), QByteArray(2000, char('a' + 1199 % 26)));

    for (const auto& item : found) {
        item->setValue(Item::Count, item->value(Item::Count).toLongLong() * 10);
        item->setValue(Item::Flag, true);
        item->setValue(Item::Flag, false);
    }
    ASSERT_FALSE(context.save());
    store.reset();
    auto reopened = openStore();
    auto item = reopened->viewContext().existingObject(ids[100]);
    EXPECT_EQ(item->value(Item::Count), qint64(1010));
    EXPECT_EQ(item->value(Item::Name), "item 100");
    EXPECT_EQ(item->value(Item::Bytes), QByteArray(2000, char('a' + 100 % 26)));
    EXPECT_EQ(reopened->viewContext().existingObject(ids[5])->value(Item::Name), "unsaved");
    EXPECT_FALSE(reopened->viewContext().existingObject(ids[6]));
}

TEST(ObjectStore, ALargeValueLeftInTheStoreIsNeverLostByAChangeARollbackOrADeletion)
{
    const QByteArray large(100000, 'x');
    std::vector<ObjectID> ids;
    {
        auto store = openStore();
        for (int i = 0; i < 3; ++i) {
            auto item = insertItem(store->viewContext(), QStringLiteral("item %1").arg(i), i);
            item->setValue(Item::Bytes, large);
            ids.push_back(item->objectID());
        }
        ASSERT_FALSE(store->viewContext().save());
    }
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    auto items = context.existingObjects(ids);
    ASSERT_EQ(items.size(), 3u);

    items[0]->setValue(Item::Count, 10);
    items[0]->setValue(Item::Count, 11);
    items[0]->setValue(Item::Name, QStringLiteral("item 0"));
    EXPECT_EQ(items[0]->changedAttributes(), std::vector<int> {Item::Count}) << "a value set to the stored one is no change";
    context.rollback();
    EXPECT_EQ(items[0]->value(Item::Count), qint64(0)) << "the stored value, not the first one set";
    EXPECT_EQ(items[0]->value(Item::Bytes), large);

    items[1]->setValue(Item::Bytes, QByteArray("small"));
    context.rollback();
    EXPECT_EQ(items[1]->value(Item::Bytes), large) << "the stored value comes back";
    items[1]->setValue(Item::Bytes, QByteArray("small"));
    items[0]->setValue(Item::Count, 10);
    context.deleteObject(items[2]);
    ASSERT_FALSE(context.save());
    EXPECT_EQ(items[2]->value(Item::Bytes), large) << "a deleted object keeps its last values";
    items.clear();

    store.reset();
    auto reopened = openStore();
    EXPECT_EQ(reopened->viewContext().existingObject(ids[0])->value(Item::Bytes), large);
    EXPECT_EQ(reopened->viewContext().existingObject(ids[0])->value(Item::Count), qint64(10));
    EXPECT_EQ(reopened->viewContext().existingObject(ids[1])->value(Item::Bytes), QByteArray("small"));
}

TEST(ObjectStore, IdentifiersAreNeverHandedOutTwiceEvenForUnsavedObjects)
{
    QString unsavedKey;
    QString deletedKey;
    {
        auto store = openStore();
        auto saved = insertItem(store->viewContext(), "saved");
        ASSERT_FALSE(store->viewContext().save());
        deletedKey = saved->objectID().uriString();
        store->viewContext().deleteObject(saved);
        ASSERT_FALSE(store->viewContext().save());
        unsavedKey = insertItem(store->viewContext(), "never saved")->objectID().uriString();
    }
    auto store = openStore();
    const QString next = insertItem(store->viewContext(), "next")->objectID().uriString();
    EXPECT_NE(next, unsavedKey);
    EXPECT_NE(next, deletedKey);
    EXPECT_TRUE(next.endsWith("/Item/p3"));
    EXPECT_EQ(ObjectID::fromURI(next)->storeID(), store->identifier());
}

TEST(ObjectStore, ObjectIdUrisParseBackAndRejectOtherText)
{
    const ObjectID id(QUuid::createUuid(), "Item", 42);
    EXPECT_EQ(ObjectID::fromURI(id.uriString()), id);
    EXPECT_EQ(id.uriRepresentation().toString(), id.uriString());
    for (const char* text : {"", "x-norvelle://nope/Item/p1", "x-coredata://00000000-0000-0000-0000-000000000001/Item/p1",
             "x-norvelle://6f1c2b9e-1d2a-4c55-9a8e-0b6f3d2e4a11/Item/p0",
             "x-norvelle://6f1c2b9e-1d2a-4c55-9a8e-0b6f3d2e4a11/Item/p-1",
             "x-norvelle://6f1c2b9e-1d2a-4c55-9a8e-0b6f3d2e4a11/Item/p99999999999999999999",
             "x-norvelle://6f1c2b9e-1d2a-4c55-9a8e-0b6f3d2e4a11/Item/p1\n"}) {
        EXPECT_FALSE(ObjectID::fromURI(text).has_value()) << text;
    }
    auto store = openStore();
    EXPECT_FALSE(store->viewContext().existingObject(ObjectID(QUuid::createUuid(), "Item", 1)));
    EXPECT_FALSE(store->viewContext().existingObject(ObjectID(store->identifier(), "Other", 1)));
}

TEST(ObjectStore, AttributesTheModelGainedBecomeColumnsOnLoad)
{
    const ObjectModel older {"Test", {&olderItem()}};
    QString key;
    {
        auto store = openStore(older);
        auto item = store->viewContext().insert(olderItem());
        item->setValue("name", "from before");
        key = item->objectID().uriString();
        ASSERT_FALSE(store->viewContext().save());
    }
    auto store = openStore();
    auto item = store->viewContext().existingObject(key);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->value("name"), "from before");
    EXPECT_FALSE(item->value("flag").isValid());
    item->setValue("ratio", 0.5);
    ASSERT_FALSE(store->viewContext().save());
    store.reset();
    EXPECT_EQ(openStore()->viewContext().existingObject(key)->value("ratio"), 0.5);
}

TEST(ObjectStore, AnAttributeStoredAsAnotherTypeFailsTheLoad)
{
    openStore();
    execute(storePath(), "UPDATE norvelle_attributes SET type = 'Date' WHERE attribute = 'name'");
    std::optional<ObjectStoreError> error;
    EXPECT_FALSE(ObjectStore::open(storePath(), model, error));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ObjectStoreError::Code::IncompatibleModel);
}

TEST(ObjectStore, MovingFilesAsideKeepsThemOpenableAsOneDatabase)
{
    // A database whose only row is still in its write-ahead log, as after a crash.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(storePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL; CREATE TABLE t (x); INSERT INTO t VALUES ('in the log');",
                  nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int persist = 1;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    sqlite3_close(db);
    ASSERT_TRUE(QFileInfo(storePath() + "-wal").size() > 0);

    QStringList moved;
    ASSERT_TRUE(ObjectStore::moveFilesAside(storePath(), &moved));
    ASSERT_EQ(moved.size(), 3);
    EXPECT_FALSE(QFileInfo::exists(storePath()));
    EXPECT_FALSE(QFileInfo::exists(storePath() + "-wal"));
    EXPECT_EQ(moved[1], moved[0] + "-wal");
    EXPECT_EQ(moved[2], moved[0] + "-shm");

    ASSERT_EQ(sqlite3_open(moved[0].toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT x FROM t", -1, &statement, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)), "in the log");
    sqlite3_finalize(statement);
    sqlite3_close(db);
}

TEST(ObjectStore, TheContextLetsGoOfWhatNobodyHoldsAndKeepsWhatIsUnsaved)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    for (const char* name : {"a", "b", "c"}) {
        insertItem(context, name, 1);
    }
    EXPECT_EQ(context.registeredObjectCount(), 3) << "unsaved inserts stay";
    ASSERT_FALSE(context.save());
    EXPECT_EQ(context.registeredObjectCount(), 0);

    auto all = context.fetch(TypedFetchRequest<Item>());
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(context.registeredObjectCount(), 3);
    const std::shared_ptr<Item> held = all[0];
    all[1]->setName("changed");
    const QString changedKey = all[1]->objectID().uriString();
    all.clear();
    EXPECT_EQ(context.registeredObjectCount(), 2) << "the held one and the changed one";
    EXPECT_EQ(context.fetch(TypedFetchRequest<Item>()).front().get(), held.get());
    EXPECT_EQ(context.existingObject(changedKey)->value("name"), "changed");

    ASSERT_FALSE(context.save());
    EXPECT_EQ(context.registeredObjectCount(), 1);
    EXPECT_EQ(context.existingObject(changedKey)->value("name"), "changed") << "read again from the store";

    context.existingObject(changedKey)->setValue("name", "dropped");
    context.rollback();
    EXPECT_EQ(context.registeredObjectCount(), 1);
    EXPECT_EQ(context.existingObject(changedKey)->value("name"), "changed");

    // Objects outliving their store's context are told so, whether or not it still held them.
    store.reset();
    EXPECT_EQ(held->managedObjectContext(), nullptr);
}

TEST(ObjectStore, VisitingValuesGivesTheColumnsAskedForOfEveryObjectWithUnsavedChanges)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    for (const auto& [name, count] : std::vector<std::pair<QString, int>> {{"kept", 1}, {"changed", 2}, {"deleted", 3}}) {
        insertItem(context, name, count);
    }
    ASSERT_FALSE(context.save());
    auto all = context.fetch(TypedFetchRequest<Item>());
    all[1]->setName("renamed");
    context.deleteObject(all[2]);
    insertItem(context, "inserted", 4);
    all.clear();
    EXPECT_EQ(context.registeredObjectCount(), 3) << "the changed, deleted and inserted ones";

    QMap<QString, qint64> seen;
    const auto visit = [&](const ObjectID& id, const QList<QVariant>& values) {
        ASSERT_EQ(values.size(), 2);
        EXPECT_EQ(id.entityName(), "Item");
        seen.insert(values[1].toString(), values[0].toLongLong());
    };
    EXPECT_FALSE(context.visitValues(Item::entity(), {Item::Count, Item::Name}, visit));
    EXPECT_EQ(seen, (QMap<QString, qint64> {{"kept", 1}, {"renamed", 2}, {"inserted", 4}}));
    EXPECT_EQ(context.registeredObjectCount(), 3) << "no object was made for the unchanged row";

    std::optional<ObjectStoreError> error = context.visitValues(Item::entity(), {Item::Ratio + 1}, visit);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ObjectStoreError::Code::ReadFailed);
}

TEST(ObjectStore, ABlankTextFilterGivesOneAnswerInTheStoreAndInMemoryAndReadsOnlyItsIndex)
{
    auto store = openStore();
    ObjectContext& context = store->viewContext();
    const QStringList blank {QString(), "", " \t\r\n", QString::fromUtf8("\u00a0\u3000\u2029\u0085")};
    const QStringList written {"a", " b ", QString::fromUtf8("\u200b"), "\u00a0x"};
    for (const QString& name : blank + written) {
        insertItem(context, name, 5);
    }
    insertItem(context, "counted as unfinished", 0);
    ASSERT_FALSE(context.save());

    TypedFetchRequest<Item> request;
    request.predicate = Item::unfinished();
    const auto inStore = context.fetch(request);
    EXPECT_EQ(inStore.size(), size_t(blank.size() + 1));
    const auto all = context.fetch(TypedFetchRequest<Item>());
    for (const auto& item : all) {
        const bool found = std::find(inStore.begin(), inStore.end(), item) != inStore.end();
        EXPECT_EQ(found, request.predicate.evaluate(*item)) << item->name().toStdString();
    }

    // The store answers from the partial index it keeps, with the values the query binds.
    QString condition;
    std::vector<QVariant> bindings;
    ASSERT_TRUE(request.predicate.sql(Item::entity(), condition, bindings));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(storePath().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* plan = nullptr;
    // As a fetch asks: every column, in row order.
    const QByteArray sql = ("EXPLAIN QUERY PLAN SELECT _pk, uid, \"when\", name, bytes, count, flag, ratio FROM Item WHERE "
        + condition + " ORDER BY _pk ASC")
                               .toUtf8();
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.constData(), -1, &plan, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    std::vector<SqliteConnection::BoundBytes> boundBytes;
    for (size_t i = 0; i < bindings.size(); ++i) {
        ASSERT_TRUE(SqliteConnection::bind(plan, int(i) + 1, bindings[i], boundBytes));
    }
    QString steps;
    while (sqlite3_step(plan) == SQLITE_ROW) {
        steps += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3))) + '\n';
    }
    sqlite3_finalize(plan);
    sqlite3_close(db);
    EXPECT_TRUE(steps.contains("Item_where_unfinished")) << steps.toStdString();
}

TEST(ObjectStore, AFileCutShortFailsTheLoadButPagesStillInTheLogDoNot)
{
    openStore();
    // As after a crash: the file has grown only in its log.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(storePath().toUtf8().constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100) "
                               "INSERT INTO Item (name, count) SELECT printf('%.3000c', 'x'), i FROM n",
                  nullptr, nullptr, nullptr),
        SQLITE_OK)
        << sqlite3_errmsg(db);
    sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int persist = 1;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    sqlite3_close(db);
    {
        auto store = openStore();
        ASSERT_TRUE(store);
        EXPECT_EQ(store->viewContext().count(TypedFetchRequest<Item>()), 100);
    }
    QFile file(storePath());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() / 2));
    file.close();
    std::optional<ObjectStoreError> error;
    EXPECT_FALSE(ObjectStore::open(storePath(), model, error));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->code(), ObjectStoreError::Code::NotReadable);
    EXPECT_TRUE(error->isUnusableFile());
}

// A save no longer copies the write-ahead log back into the database itself; a thread does.
// Large saves one after another, as typing into a large note makes them, must still find the
// log copied back and started over (it gets new salts in its header then), not a log that only
// grows with every save; and all of them reopen.
TEST(ObjectStore, LargeSavesInARowFindTheLogCopiedBackAndAllReopen)
{
    const auto logSalts = [] {
        QFile log(storePath() + "-wal");
        return log.open(QIODevice::ReadOnly) && log.seek(16) ? log.read(8) : QByteArray();
    };
    constexpr int saves = 30;
    const QString text(1000000, u'x');
    {
        auto store = openStore();
        ObjectContext& context = store->viewContext();
        auto item = insertItem(context, text);
        ASSERT_FALSE(context.save());
        const QByteArray firstSalts = logSalts();
        ASSERT_EQ(firstSalts.size(), 8);
        for (int save = 0; save < saves; ++save) {
            // One more character each time, as typing adds: the row is written anew.
            item->setName(text + QString(save, u'y'));
            ASSERT_FALSE(context.save());
            // A typist's pause between two keys.
            QThread::msleep(30);
        }
        // However slow the disk, a pause lets the copy finish and the next save start over.
        int save = saves;
        EXPECT_TRUE(test::waitUntil([&] {
            item->setCount(++save);
            EXPECT_FALSE(context.save());
            QThread::msleep(50);
            return logSalts() != firstSalts;
        },
            20000));
    }
    auto store = openStore();
    const auto items = store->viewContext().fetch(TypedFetchRequest<Item>());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items.front()->name(), text + QString(saves - 1, u'y'));
}

TEST(ObjectStore, ABackgroundContextSavesOnItsOwnThreadAndTheViewContextTakesInWhatItMade)
{
    std::optional<ObjectStoreError> error;
    EXPECT_EQ(ObjectStore::open(ObjectStore::inMemoryPath, model, error)->newBackgroundContext(), nullptr)
        << "no second connection sees a store in memory";

    auto store = openStore();
    ObjectContext& view = store->viewContext();
    insertItem(view, "before");
    ASSERT_FALSE(view.save());
    const QByteArray large(8 * 1024 * 1024, 'x');

    // The worker allocates and saves while the view context allocates too.
    std::shared_ptr<Item> made;
    std::optional<ObjectStoreError> saveError;
    std::unique_ptr<ObjectContext> background = store->newBackgroundContext();
    ASSERT_TRUE(background);
    std::thread worker([&] {
        made = insertItem(*background, "made elsewhere", 7);
        made->setValue(Item::Bytes, large);
        saveError = background->save();
        background.reset();
    });
    auto meanwhile = insertItem(view, "meanwhile");
    worker.join();
    ASSERT_FALSE(saveError) << saveError->localizedDescription().toStdString();
    ASSERT_FALSE(view.save());
    EXPECT_NE(made->objectID(), meanwhile->objectID());
    EXPECT_EQ(made->managedObjectContext(), nullptr);

    QSignalSpy changed(&view, &ObjectContext::objectChanged);
    view.didInsertElsewhere({made});
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.front().front().value<ObjectID>(), made->objectID());
    // Taken in with its small values; the large one stays in the store until used.
    const auto taken = std::static_pointer_cast<Item>(view.existingObject(made->objectID()));
    ASSERT_TRUE(taken);
    EXPECT_NE(taken, made);
    EXPECT_EQ(taken->name(), "made elsewhere");
    EXPECT_EQ(taken->count(), 7);
    EXPECT_FALSE(taken->isInMemory(Item::Bytes));
    EXPECT_EQ(taken->value(Item::Bytes).toByteArray(), large);
    QStringList stored = names(view.fetch(TypedFetchRequest<Item>()));
    stored.sort();
    EXPECT_EQ(stored, QStringList({"before", "made elsewhere", "meanwhile"}));
}

TEST(ObjectStore, TheStartOfALargeTextIsReadWithoutTheRest)
{
    auto store = openStore();
    ObjectContext& view = store->viewContext();
    // Two-byte and four-byte characters, so a read stops inside one.
    const QString text = QString::fromUtf8("é\n") + QString::fromUtf8("\U0001F600").repeated(100000);
    auto item = insertItem(view, text);
    ASSERT_FALSE(view.save());
    const ObjectID id = item->objectID();
    item.reset();
    ASSERT_FALSE(view.isRegistered(id));

    for (const qsizetype length : {0, 1, 2, 3, 4, 5, 4096, 200001, 200002, 300000}) {
        EXPECT_EQ(view.leadingText(id, Item::Name, length), text.left(length)) << length;
    }
    EXPECT_EQ(view.existingValues(id, {Item::Count}), QList<QVariant>({qint64(0)}));
    EXPECT_FALSE(view.existingValues(ObjectID(store->identifier(), "Item", 99), {Item::Count}));
    EXPECT_EQ(view.leadingText(ObjectID(store->identifier(), "Item", 99), Item::Name, 10), QString());
}

TEST(ObjectStore, LargeTextsAreStoredAsSmallOnesAreAndATextBoundTwiceIsStoredTwice)
{
    SqliteConnection db(":memory:");
    ASSERT_TRUE(db.exec("CREATE TABLE t (a TEXT, b TEXT)"));
    // Letters of other scripts, a pair of surrogates and the two halves of one standing alone.
    QString mixed = QString(2 << 20, u'a') + QString::fromUtf8("é中\U0001F600");
    mixed += QChar(0xD800);
    mixed += u'b';
    mixed += QChar(0xDC00);
    const QString letters(2 << 20, u'z');
    const QString shared = letters;
    ASSERT_TRUE(db.run(db.prepare("INSERT INTO t VALUES (?, ?)", {mixed, mixed})));
    ASSERT_TRUE(db.run(db.prepare("INSERT INTO t VALUES (?, ?)", {letters, shared})));
    ASSERT_TRUE(db.run(db.prepare("INSERT INTO t VALUES (?, ?)", {letters, mixed})));
    std::vector<QList<QVariant>> rows;
    ASSERT_TRUE(db.query("SELECT a, b FROM t", {}, rows));
    ASSERT_EQ(rows.size(), 3u);
    const QString mixedStored = QString::fromUtf8(mixed.toUtf8());
    const std::vector<std::pair<QString, QString>> expected {{mixedStored, mixedStored}, {letters, letters}, {letters, mixedStored}};
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_TRUE(rows[i].value(0).toString() == expected[i].first) << "row " << i;
        EXPECT_TRUE(rows[i].value(1).toString() == expected[i].second) << "row " << i;
    }
}
