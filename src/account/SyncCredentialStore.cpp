#include "account/SyncCredentialStore.h"

#include "account/SessionIssuer.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"
#include "platform/SystemLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace norvelle {

namespace {

constexpr QFileDevice::Permissions ownerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions ownerOnlyFolder = ownerOnlyFile | QFileDevice::ExeOwner;
// A server's address and a digest: far less than this.
constexpr qint64 maximumIssuerFileBytes = 64 * 1024;

} // namespace

SyncCredentialStore::SyncCredentialStore(QString folder, FileReader readFile)
    : m_folder(std::move(folder))
    , m_readFile(std::move(readFile))
{
}

SyncCredentialStore& SyncCredentialStore::shared()
{
    static SyncCredentialStore store;
    return store;
}

QString SyncCredentialStore::defaultFolder()
{
    return AppPaths::applicationSupportDirectory() + "/Norvelle";
}

QString SyncCredentialStore::sessionFilePath() const
{
    return m_folder + "/sync-session.json";
}

QString SyncCredentialStore::issuerFilePath() const
{
    return m_folder + "/sync-session-issuer.json";
}

QString SyncCredentialStore::prepareSessionFile() const
{
    // The folder is tightened even when it already existed: the session's tokens live here.
    if (AppPaths::ensureDirectory(m_folder)) {
        QFile::setPermissions(m_folder, ownerOnlyFolder);
    }
    return sessionFilePath();
}

std::optional<QByteArray> SyncCredentialStore::readWholeFile(const QString& path)
{
    RegularFile::Result file = RegularFile::read(path, maximumFileBytes);
    if (!file.ok()) {
        // A session that is there but cannot be taken signs the user out: say why.
        if (file.outcome != RegularFile::Outcome::missing) {
            SystemLog(QStringLiteral("sync")).error(QStringLiteral("The sync session file was not read: ") + file.reason);
        }
        return std::nullopt;
    }
    return std::move(file.bytes);
}

std::optional<SyncCredentialError> SyncCredentialStore::writeIssuer(const QString& server, const QByteArray& sessionFile)
{
    if (const std::optional<QString> failure = AtomicFile::write(issuerFilePath(), SessionIssuer::record(server, sessionFile), AtomicFile::Access::ownerOnly)) {
        return SyncCredentialError(SyncCredentialError::Kind::Write, *failure);
    }
    return std::nullopt;
}

std::optional<SyncCredentialError> SyncCredentialStore::save(const StoredSyncSession& session, const QUrl& issuer)
{
    std::lock_guard guard(m_lock);
    const std::optional<QByteArray> data = session.toJson();
    if (!data) {
        return SyncCredentialError(SyncCredentialError::Kind::Encode, "The session's expiry date is not valid.");
    }
    // A file load() would refuse is a sign-out at the next launch: refuse it now instead.
    if (data->size() > maximumFileBytes) {
        return SyncCredentialError(SyncCredentialError::Kind::TooLarge, "The session is larger than a session file may be.");
    }
    const QString path = prepareSessionFile();
    // The tokens are never readable by others, not even before the rename.
    if (const std::optional<QString> failure = AtomicFile::write(path, *data, AtomicFile::Access::ownerOnly)) {
        return SyncCredentialError(SyncCredentialError::Kind::Write, *failure);
    }
    ++m_generation;
    // The record names this file's bytes, so an earlier record never vouches for this session.
    const QString server = SessionIssuer::serverOf(issuer);
    if (std::optional<SyncCredentialError> error = writeIssuer(server, *data)) {
        m_memoryCache.reset();
        return error;
    }
    m_memoryCache = Stored {session, server};
    return std::nullopt;
}

std::optional<SyncCredentialError> SyncCredentialStore::adoptIssuer(const QString& server)
{
    std::lock_guard guard(m_lock);
    if (QFileInfo::exists(issuerFilePath())) {
        return std::nullopt;
    }
    const std::optional<QByteArray> data = m_readFile(prepareSessionFile());
    if (!data || !StoredSyncSession::fromJson(*data)) {
        return std::nullopt;
    }
    ++m_generation;
    m_memoryCache.reset();
    return writeIssuer(server, *data);
}

std::optional<StoredSyncSession> SyncCredentialStore::load()
{
    const std::optional<Stored> stored = loadStored();
    return stored ? std::optional(stored->session) : std::nullopt;
}

std::optional<QString> SyncCredentialStore::issuer()
{
    const std::optional<Stored> stored = loadStored();
    return stored ? stored->issuer : std::nullopt;
}

std::optional<SyncCredentialStore::Stored> SyncCredentialStore::loadStored()
{
    quint64 generation = 0;
    {
        std::lock_guard guard(m_lock);
        if (m_memoryCache) {
            return m_memoryCache;
        }
        generation = m_generation;
    }
    const QString path = prepareSessionFile();
    std::optional<Stored> stored;
    if (QFileInfo::exists(path)) {
        if (const std::optional<QByteArray> data = m_readFile(path)) {
            if (std::optional<StoredSyncSession> session = StoredSyncSession::fromJson(*data)) {
                const RegularFile::Result record = RegularFile::read(issuerFilePath(), maximumIssuerFileBytes);
                stored = Stored {*session, record.ok() ? SessionIssuer::fromRecord(record.bytes, *data) : std::nullopt};
            }
        }
    }
    std::lock_guard guard(m_lock);
    if (generation != m_generation) {
        // A save or clear finished while the file was read: its state is the newer one.
        return m_memoryCache;
    }
    m_memoryCache = stored;
    return stored;
}

void SyncCredentialStore::clear()
{
    std::lock_guard guard(m_lock);
    QFile::remove(sessionFilePath());
    QFile::remove(issuerFilePath());
    m_memoryCache.reset();
    ++m_generation;
}

} // namespace norvelle
