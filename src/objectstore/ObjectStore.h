#pragma once

#include "objectstore/EntityDescription.h"
#include "objectstore/FetchRequest.h"
#include "objectstore/ObjectID.h"
#include "objectstore/ObjectStoreError.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace norvelle {

class ManagedObject;
class ObjectContext;
class SqliteConnection;
class WalCheckpointer;

// A persistent container: one SQLite database holding one table per entity of a model, and
// the view context through which the program reads and writes it (main thread only). Work too
// large for the main thread goes through a background context, on a connection of its own.
//
// On disk the database runs in WAL mode, so "<file>-wal" and "<file>-shm" sit beside it.
// Loading brings the tables up to the model: a missing table is created, an attribute the model
// gained becomes a column; an attribute whose stored type differs fails the load.
class ObjectStore {
public:
    static inline const QString inMemoryPath = QStringLiteral(":memory:");

    // Opens and loads the store at `path` (inMemoryPath for one that never touches the disk).
    // Returns null and sets `error` when it cannot be loaded.
    static std::unique_ptr<ObjectStore> open(const QString& path, const ObjectModel& model,
        std::optional<ObjectStoreError>& error);
    ~ObjectStore();

    QString path() const { return m_path; }
    bool isInMemory() const { return m_path == inMemoryPath; }
    // Made with the file, kept for its life: the host part of every object ID URI.
    QUuid identifier() const { return m_identifier; }
    const ObjectModel& model() const { return m_model; }
    ObjectContext& viewContext() { return *m_viewContext; }
    // A new context for one thread other than the main one, with a connection of its own: its
    // reads and its save run on that thread and leave the view context free. A save waits
    // (a few seconds at most) while another connection writes. Null for a store in memory,
    // which no second connection can see, or when the file cannot be opened again. The store
    // must outlive it.
    std::unique_ptr<ObjectContext> newBackgroundContext();
    // The connection of the view context.
    SqliteConnection& mainConnection() { return *m_db; }
    // While a background context writes, the view context's save is refused at once instead of
    // holding the main thread until SQLite's write lock is free.
    bool isSavingInBackground() const { return m_backgroundSaves > 0; }

    // Renames the database and its -wal and -shm companions to "<file>.broken-<UTC time>",
    // "<file>.broken-<UTC time>-wal" and "-shm", so the set still opens as one database for a
    // recovery. Returns the new paths of the files that existed; false when one could not move.
    static bool moveFilesAside(const QString& path, QStringList* movedTo = nullptr);
    // Renames, as moveFilesAside does, the -wal and -shm beside `path` that are not regular files
    // (a folder, a pipe, a link to a device): they hold no log, and the store opens without them.
    // The store and a regular -wal, which holds the last saves, stay. False when one could not move.
    static bool moveStrayCompanionsAside(const QString& path, QStringList* movedTo = nullptr);

