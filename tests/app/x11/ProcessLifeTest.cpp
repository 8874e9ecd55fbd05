// The program as a process: one copy per user, an orderly exit on the termination signals, and
// the network code it loads only when it goes online.
#include "account/StoredSyncSession.h"
#include "account/SyncCredentialStore.h"
#include "platform/SingleInstanceGuard.h"
#include "platform/UserDefaults.h"
#include "support/LoopbackApiServer.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

namespace {

constexpr int kWaitMs = 20000;

QString programPath()
{
    return QCoreApplication::applicationDirPath() + "/../norvelle";
}

class RunningProgram {
public:
    RunningProgram()
    {
        norvelle::UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(programPath(), {});
    }
    ~RunningProgram()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(kWaitMs);
        }
    }
    QProcess& process() { return m_process; }

    // A second launch returns at once once this copy listens for it. Until then a second
    // launch would become the running copy itself, so it is only tried once the socket answers.
    bool isListening()
    {
        QLocalSocket probe;
        probe.connectToServer(norvelle::SingleInstanceGuard::defaultSocketPath());
        if (!probe.waitForConnected(100)) {
            return false;
        }
        probe.disconnectFromServer();
        QProcess later;
        later.start(programPath(), {});
        return later.waitForFinished(kWaitMs) && later.exitStatus() == QProcess::NormalExit && later.exitCode() == 0
            && m_process.state() == QProcess::Running;
    }

private:
    QProcess m_process;
};

// Visible windows on the display whose title is exactly `title`.
int windowsTitled(const QString& title)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^" + title + "$"});
    search.waitForFinished(kWaitMs);
    return int(search.readAllStandardOutput().split('\n').count() - 1);
}

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
}

// A new note from the hot key, with `text` typed into it (its title once saved).
void newStickyWithText(const QString& text)
{
    const int untitled = windowsTitled(QStringLiteral("Untitled"));
    xdotool({"key", "super+shift+n"});
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(QStringLiteral("Untitled")) > untitled; }, kWaitMs));
    // The new window has the keyboard once the window manager has activated it.
    ASSERT_TRUE(norvelle::test::waitUntil([] {
        return norvelle::test::xdotoolOutput({"getactivewindow", "getwindowname"}).trimmed() == "Untitled";
    }, kWaitMs));
    xdotool({"type", "--delay", "20", text});
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(text) == 1; }, kWaitMs)) << text.toStdString();
}

} // namespace

TEST(ProcessLife, StickiesOpenAtTheTerminationSignalComeBackAtTheNextLaunch)
{
    {
        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(kWaitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, kWaitMs));
        newStickyWithText(QStringLiteral("first sticky"));
        newStickyWithText(QStringLiteral("second sticky"));

        ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
        ASSERT_TRUE(program.process().waitForFinished(kWaitMs));
        EXPECT_EQ(program.process().exitCode(), 0);
    }
    EXPECT_EQ(windowsTitled(QStringLiteral("first sticky")), 0);

    RunningProgram relaunched;
    ASSERT_TRUE(relaunched.process().waitForStarted(kWaitMs));
    EXPECT_TRUE(norvelle::test::waitUntil([] {
        return windowsTitled(QStringLiteral("first sticky")) == 1 && windowsTitled(QStringLiteral("second sticky")) == 1;
    }, kWaitMs));
}

TEST(ProcessLife, SecondLaunchHandsOverAndEachSignalEndsTheProgramCleanly)
{
    ASSERT_TRUE(QFile::exists(programPath()));
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(kWaitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, kWaitMs));

        ::kill(static_cast<pid_t>(program.process().processId()), signalNumber);
        ASSERT_TRUE(program.process().waitForFinished(kWaitMs)) << signalNumber;
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(program.process().exitCode(), 0) << signalNumber;
    }
}

TEST(ProcessLife, WithAStoredSessionTheProgramLoadsItsNetworkCodeAndPulls)
{
    norvelle::test::LoopbackApiServer server;
    server.useAsApiBase();
    const norvelle::StoredSyncSession session{"user-1", "access-1", "refresh-1", QDateTime::currentDateTimeUtc().addDays(30)};
    ASSERT_FALSE(norvelle::SyncCredentialStore().save(session));

    RunningProgram program;
    ASSERT_TRUE(program.process().waitForStarted(kWaitMs));
    EXPECT_TRUE(norvelle::test::waitUntil([&] { return !server.requests().isEmpty(); }, kWaitMs));
    EXPECT_EQ(server.requests().value(0).header("authorization"), "Bearer access-1");
}
