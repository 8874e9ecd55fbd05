#include "objectstore/SqliteConnection.h"

#include "objectstore/SqliteAllocator.h"
#include "platform/HugePages.h"

#include <QStringEncoder>

#include <sqlite3.h>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

// Texts from this length are converted into a buffer that takes huge pages.
constexpr qsizetype largeText = 1 << 20;

QByteArray utf8(const QString& text)
{
    if (text.size() < largeText)
        return text.toUtf8();
    QByteArray bytes(text.size() * 3, Qt::Uninitialized);
    preferHugePages(bytes.data(), size_t(bytes.size()));
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    bytes.truncate(encoder.appendToBuffer(bytes.data(), text) - bytes.constData());
    // The encoder writes U+FFFD for a lone surrogate where toUtf8() writes '?', as stored
    // notes have it.
    if (bytes.contains("\xEF\xBF\xBD"))
        return text.toUtf8();
    return bytes;
}

} // namespace

SqliteConnection::SqliteConnection(const QString& path, Opening opening)
{
    SqliteAllocator::install();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (opening == Opening::createWhenMissing ? SQLITE_OPEN_CREATE : 0);
    m_openCode = sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags, nullptr);
    if (m_db) {
        // A second program holding a write lock for a moment must not fail a save at once.
        sqlite3_busy_timeout(m_db, 5000);
        sqlite3_extended_result_codes(m_db, 0);
    }
}

SqliteConnection::~SqliteConnection()
{
    for (sqlite3_stmt* statement : std::as_const(m_statements)) {
        sqlite3_finalize(statement);
    }
    sqlite3_close_v2(m_db);
}

bool SqliteConnection::isReadOnly() const
{
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

int SqliteConnection::errorCode() const
{
    return m_db ? (sqlite3_errcode(m_db) & 0xff) : SQLITE_NOMEM;
}

QString SqliteConnection::errorMessage() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
}

bool SqliteConnection::exec(const QString& sql)
{
    return m_db && sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

sqlite3_stmt* SqliteConnection::prepare(const QString& sql, const std::vector<QVariant>& bindings)
{
    if (!m_db) {
        return nullptr;
    }
    sqlite3_stmt* statement = m_statements.value(sql);
    if (!statement) {
        const QByteArray text = sql.toUtf8();
        if (sqlite3_prepare_v3(m_db, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
            return nullptr;
        }
        m_statements.insert(sql, statement);
    }
    sqlite3_reset(statement);
    unbind(statement);
    for (size_t i = 0; i < bindings.size(); ++i) {
        if (!bind(statement, int(i) + 1, bindings[i], m_boundBytes[statement])) {
            return nullptr;
        }
    }
    return statement;
}

bool SqliteConnection::run(sqlite3_stmt* statement)
{
    if (!statement) {
        return false;
    }
    int code = SQLITE_ROW;
    while (code == SQLITE_ROW) {
        code = sqlite3_step(statement);
    }
    sqlite3_reset(statement);
    unbind(statement);
    return code == SQLITE_DONE;
}

bool SqliteConnection::query(const QString& sql, const std::vector<QVariant>& bindings, std::vector<QList<QVariant>>& rows)
{
    sqlite3_stmt* statement = prepare(sql, bindings);
    if (!statement) {
        return false;
    }
    const int columns = sqlite3_column_count(statement);
    int code;
    while ((code = sqlite3_step(statement)) == SQLITE_ROW) {
        QList<QVariant> row;
        row.reserve(columns);
        for (int column = 0; column < columns; ++column) {
            row.append(columnValue(statement, column));
        }
        rows.push_back(std::move(row));
    }
    sqlite3_reset(statement);
    return code == SQLITE_DONE;
}

void SqliteConnection::unbind(sqlite3_stmt* statement)
{
    sqlite3_clear_bindings(statement);
    m_boundBytes.remove(statement);
}

bool SqliteConnection::inTransaction() const
{
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void SqliteConnection::leaveFilesAsTheyAreOnClose()
{
    if (!m_db) {
        return;
    }
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int persist = 1;
    sqlite3_file_control(m_db, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
}

QString SqliteConnection::quoted(const QString& name)
{
    return '"' + QString(name).replace('"', QStringLiteral("\"\"")) + '"';
}

QString SqliteConnection::literal(const QVariant& value)
{
    if (!value.isValid()) {
        return QStringLiteral("NULL");
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return QString::number(value.toLongLong());
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (std::isnan(number)) {
            return QStringLiteral("NULL");
        }
        // SQLite reads a literal beyond the range of a double as infinity.
        return std::isinf(number) ? (number > 0 ? QStringLiteral("9e999") : QStringLiteral("-9e999"))
                                  : QString::number(number, 'g', 17);
    }
    case QMetaType::QByteArray:
        return QStringLiteral("X'%1'").arg(QString::fromLatin1(value.toByteArray().toHex()));
    default:
        return '\'' + value.toString().replace('\'', QStringLiteral("''")) + '\'';
    }
}

QVariant SqliteConnection::columnValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, column);
    case SQLITE_TEXT:
        return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
            sqlite3_column_bytes(statement, column));
    case SQLITE_BLOB: {
        const void* bytes = sqlite3_column_blob(statement, column);
        const int size = sqlite3_column_bytes(statement, column);
        return bytes ? QByteArray(static_cast<const char*>(bytes), size) : QByteArray("");
    }
    default:
        return {};
    }
}

bool SqliteConnection::bind(sqlite3_stmt* statement, int position, const QVariant& value, std::vector<BoundBytes>& kept)
{
    if (!value.isValid()) {
        return sqlite3_bind_null(statement, position) == SQLITE_OK;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return sqlite3_bind_int64(statement, position, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, position, value.toDouble()) == SQLITE_OK;
    case QMetaType::QByteArray: {
        const QByteArray& bytes = kept.emplace_back(BoundBytes {value.toByteArray(), {}}).bytes;
        // An empty blob must stay an empty value, not NULL.
        if (bytes.isEmpty()) {
            return sqlite3_bind_zeroblob(statement, position, 0) == SQLITE_OK;
        }
        return sqlite3_bind_blob64(statement, position, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_STATIC) == SQLITE_OK;
    }
    default: {
        const QString source = value.toString();
        // A note of one line binds its text twice, as its text and as its title.
        const auto same = std::find_if(kept.cbegin(), kept.cend(), [&source](const BoundBytes& bound) {
            return !bound.text.isNull() && bound.text.constData() == source.constData() && bound.text.size() == source.size();
        });
        const QByteArray& text = same != kept.cend() ? same->bytes : kept.emplace_back(BoundBytes {utf8(source), source}).bytes;
        return sqlite3_bind_text64(statement, position, text.constData(), sqlite3_uint64(text.size()), SQLITE_STATIC, SQLITE_UTF8) == SQLITE_OK;
    }
    }
}

} // namespace norvelle
