#pragma once

#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

struct sqlite3;

namespace norvelle {

// Copies a store's write-ahead log back into its database on a thread of its own, so a save
// does not wait for the copy and the disk syncs it takes. What a save commits is in the log,
// which outlives the program being killed; the copy only keeps the log from growing.
//
//     WalCheckpointer checkpointer(path, connection);   // connection: the store's own, in WAL mode
//     // ... every commit on `connection` that leaves a long log wakes the thread
class WalCheckpointer {
public:
    // Takes the log of `store` (a connection to the file at `path`) over from the copies SQLite
    // makes in the committing thread. Without a thread-safe SQLite it leaves them as they are.
    WalCheckpointer(const QString& path, sqlite3* store);
    // Waits for a copy under way.
    ~WalCheckpointer();
    WalCheckpointer(const WalCheckpointer&) = delete;
    WalCheckpointer& operator=(const WalCheckpointer&) = delete;

private:
    static int committed(void* checkpointer, sqlite3* connection, const char* database, int frames);
    void copyLogs();

    QString m_path;
    sqlite3* m_store = nullptr;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_wanted = false;
    bool m_stopping = false;
    // Whether the thread has a connection of its own to copy with.
    std::atomic<bool> m_copierOpen = false;
    std::thread m_thread;
};

} // namespace norvelle
