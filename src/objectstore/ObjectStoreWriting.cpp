#include "objectstore/ObjectStore.h"

#include "objectstore/EntityColumns.h"
#include "objectstore/ManagedObject.h"
#include "objectstore/SqliteConnection.h"

#include <map>

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

} // namespace

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

} // namespace norvelle
