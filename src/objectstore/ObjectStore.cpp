#include "objectstore/ObjectStore.h"

#include "objectstore/ManagedObject.h"
#include "objectstore/ObjectContext.h"
#include "objectstore/SqliteConnection.h"
#include "objectstore/WalCheckpointer.h"
#include "platform/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <map>
#include <numeric>

namespace norvelle {

namespace {

constexpr auto quoted = &SqliteConnection::quoted;

// Counts a background context's save for as long as it writes.
class BackgroundSave {
public:
    BackgroundSave(std::atomic<int>& saves, bool counts)
        : m_saves(counts ? &saves : nullptr)
    {
        if (m_saves)
            ++*m_saves;
    }
    ~BackgroundSave()
    {
        if (m_saves)
            --*m_saves;
    }
    BackgroundSave(const BackgroundSave&) = delete;
    BackgroundSave& operator=(const BackgroundSave&) = delete;

private:
    std::atomic<int>* m_saves;
};

QString columnType(AttributeType type)
{
    switch (type) {
    case AttributeType::UUID:
    case AttributeType::String: return QStringLiteral("TEXT");
    case AttributeType::Binary: return QStringLiteral("BLOB");
    case AttributeType::Double: return QStringLiteral("REAL");
    case AttributeType::Date:
    case AttributeType::Integer64:
    case AttributeType::Boolean: return QStringLiteral("INTEGER");
    }
    return {};
}

QString typeName(AttributeType type)
{
    switch (type) {
    case AttributeType::UUID: return QStringLiteral("UUID");
    case AttributeType::Date: return QStringLiteral("Date");
    case AttributeType::String: return QStringLiteral("String");
    case AttributeType::Binary: return QStringLiteral("Binary");
    case AttributeType::Integer64: return QStringLiteral("Integer64");
    case AttributeType::Boolean: return QStringLiteral("Boolean");
    case AttributeType::Double: return QStringLiteral("Double");
    }
    return {};
}

QString columnList(const EntityDescription& entity)
{
    QStringList columns;
    for (const AttributeDescription& attribute : entity.attributes) {
        columns << quoted(attribute.name);
    }
    return columns.join(", ");
}

// How many bytes at the end of `utf8` start a character they do not finish.
qsizetype incompleteUtf8Tail(const QByteArray& utf8)
{
    qsizetype start = utf8.size();
    while (start > 0 && utf8.size() - start < 4 && (uchar(utf8[start - 1]) & 0xC0) == 0x80) {
        --start;
    }
    if (start == 0) {
        return 0;
    }
    const auto lead = uchar(utf8[start - 1]);
    const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3
        : lead >= 0xC0                                       ? 2
                                                             : 1;
    const qsizetype present = utf8.size() - start + 1;
    return present < length ? present : 0;
}

std::vector<int> allAttributes(const EntityDescription& entity)
{
    std::vector<int> attributes(entity.attributes.size());
    std::iota(attributes.begin(), attributes.end(), 0);
    return attributes;
}

std::vector<QVariant> storedValues(const ManagedObject& object)
{
    std::vector<QVariant> values;
    values.reserve(object.entity().attributes.size() + 1);
    for (size_t i = 0; i < object.entity().attributes.size(); ++i) {
        values.push_back(storedForm(object.entity().attributes[i].type, object.value(int(i))));
    }
    return values;
}

QString updateStatement(const EntityDescription& entity, const std::vector<int>& changed)
{
    QStringList assignments;
    for (const int attribute : changed) {
        assignments << quoted(entity.attributes[size_t(attribute)].name) + QStringLiteral(" = ?");
    }
    return QStringLiteral("UPDATE %1 SET %2 WHERE _pk = ?").arg(quoted(entity.name), assignments.join(", "));
}

void containsFunction(sqlite3_context* context, int, sqlite3_value** arguments)
{
    const auto text = [](sqlite3_value* value) {
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(value)), sqlite3_value_bytes(value));
    };
    if (sqlite3_value_type(arguments[0]) == SQLITE_NULL) {
        sqlite3_result_int(context, 0);
        return;
    }
    sqlite3_result_int(context, Predicate::textContains(text(arguments[0]), text(arguments[1])) ? 1 : 0);
}

} // namespace

