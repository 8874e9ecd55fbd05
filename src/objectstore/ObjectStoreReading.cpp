#include "objectstore/ObjectStore.h"

#include "objectstore/EntityColumns.h"
#include "objectstore/SqliteConnection.h"

#include <sqlite3.h>

#include <numeric>

namespace norvelle {

namespace {

constexpr auto quoted = &SqliteConnection::quoted;

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

} // namespace

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

} // namespace norvelle
