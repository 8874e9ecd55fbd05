#include "platform/SingleInstanceGuard.h"

#include "support/TestHome.h"

#include <QLocalServer>
#include <QUuid>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace norvelle;

namespace {
QString uniqueName()
{
    return "norvelle-test-" + QUuid::createUuid().toString(QUuid::Id128);
}
} // namespace

TEST(SingleInstanceGuard, LaterLaunchAsksTheRunningCopyToReopen)
{
    const QString name = uniqueName();
    SingleInstanceGuard running(name);
    ASSERT_TRUE(running.claim());
    int reopens = 0;
    QObject::connect(&running, &SingleInstanceGuard::reopenRequested, [&] { ++reopens; });

    std::atomic<int> laterClaim = -1;
    std::thread later([&] { laterClaim = SingleInstanceGuard(name).claim() ? 1 : 0; });
    EXPECT_TRUE(test::waitUntil([&] { return laterClaim != -1; }, 10000));
    later.join();
    EXPECT_EQ(laterClaim, 0);
    EXPECT_TRUE(test::waitUntil([&] { return reopens == 1; }, 5000));
}

TEST(SingleInstanceGuard, SocketLeftByACrashedCopyDoesNotBlockTheNextLaunch)
{
    const QString name = uniqueName();
    {
        QLocalServer crashed;
        ASSERT_TRUE(crashed.listen(name));
        crashed.close();
    }
    SingleInstanceGuard guard(name);
    EXPECT_TRUE(guard.claim());
}

TEST(SingleInstanceGuard, TwoCopiesStartingTogetherLeaveOneRunning)
{
    for (int round = 0; round < 3; ++round) {
        const QString name = uniqueName();
        std::atomic<int> ready = 0;
        std::atomic<int> decided = 0;
        std::atomic<int> claimed = 0;
        const auto launch = [&] {
            SingleInstanceGuard guard(name);
            ++ready;
            while (ready < 2) {
                std::this_thread::yield();
            }
            if (guard.claim()) {
                ++claimed;
            }
            ++decided;
            // The running copy stays until the other launch has decided (this thread runs no
            // event loop, so that launch waits out its wait for an answer).
            while (decided < 2) {
                std::this_thread::yield();
            }
        };
        std::thread first(launch);
        std::thread second(launch);
        first.join();
        second.join();
        ASSERT_EQ(claimed, 1) << "round " << round;
    }
}

TEST(SingleInstanceGuard, NameDependsOnTheHome)
{
    const QString first = SingleInstanceGuard::defaultServerName();
    qputenv("NORVELLE_HOME", (test::TestHomeListener::home() + "/other").toUtf8());
    EXPECT_NE(SingleInstanceGuard::defaultServerName(), first);
    qputenv("NORVELLE_HOME", test::TestHomeListener::home().toUtf8());
}
