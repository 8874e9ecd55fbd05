// The frontmost application and activation, with openbox managing the windows.
#include "platform/RunningApplication.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QProcess>
#include <QWidget>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

constexpr int generous = 20000;

bool becomesFrontmost(const std::function<bool(const RunningApplication&)>& matches)
{
    return waitUntil([&] {
        const auto app = RunningApplication::frontmost();
        return app && matches(*app);
    },
        generous);
}

struct Terminal {
    Terminal()
    {
        process.start("xterm", {"-class", "NorvelleProbeTerm", "-e", "sleep", "120"});
    }
    ~Terminal()
    {
        process.kill();
        process.waitForFinished();
    }
    QProcess process;
};

} // namespace

TEST(RunningApplicationX11, FrontmostNamesTheActiveProgramAndActivationReturnsToIt)
{
    Terminal terminal;
    ASSERT_TRUE(terminal.process.waitForStarted(generous));
    ASSERT_TRUE(becomesFrontmost([&](const RunningApplication& app) {
        return app.localizedName() == "NorvelleProbeTerm";
    }));
    const RunningApplication remembered = *RunningApplication::frontmost();
    EXPECT_EQ(remembered.processIdentifier(), terminal.process.processId());
    EXPECT_NE(remembered.window(), 0u);

    QWidget ours;
    ours.resize(200, 100);
    ours.show();
    ASSERT_TRUE(waitUntil([&] { return ours.isVisible() && ours.windowHandle(); }, generous));
    const RunningApplication self(ours.winId(), QCoreApplication::applicationPid(), {});
    ASSERT_TRUE(self.activate());
    ASSERT_TRUE(becomesFrontmost([&](const RunningApplication& app) {
        return app.processIdentifier() == QCoreApplication::applicationPid();
    }));
    EXPECT_FALSE(RunningApplication::frontmost()->localizedName().isEmpty());

    ASSERT_TRUE(remembered.activate());
    EXPECT_TRUE(becomesFrontmost([&](const RunningApplication& app) { return app == remembered; }));
}

TEST(RunningApplicationX11, AGoneWindowIsNotActivated)
{
    RunningApplication remembered(0, 0, {});
    {
        Terminal terminal;
        ASSERT_TRUE(terminal.process.waitForStarted(generous));
        ASSERT_TRUE(becomesFrontmost([&](const RunningApplication& app) {
            return app.localizedName() == "NorvelleProbeTerm";
        }));
        remembered = *RunningApplication::frontmost();
    }
    EXPECT_TRUE(waitUntil([&] { return !remembered.activate(); }, generous));
    EXPECT_FALSE(RunningApplication(0x7ffffff, 0, {}).activate());
    EXPECT_FALSE(RunningApplication(0, 0, {}).activate());
}
