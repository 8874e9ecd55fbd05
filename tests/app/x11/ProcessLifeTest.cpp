// The program as a process: one copy per user, and an orderly exit on the termination signals.
#include "platform/SingleInstanceGuard.h"
#include "platform/UserDefaults.h"
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
        probe.connectToServer(norvelle::SingleInstanceGuard::defaultServerName());
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

} // namespace

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