ObjectStore::ObjectStore(QString path, const ObjectModel& model, std::unique_ptr<SqliteConnection> connection)
    : m_path(std::move(path))
    , m_model(model)
    , m_db(std::move(connection))
{
}

ObjectStore::~ObjectStore()
{
    m_viewContext.reset();
}

std::unique_ptr<ObjectStore> ObjectStore::open(const QString& path, const ObjectModel& model,
    std::optional<ObjectStoreError>& error)
{
    std::unique_ptr<ObjectStore> store(new ObjectStore(path, model, std::make_unique<SqliteConnection>(path)));
    error = store->load();
    if (error) {
        store->m_db->leaveFilesAsTheyAreOnClose();
        return nullptr;
    }
    store->m_viewContext = std::make_unique<ObjectContext>(*store);
    if (!store->isInMemory()) {
        store->m_checkpointer = std::make_unique<WalCheckpointer>(path, store->m_db->handle());
    }
    return store;
}

ObjectStoreError ObjectStore::failure(const SqliteConnection& db, ObjectStoreError::Code code, const QString& what) const
{
    switch (db.errorCode()) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT: code = ObjectStoreError::Code::NotReadable; break;
    case SQLITE_READONLY:
    case SQLITE_PERM: code = ObjectStoreError::Code::ReadOnly; break;
    case SQLITE_CANTOPEN: code = ObjectStoreError::Code::CannotOpen; break;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_FULL:
    case SQLITE_IOERR:
    case SQLITE_NOMEM: code = ObjectStoreError::Code::Unavailable; break;
    default: break;
    }
    return ObjectStoreError(code, QStringLiteral("%1 (%2): %3").arg(what, m_path, db.errorMessage()));
}

