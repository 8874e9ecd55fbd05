#include "objectstore/WalCheckpointer.h"

#include <sqlite3.h>

#include <utility>

namespace norvelle {

namespace {

// Pages in the log from which it is copied back: SQLite's own point for that.
constexpr int framesToCopy = 1000;
// Without the thread, a log grown this far is copied by the commit itself, as SQLite would, so
// it stays bounded. With it, a copy in the commit would only hold the saving thread: a log made
// long by one large save (an imported file) is copied in a second or more, and while the thread
// copies, a second copy cannot start anyway.
constexpr int framesToWaitFor = 16 * framesToCopy;

} // namespace

WalCheckpointer::WalCheckpointer(const QString& path, sqlite3* store)
    : m_path(path)
{
    if (!store || !sqlite3_threadsafe())
        return;
    m_store = store;
    m_thread = std::thread([this] { copyLogs(); });
    sqlite3_wal_hook(m_store, &WalCheckpointer::committed, this);
}

WalCheckpointer::~WalCheckpointer()
{
    if (!m_store)
        return;
    sqlite3_wal_autocheckpoint(m_store, framesToCopy);
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

int WalCheckpointer::committed(void* checkpointer, sqlite3* connection, const char* database, int frames)
{
    auto* self = static_cast<WalCheckpointer*>(checkpointer);
    if (!self->m_copierOpen) {
        if (frames >= framesToWaitFor)
            sqlite3_wal_checkpoint_v2(connection, database, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    } else if (frames >= framesToCopy) {
        {
            const std::lock_guard lock(self->m_mutex);
            self->m_wanted = true;
        }
        self->m_wake.notify_one();
    }
    return SQLITE_OK;
}

void WalCheckpointer::copyLogs()
{
    // Never creating a file: the store's may have been moved aside meanwhile.
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(m_path.toUtf8().constData(), &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK) {
        // The store's own connection ends the log when the store closes.
        sqlite3_db_config(connection, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_exec(connection, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        m_copierOpen = true;
    } else {
        sqlite3_close(connection);
        connection = nullptr;
    }
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        m_wake.wait(lock, [this] { return m_wanted || m_stopping; });
        if (m_stopping || !std::exchange(m_wanted, false))
            continue;
        lock.unlock();
        if (connection)
            sqlite3_wal_checkpoint_v2(connection, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        lock.lock();
    }
    lock.unlock();
    sqlite3_close(connection);
}

} // namespace norvelle
