// The workspace window as the user gets it: the running program, its hot key pressed by
// xdotool, and the window manager minimising and closing the window.
#include "platform/UserDefaults.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

class WorkspaceProgramX11Test : public testing::Test {
protected:
    WorkspaceProgramX11Test()
    {
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        UserDefaults::standard().synchronize();
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(QCoreApplication::applicationDirPath() + "/../norvelle", {});
    }
    ~WorkspaceProgramX11Test() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(waitMs);
        }
    }

    // The workspace window while it is on screen, else empty.
    QString shownWorkspace()
    {
        return test::xdotoolOutput({"search", "--all", "--onlyvisible", "--pid", QString::number(m_process.processId()),
                                       "--name", "^Norvelle$"})
            .section('\n', 0, 0);
    }

    // Presses the workspace hot key until the window shows (the key may not be grabbed yet).
    bool openWorkspaceByHotKey()
    {
        return test::waitUntil([&] {
            test::xdotoolOutput({"key", "super+shift+k"});
            return test::waitUntil([&] { return !shownWorkspace().isEmpty(); }, 3000);
        },
            waitMs);
    }

    QProcess m_process;
};

} // namespace

TEST_F(WorkspaceProgramX11Test, TheHotKeyBringsBackAMinimisedWorkspace)
{
    ASSERT_TRUE(m_process.waitForStarted(waitMs));
    ASSERT_TRUE(openWorkspaceByHotKey());
    const QString window = shownWorkspace();
    test::xdotoolOutput({"windowminimize", "--sync", window});
    ASSERT_TRUE(test::waitUntil([&] { return shownWorkspace().isEmpty(); }, waitMs));

    test::xdotoolOutput({"key", "super+shift+k"});
    EXPECT_TRUE(test::waitUntil([&] { return shownWorkspace() == window; }, 5000));
}
