#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace norvelle {

// One SQLite connection with a cache of prepared statements. Values cross as QVariant:
// absent = NULL, qint64/bool = INTEGER, double = REAL, QString = TEXT, QByteArray = BLOB.
class SqliteConnection {
public:
    // Bytes bound to a statement, with the text they were converted from, if any.
    struct BoundBytes {
        QByteArray bytes;
        QString text;
    };

    enum class Opening { createWhenMissing,
        existingOnly };
    // Opens the file at `path`, or a private in-memory database for ":memory:". Check isOpen()
    // and errorMessage() afterwards.
    explicit SqliteConnection(const QString& path, Opening opening = Opening::createWhenMissing);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    bool isOpen() const { return m_db != nullptr && m_openCode == 0; }
    bool isReadOnly() const;
    sqlite3* handle() const { return m_db; }

    // The primary result code and message of the last failure.
    int errorCode() const;
    QString errorMessage() const;

    // Runs statements that return nothing of interest.
    bool exec(const QString& sql);
    // Runs one statement and returns its rows (each a list of column values).
    bool query(const QString& sql, const std::vector<QVariant>& bindings, std::vector<QList<QVariant>>& rows);
    // The cached prepared statement for `sql`, reset and with the values bound; null on error.
    sqlite3_stmt* prepare(const QString& sql, const std::vector<QVariant>& bindings = {});
    // Steps a statement with no result rows to its end.
    bool run(sqlite3_stmt* statement);

    bool inTransaction() const;

    // Closing will neither checkpoint nor remove the write-ahead log: a store that failed to
    // load is kept exactly as it was found.
    void leaveFilesAsTheyAreOnClose();

    // A table or column name as an SQL identifier.
    static QString quoted(const QString& name);
    // A value as an SQL literal, of the type bind() gives it.
    static QString literal(const QVariant& value);
    static QVariant columnValue(sqlite3_stmt* statement, int column);
    // Binds without copying: the bytes of a text or blob are kept in `kept`, which must outlive
    // the statement's use of them. A text bound again is converted once.
    static bool bind(sqlite3_stmt* statement, int position, const QVariant& value, std::vector<BoundBytes>& kept);

private:
    void unbind(sqlite3_stmt* statement);

    sqlite3* m_db = nullptr;
    int m_openCode = 0;
    QHash<QString, sqlite3_stmt*> m_statements;
    // Each statement's bound text and blob bytes, kept until it is done: SQLite then reads a
    // note's megabytes where they are instead of copying them.
    QHash<sqlite3_stmt*, std::vector<BoundBytes>> m_boundBytes;
};

} // namespace norvelle
