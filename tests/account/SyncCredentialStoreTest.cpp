#include "account/SyncCredentialStore.h"

#include "support/LogCapture.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>

using namespace norvelle;

namespace {

const QUrl issuer("https://sync.example");

StoredSyncSession sampleSession(const QString& user = "user-1")
{
    return {user, "access-" + user, "refresh-" + user,
        QDateTime::fromMSecsSinceEpoch(1893456000123, Qt::UTC)};
}

QString folder()
{
    return test::TestHomeListener::home() + "/data/Norvelle";
}

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

mode_t modeOf(const QString& path)
{
    struct stat info { };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 0777;
}

} // namespace

TEST(SyncCredentialStore, SavedSessionReadsBackInAFreshStoreToTheMillisecond)
{
    SyncCredentialStore store;
    ASSERT_FALSE(store.save(sampleSession(), issuer));
    EXPECT_EQ(store.sessionFilePath(), folder() + "/sync-session.json");

    SyncCredentialStore fresh;
    EXPECT_EQ(fresh.load(), sampleSession());
}

TEST(SyncCredentialStore, FileHoldsTheFourKeysWithTheDateAsReferenceSeconds)
{
    SyncCredentialStore store;
    ASSERT_FALSE(store.save(sampleSession(), issuer));
    const QByteArray json = readFile(store.sessionFilePath());
    EXPECT_FALSE(json.contains('\n'));
    EXPECT_TRUE(json.contains("\"expiresAt\":915148800.123")) << json.constData();
    EXPECT_TRUE(json.contains("\"userId\":\"user-1\""));
}

TEST(SyncCredentialStore, FileIsOwnerOnlyInAnOwnerOnlyFolderEvenWhenTheFolderExisted)
{
    QDir().mkpath(folder());
    QFile::setPermissions(folder(), QFileDevice::Permissions(0x7755));
    SyncCredentialStore store;
    ASSERT_FALSE(store.save(sampleSession(), issuer));
    EXPECT_EQ(modeOf(store.sessionFilePath()), 0600u);
    EXPECT_EQ(modeOf(store.issuerFilePath()), 0600u);
    EXPECT_EQ(modeOf(folder()), 0700u);
    // Nothing but the session and its issuer is left behind.
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList({"sync-session-issuer.json", "sync-session.json"}));
}

TEST(SyncCredentialStore, TheIssuerIsKnownOnlyForTheSessionFileItWasRecordedWith)
{
    ASSERT_FALSE(SyncCredentialStore().save(sampleSession(), issuer));
    EXPECT_EQ(SyncCredentialStore().issuer(), "https://sync.example");

    // A session file written by other means (an earlier version, a copy from elsewhere) is
    // not vouched for by the record; nor is a record that names no session.
    SyncCredentialStore store;
    writeFile(store.sessionFilePath(), *sampleSession("other").toJson());
    EXPECT_EQ(SyncCredentialStore().load(), sampleSession("other"));
    EXPECT_EQ(SyncCredentialStore().issuer(), std::nullopt);
    writeFile(store.issuerFilePath(), R"({"server":"https://sync.example"})");
    EXPECT_EQ(SyncCredentialStore().issuer(), std::nullopt);

    ASSERT_FALSE(store.adoptIssuer("https://kept.example"));
    EXPECT_EQ(SyncCredentialStore().issuer(), std::nullopt) << "a record that exists is not replaced";
    ASSERT_TRUE(QFile::remove(store.issuerFilePath()));
    ASSERT_FALSE(store.adoptIssuer("https://kept.example"));
    EXPECT_EQ(SyncCredentialStore().issuer(), "https://kept.example");
    EXPECT_EQ(store.issuer(), "https://kept.example");

    store.clear();
    EXPECT_FALSE(QFile::exists(store.issuerFilePath()));
}

TEST(SyncCredentialStore, MissingFileIsNoSessionAndIsLookedForAgain)
{
    SyncCredentialStore store;
    EXPECT_FALSE(store.load());
    ASSERT_FALSE(SyncCredentialStore().save(sampleSession("other"), issuer));
    EXPECT_EQ(store.load(), sampleSession("other"));
}

TEST(SyncCredentialStore, BadFilesReadAsNoSessionAndStayUntouched)
{
    const QByteArray bad[] = {
        "",
        "not json",
        "[1,2]",
        R"({"userId":"u","accessToken":"a","expiresAt":1})",
        R"({"userId":"u","accessToken":"a","refreshToken":"r","expiresAt":"2030-01-01T00:00:00Z"})",
        R"({"userId":7,"accessToken":"a","refreshToken":"r","expiresAt":1})",
        R"({"userId":"u","accessToken":"a","refreshToken":"r","expiresAt":1e300})",
    };
    for (const QByteArray& content : bad) {
        SyncCredentialStore store;
        writeFile(store.sessionFilePath(), content);
        EXPECT_FALSE(store.load()) << content.constData();
        EXPECT_EQ(readFile(store.sessionFilePath()), content);
    }
}

TEST(SyncCredentialStore, OversizedFilesAndPipesReadAsNoSessionAndStayInPlaceWithALogLine)
{
    test::LogCapture log;
    SyncCredentialStore store;
    const QByteArray valid = R"({"userId":"u","accessToken":"a","refreshToken":"r","expiresAt":1})";
    const QByteArray padded = valid + QByteArray(SyncCredentialStore::maximumFileBytes, ' ');
    writeFile(store.sessionFilePath(), padded);
    EXPECT_FALSE(store.load());
    EXPECT_EQ(QFileInfo(store.sessionFilePath()).size(), padded.size());

    // Opening a pipe for reading would wait for a writer that never comes.
    SyncCredentialStore pipeStore;
    ASSERT_TRUE(QFile::remove(pipeStore.sessionFilePath()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipeStore.sessionFilePath()).constData(), 0600), 0);
    EXPECT_FALSE(pipeStore.load());
    EXPECT_TRUE(QFileInfo(pipeStore.sessionFilePath()).exists());
    EXPECT_EQ(log.messages().filter("The sync session file was not read").size(), 2) << log.messages().join('\n').toStdString();
}

