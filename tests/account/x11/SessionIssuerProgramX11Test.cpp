// The running program's session after its settings file is lost or was written by an earlier
// version: the session's tokens reach the server that issued it and no other. Requests to any
// other https server go through a recording proxy, so a session sent to the built-in server
// shows there instead of leaving the machine.
#include "account/SyncCredentialStore.h"
#include "platform/UserDefaults.h"
#include "support/LoopbackApiServer.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

class SessionIssuerProgramX11Test : public testing::Test {
protected:
    SessionIssuerProgramX11Test()
    {
        issuer.replyAlways("/v1/notes/sync",
            test::ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", QJsonArray()}}}, {"outgoing", QJsonArray()}}));
        issuer.useAsApiBase();
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    }

    // Launches the program and quits it once its first sync is due, so both the launch's sync
    // and the one at quit have been sent wherever they go.
    void runProgramOnce()
    {
        QProcess program;
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("https_proxy", elsewhere.baseURL().toString());
        environment.insert("no_proxy", "127.0.0.1,localhost");
        program.setProcessEnvironment(environment);
        program.start(QCoreApplication::applicationDirPath() + "/../norvelle", {});
        ASSERT_TRUE(program.waitForStarted(waitMs));
        // The first sync is due two seconds after launch.
        test::waitUntil([&] { return !issuer.requests().isEmpty() || !elsewhere.requests().isEmpty(); }, 4000);
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        ASSERT_TRUE(program.waitForFinished(waitMs));
        EXPECT_EQ(program.exitCode(), 0);
    }

    static void cutInHalf(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const QByteArray whole = file.readAll();
        ASSERT_GT(whole.size(), 2);
        ASSERT_TRUE(file.resize(whole.size() / 2));
    }

    test::LoopbackApiServer issuer;
    test::LoopbackApiServer elsewhere;
    const StoredSyncSession session {"user-1", "access-1", "refresh-1", QDateTime::currentDateTimeUtc().addDays(30)};
};

TEST_F(SessionIssuerProgramX11Test, ACutSettingsFileSendsTheSessionNowhereElseAndSettingTheServerAgainReachesIt)
{
    ASSERT_FALSE(SyncCredentialStore().save(session, issuer.baseURL()));
    UserDefaults::standard().synchronize();
    cutInHalf(UserDefaults::standard().filePath());

    runProgramOnce();
    EXPECT_FALSE(test::waitUntil([&] { return !elsewhere.requests().isEmpty(); }, 2000))
        << "sent to " << elsewhere.requests().value(0).header("host").toStdString();

    // The session still knows its server: named again, it gets the session.
    UserDefaults::resetStandard();
    UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    issuer.useAsApiBase();
    UserDefaults::standard().synchronize();
    runProgramOnce();
    ASSERT_TRUE(test::waitUntil([&] { return !issuer.requests().isEmpty(); }, waitMs));
    EXPECT_EQ(issuer.requests().value(0).header("authorization"), "Bearer access-1");
    EXPECT_TRUE(elsewhere.requests().isEmpty());
}

TEST_F(SessionIssuerProgramX11Test, TheIssuerAnEarlierVersionKeptInTheSettingsIsCarriedBesideTheSession)
{
    SyncCredentialStore store;
    ASSERT_FALSE(store.save(session, issuer.baseURL()));
    // As an earlier version left it: no record beside the session, the server in the settings.
    ASSERT_TRUE(QFile::remove(store.issuerFilePath()));
    UserDefaults::standard().set("norvelle.sync.sessionServer", issuer.baseURL().toString());
    UserDefaults::standard().synchronize();

    runProgramOnce();
    ASSERT_TRUE(test::waitUntil([&] { return !issuer.requests().isEmpty(); }, waitMs));
    EXPECT_EQ(issuer.requests().value(0).header("authorization"), "Bearer access-1");
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(store.issuerFilePath()).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    UserDefaults::resetStandard();
    EXPECT_FALSE(UserDefaults::standard().contains("norvelle.sync.sessionServer"));
}

} // namespace
