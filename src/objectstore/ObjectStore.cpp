#include "objectstore/ObjectStore.h"

#include "objectstore/ObjectContext.h"
#include "objectstore/SqliteConnection.h"
#include "objectstore/WalCheckpointer.h"
#include "platform/RegularFile.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace norvelle {

namespace {

constexpr auto quoted = &SqliteConnection::quoted;

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
    if (!isInMemory()) {
        if (auto error = checkCompanions()) {
            return *error;
        }
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
        if (auto error = checkIsNorvelleStore()) {
            return *error;
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

std::optional<ObjectStoreError> ObjectStore::checkCompanions() const
{
    using Code = ObjectStoreError::Code;
    for (const QString& suffix : companionSuffixes) {
        const QString companion = m_path + suffix;
        // SQLite would block on a pipe or read a device without end.
        if (isStray(companion)) {
            return ObjectStoreError(Code::CannotOpen, QStringLiteral("%1, a file of the note store, is not a regular file").arg(companion), companion);
        }
        // SQLite's error would name the store itself.
        const QFileInfo info(companion);
        if (info.exists() && !(info.isReadable() && info.isWritable())) {
            return ObjectStoreError(Code::NoAccess, QStringLiteral("Your user may not read and write %1, a file of the note store").arg(companion), companion);
        }
    }
    return std::nullopt;
}

std::optional<ObjectStoreError> ObjectStore::checkIsNorvelleStore()
{
    using Code = ObjectStoreError::Code;
    // Only read: switching to a write-ahead log rewrites the header of a file that keeps none, and
    // a database of another program is set aside exactly as it was found.
    std::vector<QList<QVariant>> schema;
    const QString sql = QStringLiteral("SELECT count(*), count(*) FILTER (WHERE type = 'table' AND name = 'norvelle_metadata') "
                                       "FROM sqlite_master");
    if (!m_db->query(sql, {}, schema) || schema.empty()) {
        return failure(Code::NotReadable, QStringLiteral("The note store cannot be read"));
    }
    const bool isNew = schema.front().value(0).toLongLong() == 0;
    const bool isOurs = schema.front().value(1).toLongLong() > 0;
    if (!isNew && !isOurs) {
        return ObjectStoreError(Code::NotReadable, QStringLiteral("The note store (%1) is a database of another program").arg(m_path));
    }
    return std::nullopt;
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

} // namespace norvelle