    // The row-level operations the contexts use, each on the context's connection.
    struct Row {
        qint64 rowID = 0;
        QList<QVariant> values; // empty when the caller said it needs none
        std::vector<int> unread; // the attributes left in the store, absent in `values`
    };
    // A new object ID for `entity`, never handed out before in this store.
    ObjectID allocateObjectID(SqliteConnection& db, const EntityDescription& entity);
    // The rows matching `request` in its order; values are read only for rows for which
    // `needsValues` holds. `applyLimit` false ignores the request's fetch limit.
    std::optional<ObjectStoreError> fetchRows(SqliteConnection& db, const FetchRequest& request, bool applyLimit,
        const std::function<bool(qint64)>& needsValues,
        std::vector<Row>& rows);
    // The stored row `rowID` of `entity`, if there is one; the attributes read when used are
    // left unread.
    std::optional<ObjectStoreError> fetchRow(SqliteConnection& db, const EntityDescription& entity, qint64 rowID, std::optional<Row>& row);
    // The stored rows of `entity` among `rowIDs`, in no particular order, read a few hundred
    // at a time rather than one by one; the attributes read when used are left unread.
    std::optional<ObjectStoreError> fetchRows(SqliteConnection& db, const EntityDescription& entity, const std::vector<qint64>& rowIDs,
        std::vector<Row>& rows);
    // Which of `rowIDs` are stored rows of `entity`: looked up by id, whatever the table holds.
    std::optional<ObjectStoreError> storedRowIDs(SqliteConnection& db, const EntityDescription& entity, const std::vector<qint64>& rowIDs,
        QSet<qint64>& stored);
    // The stored values of `attributes` (positions in the entity, in that order) of every row of
    // `entity`, handed to `visit` one row at a time, in no particular order.
    std::optional<ObjectStoreError> readValues(SqliteConnection& db, const EntityDescription& entity, const std::vector<int>& attributes,
        const std::function<void(qint64 rowID, const QList<QVariant>& values)>& visit);
    // The rows of `entity` among `rowIDs` with the values of `attributes`, a batch at a time.
    std::optional<ObjectStoreError> readRowsAmong(SqliteConnection& db, const EntityDescription& entity, const std::vector<int>& attributes,
        const std::vector<qint64>& rowIDs, const std::function<void(Row&&)>& take);
    // The start of the stored text `attribute` of row `rowID`: all of it when it is shorter
    // than `length` UTF-16 units, else its first `length`; only that much is read.
    std::optional<ObjectStoreError> readLeadingText(SqliteConnection& db, const EntityDescription& entity, qint64 rowID,
        int attribute, qsizetype length, QString& text);
    // Writes all changes in one transaction; on failure nothing is written.
    std::optional<ObjectStoreError> write(SqliteConnection& db, const std::vector<const ManagedObject*>& inserted,
        const std::vector<const ManagedObject*>& updated,
        const std::vector<const ManagedObject*>& deleted);

private:
    static inline const QStringList companionSuffixes {QStringLiteral("-wal"), QStringLiteral("-shm")};

    ObjectStore(QString path, const ObjectModel& model, std::unique_ptr<SqliteConnection> connection);
    static bool moveAside(const QString& path, const QStringList& suffixes, QStringList* movedTo);
    // Something is at `file`, but no regular file.
    static bool isStray(const QString& file);
    std::optional<ObjectStoreError> load();
    std::optional<ObjectStoreError> checkCompanions() const;
    std::optional<ObjectStoreError> checkIsNorvelleStore();
    std::optional<ObjectStoreError> checkLength(bool logHeldPages);
    std::optional<ObjectStoreError> loadSchema();
    std::optional<ObjectStoreError> migrateEntity(const EntityDescription& entity);
    std::optional<ObjectStoreError> keepFilterIndex(const EntityDescription& entity, const QString& key, const Predicate& predicate);
    ObjectStoreError failure(ObjectStoreError::Code code, const QString& what) const { return failure(*m_db, code, what); }
    ObjectStoreError failure(const SqliteConnection& db, ObjectStoreError::Code code, const QString& what) const;
    // Sets up a connection the way the store uses it.
    bool prepareConnection(SqliteConnection& db);
    bool writeSequences(SqliteConnection& db, const QHash<QString, qint64>& lastRowIDs);
    // Steps through the rows `sql` selects (_pk, then the columns of `attributes`), handing each
    // to `take`, with its values when `needsValues` holds for its row ID.
    std::optional<ObjectStoreError> readRows(SqliteConnection& db, const QString& sql, const std::vector<QVariant>& bindings,
        const EntityDescription& entity, const std::vector<int>& attributes,
        const std::function<bool(qint64)>& needsValues,
        const std::function<void(Row&&)>& take);

    QString m_path;
    const ObjectModel& m_model;
    std::unique_ptr<SqliteConnection> m_db;
    // Declared after the connection, so it stops before the connection closes.
    std::unique_ptr<WalCheckpointer> m_checkpointer;
    QUuid m_identifier;
    // Contexts on other threads allocate too.
    std::mutex m_sequenceMutex;
    std::atomic<int> m_backgroundSaves = 0;
    QHash<QString, qint64> m_lastRowID;
    bool m_sequencesBehind = false; // an allocation could not be written; the next save does
    std::unique_ptr<ObjectContext> m_viewContext;
};

} // namespace norvelle