bool ObjectStore::prepareConnection(SqliteConnection& db)
{
    // With a write-ahead log, NORMAL syncs only at checkpoints: a committed save is in the
    // log (the operating system's cache) when commit returns, so it survives the process
    // being killed; only a power loss can take back the last saves, never the consistency.
    if (!isInMemory() && !db.exec(QStringLiteral("PRAGMA synchronous=NORMAL"))) {
        return false;
    }
    return sqlite3_create_function_v2(db.handle(), Predicate::containsFunctionName, 2,
               SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, containsFunction,
               nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

std::unique_ptr<ObjectContext> ObjectStore::newBackgroundContext()
{
    if (isInMemory()) {
        return nullptr;
    }
    // Never creating a file: the store's may have been moved aside meanwhile.
    auto db = std::make_unique<SqliteConnection>(m_path, SqliteConnection::Opening::existingOnly);
    if (!db->isOpen() || !prepareConnection(*db)) {
        return nullptr;
    }
    return std::unique_ptr<ObjectContext>(new ObjectContext(*this, std::move(db)));
}

std::optional<ObjectStoreError> ObjectStore::load()
{
    using Code = ObjectStoreError::Code;
    if (!isInMemory() && QFileInfo(m_path).isDir()) {
        return ObjectStoreError(Code::NotReadable, QStringLiteral("The note store (%1) is a folder").arg(m_path));
    }
    // A pipe or a device in the file's place would hang or flood the first read.
    if (!isInMemory() && QFileInfo::exists(m_path) && !RegularFile::isRegularFile(m_path)) {
        return ObjectStoreError(Code::NotReadable, QStringLiteral("The note store (%1) is not a regular file").arg(m_path));
    }
    // Read before SQLite opens the log: beyond its 32-byte header a log holds pages.
    const bool logHeldPages = QFileInfo(m_path + QStringLiteral("-wal")).size() > 32;
    if (!m_db->isOpen()) {
        return failure(Code::CannotOpen, QStringLiteral("The note store cannot be opened"));
    }
    if (!isInMemory()) {
        if (m_db->isReadOnly()) {
            return ObjectStoreError(Code::ReadOnly, QStringLiteral("The note store (%1) cannot be written").arg(m_path));
        }
        std::vector<QList<QVariant>> mode;
        if (!m_db->query(QStringLiteral("PRAGMA journal_mode=WAL"), {}, mode)) {
            return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
        }
        if (mode.empty() || mode.front().value(0).toString() != QLatin1String("wal")) {
            return ObjectStoreError(Code::CannotOpen, QStringLiteral("The note store (%1) cannot keep a write-ahead log").arg(m_path));
        }
        if (auto error = checkLength(logHeldPages)) {
            return *error;
        }
    }
    if (!prepareConnection(*m_db)) {
        return failure(Code::CannotOpen, QStringLiteral("The note store cannot be set up"));
    }
    if (!m_db->exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failure(Code::CannotOpen, QStringLiteral("The note store cannot be locked"));
    }
    std::optional<ObjectStoreError> error = loadSchema();
    if (!error && !m_db->exec(QStringLiteral("COMMIT"))) {
        error = failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
    }
    if (error && m_db->inTransaction()) {
        m_db->exec(QStringLiteral("ROLLBACK"));
    }
    return error;
}

std::optional<ObjectStoreError> ObjectStore::checkLength(bool logHeldPages)
{
    using Code = ObjectStoreError::Code;
    // A file cut short often opens and only fails on the pages it lost. Its header still
    // counts them, so without pages in the log a sound file is at least that long. (Reading
    // every page to check them would make each launch cost in proportion to the notes.)
    std::vector<QList<QVariant>> pages;
    std::vector<QList<QVariant>> pageSize;
    if (!m_db->query(QStringLiteral("PRAGMA page_count"), {}, pages) || pages.empty()
        || !m_db->query(QStringLiteral("PRAGMA page_size"), {}, pageSize) || pageSize.empty()) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    const qint64 expected = pages.front().value(0).toLongLong() * pageSize.front().value(0).toLongLong();
    const qint64 actual = QFileInfo(m_path).size();
    if (!logHeldPages && actual < expected) {
        return ObjectStoreError(Code::NotReadable, QStringLiteral("The note store (%1) is damaged: %2 of its %3 bytes are missing").arg(m_path).arg(expected - actual).arg(expected));
    }
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::loadSchema()
{
    using Code = ObjectStoreError::Code;
    const bool created = m_db->exec(QStringLiteral(
        "CREATE TABLE IF NOT EXISTS norvelle_metadata (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
        "CREATE TABLE IF NOT EXISTS norvelle_attributes (entity TEXT NOT NULL, attribute TEXT NOT NULL, "
        "  type TEXT NOT NULL, PRIMARY KEY (entity, attribute));"
        "CREATE TABLE IF NOT EXISTS norvelle_sequence (entity TEXT PRIMARY KEY, last INTEGER NOT NULL);"));
    if (!created) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
    }
    std::vector<QList<QVariant>> rows;
    if (!m_db->query(QStringLiteral("SELECT value FROM norvelle_metadata WHERE key = 'storeIdentifier'"), {}, rows)) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    m_identifier = rows.empty() ? QUuid() : QUuid(rows.front().value(0).toString());
    if (m_identifier.isNull()) {
        m_identifier = QUuid::createUuid();
        const bool stored = m_db->run(m_db->prepare(
            QStringLiteral("INSERT OR REPLACE INTO norvelle_metadata (key, value) VALUES ('storeIdentifier', ?)"),
            {m_identifier.toString(QUuid::WithoutBraces)}));
        if (!stored) {
            return failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
        }
    }
    for (const EntityDescription* entity : m_model.entities) {
        if (auto error = migrateEntity(*entity)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::migrateEntity(const EntityDescription& entity)
{
    using Code = ObjectStoreError::Code;
    const QString table = quoted(entity.name);
    std::vector<QList<QVariant>> columns;
    if (!m_db->query(QStringLiteral("PRAGMA table_info(%1)").arg(table), {}, columns)) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    if (columns.empty()) {
        QStringList definitions {QStringLiteral("_pk INTEGER PRIMARY KEY AUTOINCREMENT")};
        for (const AttributeDescription& attribute : entity.attributes) {
            definitions << quoted(attribute.name) + ' ' + columnType(attribute.type);
        }
        if (!m_db->exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(table, definitions.join(", ")))) {
            return failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
        }
    }
    QHash<QString, QString> declaredTypes;
    bool hasKey = columns.empty();
    for (const QList<QVariant>& column : columns) {
        declaredTypes.insert(column.value(1).toString(), column.value(2).toString().toUpper());
        hasKey = hasKey || (column.value(1).toString() == QLatin1String("_pk") && column.value(5).toInt() == 1);
    }
    if (!hasKey) {
        return ObjectStoreError(Code::IncompatibleModel,
            QStringLiteral("The note store (%1) holds a table %2 of another program").arg(m_path, entity.name));
    }
    std::vector<QList<QVariant>> recorded;
    if (!m_db->query(QStringLiteral("SELECT attribute, type FROM norvelle_attributes WHERE entity = ?"), {entity.name}, recorded)) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    QHash<QString, QString> recordedTypes;
    for (const QList<QVariant>& row : recorded) {
        recordedTypes.insert(row.value(0).toString(), row.value(1).toString());
    }
    for (const AttributeDescription& attribute : entity.attributes) {
        const bool hasColumn = columns.empty() || declaredTypes.contains(attribute.name);
        const bool compatible = recordedTypes.contains(attribute.name)
            ? recordedTypes.value(attribute.name) == typeName(attribute.type)
            : !hasColumn || columns.empty() || declaredTypes.value(attribute.name) == columnType(attribute.type);
        if (!compatible) {
            return ObjectStoreError(Code::IncompatibleModel,
                QStringLiteral("The note store (%1) keeps %2.%3 as another type than %4")
                    .arg(m_path, entity.name, attribute.name, typeName(attribute.type)));
        }
        if (!hasColumn
            && !m_db->exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, quoted(attribute.name), columnType(attribute.type)))) {
            return failure(Code::NotReadable, QStringLiteral("The note store cannot add the attribute %1").arg(attribute.name));
        }
        if (!recordedTypes.contains(attribute.name)
            && !m_db->run(m_db->prepare(QStringLiteral("INSERT INTO norvelle_attributes (entity, attribute, type) VALUES (?, ?, ?)"),
                {entity.name, attribute.name, typeName(attribute.type)}))) {
            return failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
        }
    }
    for (const QStringList& order : entity.sortIndexes) {
        QStringList columns;
        QString name = entity.name + QStringLiteral("_by");
        for (const QString& key : order) {
            const bool descending = key.startsWith('-');
            const QString attribute = descending ? key.mid(1) : key;
            columns << quoted(attribute) + (descending ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
            name += '_' + key;
        }
        if (!m_db->exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)").arg(quoted(name), table, columns.join(", ")))) {
            return failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
        }
    }
    for (const auto& [key, predicate] : entity.filterIndexes) {
        if (auto error = keepFilterIndex(entity, key, predicate)) {
            return error;
        }
    }
    std::vector<QList<QVariant>> last;
    const QString lastSql = QStringLiteral("SELECT max(ifnull((SELECT last FROM norvelle_sequence WHERE entity = ?), 0), "
                                           "ifnull((SELECT max(_pk) FROM %1), 0))")
                                .arg(table);
    if (!m_db->query(lastSql, {entity.name}, last) || last.empty()) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    m_lastRowID.insert(entity.name, last.front().value(0).toLongLong());
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::keepFilterIndex(const EntityDescription& entity, const QString& key,
    const Predicate& predicate)
{
    using Code = ObjectStoreError::Code;
    QString condition;
    if (!predicate.indexSql(entity, condition)) {
        return ObjectStoreError(Code::IncompatibleModel, QStringLiteral("%1 cannot keep the index %2").arg(entity.name, key));
    }
    const QString name = entity.name + QStringLiteral("_where_") + key;
    const QString sql = QStringLiteral("CREATE INDEX %1 ON %2 (_pk) WHERE %3").arg(quoted(name), quoted(entity.name), condition);
    std::vector<QList<QVariant>> existing;
    if (!m_db->query(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND name = ?"), {name}, existing)) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    if (!existing.empty() && existing.front().value(0).toString() == sql) {
        return std::nullopt;
    }
    // A condition that changed since the index was made would leave it unused.
    const bool kept = (existing.empty() || m_db->exec(QStringLiteral("DROP INDEX %1").arg(quoted(name)))) && m_db->exec(sql);
    if (!kept) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be set up"));
    }
    return std::nullopt;
}

ObjectID ObjectStore::allocateObjectID(SqliteConnection& db, const EntityDescription& entity)
{
    qint64 next = 0;
    QHash<QString, qint64> lastRowIDs;
    {
        const std::lock_guard lock(m_sequenceMutex);
        next = m_lastRowID.value(entity.name) + 1;
        m_lastRowID.insert(entity.name, next);
        lastRowIDs = m_lastRowID;
    }
    // Written at once, so an ID handed out is never handed out again, even when the object is
    // never saved and the process ends.
    if (!writeSequences(db, lastRowIDs)) {
        const std::lock_guard lock(m_sequenceMutex);
        m_sequencesBehind = true;
    }
    return ObjectID(m_identifier, entity.name, next);
}

bool ObjectStore::writeSequences(SqliteConnection& db, const QHash<QString, qint64>& lastRowIDs)
{
    for (auto it = lastRowIDs.cbegin(); it != lastRowIDs.cend(); ++it) {
        const bool written = db.run(db.prepare(
            QStringLiteral("INSERT INTO norvelle_sequence (entity, last) VALUES (?, ?) "
                           "ON CONFLICT (entity) DO UPDATE SET last = max(last, excluded.last)"),
            {it.key(), it.value()}));
        if (!written) {
            return false;
        }
    }
    return true;
}

std::optional<ObjectStoreError> ObjectStore::fetchRows(SqliteConnection& db, const FetchRequest& request, bool applyLimit,
    const std::function<bool(qint64)>& needsValues,
    std::vector<Row>& rows)
{
    using Code = ObjectStoreError::Code;
    const EntityDescription* entity = m_model.entity(request.entityName);
    if (!entity) {
        return ObjectStoreError(Code::ReadFailed, QStringLiteral("The note store has no entity %1").arg(request.entityName));
    }
    QString sql = QStringLiteral("SELECT _pk, %1 FROM %2").arg(columnList(*entity), quoted(entity->name));
    QString condition;
    std::vector<QVariant> bindings;
    if (!request.predicate.sql(*entity, condition, bindings)) {
        return ObjectStoreError(Code::ReadFailed, QStringLiteral("The filter names an attribute %1 does not have").arg(entity->name));
    }
    if (!condition.isEmpty()) {
        sql += QStringLiteral(" WHERE ") + condition;
    }
    QStringList order;
    for (const SortDescriptor& sort : request.sortDescriptors) {
        if (entity->indexOf(sort.attribute) < 0) {
            return ObjectStoreError(Code::ReadFailed, QStringLiteral("%1 has no attribute %2 to sort by").arg(entity->name, sort.attribute));
        }
        order << quoted(sort.attribute) + (sort.ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    }
    order << QStringLiteral("_pk ASC");
    sql += QStringLiteral(" ORDER BY ") + order.join(", ");
    if (applyLimit && request.fetchLimit > 0) {
        sql += QStringLiteral(" LIMIT %1").arg(request.fetchLimit);
    }
    return readRows(db, sql, bindings, *entity, allAttributes(*entity), needsValues,
        [&rows](Row&& row) { rows.push_back(std::move(row)); });
}

std::optional<ObjectStoreError> ObjectStore::fetchRow(SqliteConnection& db, const EntityDescription& entity, qint64 rowID, std::optional<Row>& row)
{
    std::vector<Row> rows;
    if (auto error = fetchRows(db, entity, {rowID}, rows)) {
        return error;
    }
    if (!rows.empty()) {
        row = std::move(rows.front());
    }
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::fetchRows(SqliteConnection& db, const EntityDescription& entity, const std::vector<qint64>& rowIDs,
    std::vector<Row>& rows)
{
    std::vector<int> read;
    std::vector<int> unread;
    for (size_t i = 0; i < entity.attributes.size(); ++i) {
        (entity.attributes[i].readWhenUsed ? unread : read).push_back(int(i));
    }
    return readRowsAmong(db, entity, read, rowIDs, [&](Row&& row) {
        Row whole {.rowID = row.rowID, .values = QList<QVariant>(qsizetype(entity.attributes.size())), .unread = unread};
        for (size_t i = 0; i < read.size(); ++i) {
            whole.values[read[i]] = std::move(row.values[qsizetype(i)]);
        }
        rows.push_back(std::move(whole));
    });
}

std::optional<ObjectStoreError> ObjectStore::storedRowIDs(SqliteConnection& db, const EntityDescription& entity,
    const std::vector<qint64>& rowIDs, QSet<qint64>& stored)
{
    return readRowsAmong(db, entity, {}, rowIDs, [&stored](Row&& row) { stored.insert(row.rowID); });
}

std::optional<ObjectStoreError> ObjectStore::readRowsAmong(SqliteConnection& db, const EntityDescription& entity, const std::vector<int>& attributes,
    const std::vector<qint64>& rowIDs,
    const std::function<void(Row&&)>& take)
{
    QStringList columns {QStringLiteral("_pk")};
    for (const int attribute : attributes) {
        columns << quoted(entity.attributes[size_t(attribute)].name);
    }
    // Well below the number of parameters a statement may take.
    constexpr size_t batch = 500;
    for (size_t start = 0; start < rowIDs.size(); start += batch) {
        const size_t count = std::min(batch, rowIDs.size() - start);
        const std::vector<QVariant> bindings(rowIDs.begin() + qsizetype(start), rowIDs.begin() + qsizetype(start + count));
        const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE _pk IN (%3)")
                                .arg(columns.join(", "), quoted(entity.name), QStringList(qsizetype(count), QStringLiteral("?")).join(u','));
        if (auto error = readRows(db, sql, bindings, entity, attributes, {}, take)) {
            return error;
        }
    }
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::readValues(SqliteConnection& db, const EntityDescription& entity, const std::vector<int>& attributes,
    const std::function<void(qint64, const QList<QVariant>&)>& visit)
{
    QStringList columns;
    for (const int attribute : attributes) {
        if (attribute < 0 || size_t(attribute) >= entity.attributes.size()) {
            return ObjectStoreError(ObjectStoreError::Code::ReadFailed,
                QStringLiteral("%1 has no attribute at %2").arg(entity.name).arg(attribute));
        }
        columns << quoted(entity.attributes[size_t(attribute)].name);
    }
    const QString sql = QStringLiteral("SELECT _pk%1 FROM %2")
                            .arg(columns.isEmpty() ? QString() : ", " + columns.join(", "), quoted(entity.name));
    return readRows(db, sql, {}, entity, attributes, {}, [&visit](Row&& row) { visit(row.rowID, row.values); });
}

std::optional<ObjectStoreError> ObjectStore::readRows(SqliteConnection& db, const QString& sql, const std::vector<QVariant>& bindings,
    const EntityDescription& entity, const std::vector<int>& attributes,
    const std::function<bool(qint64)>& needsValues,
    const std::function<void(Row&&)>& take)
{
    using Code = ObjectStoreError::Code;
    sqlite3_stmt* statement = db.prepare(sql, bindings);
    if (!statement) {
        return failure(db, Code::ReadFailed, QStringLiteral("The notes cannot be read"));
    }
    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
        Row row;
        row.rowID = sqlite3_column_int64(statement, 0);
        if (!needsValues || needsValues(row.rowID)) {
            row.values.reserve(qsizetype(attributes.size()));
            for (size_t i = 0; i < attributes.size(); ++i) {
                row.values.append(valueFromStoredForm(entity.attributes[size_t(attributes[i])].type,
                    SqliteConnection::columnValue(statement, int(i) + 1)));
            }
        }
        take(std::move(row));
    }
    sqlite3_reset(statement);
    if (code != SQLITE_DONE) {
        return failure(db, Code::ReadFailed, QStringLiteral("The notes cannot be read"));
    }
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::readLeadingText(SqliteConnection& db, const EntityDescription& entity, qint64 rowID,
    int attribute, qsizetype length, QString& text)
{
    text.clear();
    if (attribute < 0 || size_t(attribute) >= entity.attributes.size()) {
        return ObjectStoreError(ObjectStoreError::Code::ReadFailed, QStringLiteral("%1 has no attribute at %2").arg(entity.name).arg(attribute));
    }
    // A UTF-16 unit takes at most three bytes of UTF-8, and a character cut at the end is left out.
    const qsizetype bytes = 3 * length + 3;
    // The value is opened where it lies and only its first pages are read: a note's text may be
    // hundreds of megabytes. (The store's text is UTF-8.)
    sqlite3_blob* blob = nullptr;
    const int opened = sqlite3_blob_open(db.handle(), "main", entity.name.toUtf8().constData(),
        entity.attributes[size_t(attribute)].name.toUtf8().constData(), rowID, 0, &blob);
    if (opened != SQLITE_OK) {
        sqlite3_blob_close(blob);
        // No row, or a value that is no text or data (absent): no text.
        return opened == SQLITE_ERROR ? std::nullopt
                                      : std::optional(failure(db, ObjectStoreError::Code::ReadFailed, QStringLiteral("The notes cannot be read")));
    }
    QByteArray leading(std::min<qsizetype>(bytes, sqlite3_blob_bytes(blob)), Qt::Uninitialized);
    const int read = sqlite3_blob_read(blob, leading.data(), int(leading.size()), 0);
    const bool whole = leading.size() == sqlite3_blob_bytes(blob);
    sqlite3_blob_close(blob);
    if (read != SQLITE_OK) {
        return failure(db, ObjectStoreError::Code::ReadFailed, QStringLiteral("The notes cannot be read"));
    }
    if (!whole) {
        leading.chop(incompleteUtf8Tail(leading));
    }
    text = QString::fromUtf8(leading).left(length);
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::write(SqliteConnection& db, const std::vector<const ManagedObject*>& inserted,
    const std::vector<const ManagedObject*>& updated,
    const std::vector<const ManagedObject*>& deleted)
{
    using Code = ObjectStoreError::Code;
    const bool inBackground = &db != m_db.get();
    if (!inBackground && isSavingInBackground()) {
        return ObjectStoreError(Code::WaitingForBackgroundSave, QStringLiteral("The notes wait for a large note to be saved"));
    }
    const BackgroundSave counted(m_backgroundSaves, inBackground);
    if (!db.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return failure(db, Code::WriteFailed, QStringLiteral("The notes cannot be saved"));
    }
    bool written = true;
    for (const ManagedObject* object : inserted) {
        const EntityDescription& entity = object->entity();
        std::vector<QVariant> values = storedValues(*object);
        values.insert(values.begin(), object->objectID().rowID());
        QStringList places(int(entity.attributes.size()) + 1, QStringLiteral("?"));
        const QString sql = QStringLiteral("INSERT INTO %1 (_pk, %2) VALUES (%3)")
                                .arg(quoted(entity.name), columnList(entity), places.join(", "));
        written = written && db.run(db.prepare(sql, values));
    }
    // Only the changed columns are written: a bulk change of a few small values then does not
    // copy every note's text again. Notes changed alike share one statement's text.
    std::map<std::pair<const EntityDescription*, std::vector<int>>, QString> updateSql;
    for (const ManagedObject* object : updated) {
        const EntityDescription& entity = object->entity();
        const std::vector<int> changed = object->changedAttributes();
        if (changed.empty()) {
            continue;
        }
        std::vector<QVariant> values;
        values.reserve(changed.size() + 1);
        for (const int attribute : changed) {
            values.push_back(storedForm(entity.attributes[size_t(attribute)].type, object->value(attribute)));
        }
        values.push_back(object->objectID().rowID());
        const auto [sql, fresh] = updateSql.try_emplace({&entity, changed});
        if (fresh) {
            sql->second = updateStatement(entity, changed);
        }
        written = written && db.run(db.prepare(sql->second, values));
    }
    for (const ManagedObject* object : deleted) {
        const QString sql = QStringLiteral("DELETE FROM %1 WHERE _pk = ?").arg(quoted(object->entity().name));
        written = written && db.run(db.prepare(sql, {object->objectID().rowID()}));
    }
    std::optional<QHash<QString, qint64>> behind;
    {
        const std::lock_guard lock(m_sequenceMutex);
        if (m_sequencesBehind) {
            behind = m_lastRowID;
        }
    }
    if (written && behind) {
        written = writeSequences(db, *behind);
    }
    if (written && db.exec(QStringLiteral("COMMIT"))) {
        if (behind) {
            const std::lock_guard lock(m_sequenceMutex);
            m_sequencesBehind = false;
        }
        return std::nullopt;
    }
    ObjectStoreError error = failure(db, Code::WriteFailed, QStringLiteral("The notes cannot be saved"));
    if (db.inTransaction()) {
        db.exec(QStringLiteral("ROLLBACK"));
    }
    return error;
}

bool ObjectStore::moveFilesAside(const QString& path, QStringList* movedTo)
{
    const QString aside = path + QStringLiteral(".broken-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
    bool moved = true;
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString from = path + suffix;
        if (!QFileInfo::exists(from) && !QFileInfo(from).isSymLink()) {
            continue;
        }
        if (QDir().rename(from, aside + suffix)) {
            if (movedTo) {
                *movedTo << aside + suffix;
            }
        } else {
            moved = false;
        }
    }
    return moved;
}

} // namespace norvelle