TEST(SyncCredentialStore, CacheServesLoadsUntilClear)
{
    SyncCredentialStore store;
    ASSERT_FALSE(store.save(sampleSession(), issuer));
    QFile::remove(store.sessionFilePath());
    EXPECT_EQ(store.load(), sampleSession());

    store.clear();
    EXPECT_FALSE(store.load());
    store.clear();
    EXPECT_FALSE(store.load());
}

TEST(SyncCredentialStore, ExpiredSessionIsStillReturned)
{
    StoredSyncSession expired = sampleSession();
    expired.expiresAt = QDateTime::fromMSecsSinceEpoch(1000, Qt::UTC);
    ASSERT_FALSE(SyncCredentialStore().save(expired, issuer));
    EXPECT_EQ(SyncCredentialStore().load(), expired);
}

TEST(SyncCredentialStore, FailedWritesReportAndKeepThePreviousSession)
{
    SyncCredentialStore store;
    ASSERT_FALSE(store.save(sampleSession(), issuer));

    StoredSyncSession undated = sampleSession("undated");
    undated.expiresAt = QDateTime();
    const auto encodeError = store.save(undated, issuer);
    ASSERT_TRUE(encodeError);
    EXPECT_EQ(encodeError->kind(), SyncCredentialError::Kind::Encode);

    // A session the next launch could not read back would sign the user out silently.
    StoredSyncSession huge = sampleSession(QString(3 * 1024 * 1024, 'h'));
    const auto sizeError = store.save(huge, issuer);
    ASSERT_TRUE(sizeError);
    EXPECT_EQ(sizeError->kind(), SyncCredentialError::Kind::TooLarge);

    // A folder that cannot be made: its place is taken by a file.
    SyncCredentialStore blocked(store.sessionFilePath() + "/inner");
    const auto writeError = blocked.save(sampleSession("blocked"), issuer);
    ASSERT_TRUE(writeError);
    EXPECT_EQ(writeError->kind(), SyncCredentialError::Kind::Write);
    EXPECT_EQ(store.load(), sampleSession());
    EXPECT_EQ(SyncCredentialStore().load(), sampleSession());
}

TEST(SyncCredentialStore, ClearDuringALoadsFileReadIsNotUndone)
{
    SyncCredentialStore* storeInRead = nullptr;
    SyncCredentialStore store(SyncCredentialStore::defaultFolder(), [&](const QString& path) {
        const auto data = SyncCredentialStore::readWholeFile(path);
        storeInRead->clear();
        return data;
    });
    storeInRead = &store;
    ASSERT_FALSE(SyncCredentialStore().save(sampleSession(), issuer));

    EXPECT_FALSE(store.load());
    EXPECT_FALSE(QFileInfo::exists(store.sessionFilePath()));
    storeInRead = nullptr;
}

TEST(SyncCredentialStore, SaveDuringALoadsFileReadWins)
{
    SyncCredentialStore* storeInRead = nullptr;
    SyncCredentialStore store(SyncCredentialStore::defaultFolder(), [&](const QString& path) {
        const auto data = SyncCredentialStore::readWholeFile(path);
        EXPECT_FALSE(storeInRead->save(sampleSession("newer"), issuer));
        return data;
    });
    storeInRead = &store;
    ASSERT_FALSE(SyncCredentialStore().save(sampleSession("older"), issuer));

    EXPECT_EQ(store.load(), sampleSession("newer"));
}

TEST(SyncCredentialStore, ReadersNeverSeeAPartialFileWhileSavesReplaceIt)
{
    SyncCredentialStore writer;
    ASSERT_FALSE(writer.save(sampleSession("0"), issuer));
    std::atomic<bool> done = false;
    std::atomic<int> torn = 0;
    std::thread reader([&] {
        while (!done) {
            if (!StoredSyncSession::fromJson(readFile(writer.sessionFilePath()))) {
                ++torn;
            }
        }
    });
    for (int i = 1; i <= 300; ++i) {
        ASSERT_FALSE(writer.save(sampleSession(QString::number(i).repeated(i % 50 + 1)), issuer));
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}
