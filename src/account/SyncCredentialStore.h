#pragma once

#include "account/StoredSyncSession.h"
#include "account/SyncCredentialError.h"

#include <QString>
#include <QUrl>

#include <functional>
#include <mutex>
#include <optional>

namespace norvelle {

// The signed-in session: one JSON file only the user can read, and beside it the record of the
// server that issued it (SessionIssuer), with a memory cache in front. Any thread may call it.
class SyncCredentialStore {
public:
    using FileReader = std::function<std::optional<QByteArray>(const QString& path)>;

    // The file is `folder`/sync-session.json. `readFile` reads the file outside the lock
    // (tests put a concurrent change in there).
    explicit SyncCredentialStore(QString folder = defaultFolder(), FileReader readFile = readWholeFile);

    static SyncCredentialStore& shared();
    // The program's own folder in the user's data folder.
    static QString defaultFolder();

    // Writes the file atomically (0600, in a 0700 folder), then the record of `issuer`'s server
    // the same way, and caches both; refuses a session whose file would be larger than load()
    // reads. Should the record fail, the session on disk has no known issuer.
    [[nodiscard]] std::optional<SyncCredentialError> save(const StoredSyncSession& session, const QUrl& issuer);
    // The cached session, else the file's; nothing when absent or unreadable (the file is left
    // as it is).
    std::optional<StoredSyncSession> load();
    // The server that issued the stored session; nothing without a session, or when no record
    // was written with the session file as it is now.
    std::optional<QString> issuer();
    // Records `server` as the issuer of the stored session when it has no record yet; does
    // nothing without a session or when one was written.
    [[nodiscard]] std::optional<SyncCredentialError> adoptIssuer(const QString& server);
    void clear();

    QString sessionFilePath() const;
    QString issuerFilePath() const;

    // Far more than any session needs; a larger file reads as no session.
    static constexpr qint64 maximumFileBytes = 1024 * 1024;

    // The file's bytes; nothing for what is no regular file, cannot be read or is larger than
    // the maximum.
    static std::optional<QByteArray> readWholeFile(const QString& path);

private:
    struct Stored {
        StoredSyncSession session;
        std::optional<QString> issuer;
    };
    std::optional<Stored> loadStored();
    // The record for these session-file bytes, written atomically and owner-only.
    std::optional<SyncCredentialError> writeIssuer(const QString& server, const QByteArray& sessionFile);

    // Makes sure the folder exists and is private; returns the file path.
    QString prepareSessionFile() const;

    QString m_folder;
    FileReader m_readFile;
    std::mutex m_lock;
    std::optional<Stored> m_memoryCache;
    // Bumped by every save and clear, so a load that read the file meanwhile does not put
    // an older state back into the cache.
    quint64 m_generation = 0;
};

} // namespace norvelle
