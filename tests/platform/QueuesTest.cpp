#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/RepeatingTimer.h"
#include "platform/SerialQueue.h"
#include "support/TestHome.h"

#include <QThread>

#include <atomic>
#include <thread>

using namespace norvelle;
using test::waitUntil;

TEST(NotificationCenter, DeliversOnTheMainThreadFromAnyThread)
{
    auto& center = NotificationCenter::defaultCenter();
    QObject context;
    std::atomic<int> calls = 0;
    QThread* seenOn = nullptr;
    center.addObserver("ping", &context, [&](const Notification& n) {
        seenOn = QThread::currentThread();
        EXPECT_EQ(n.userInfo.value("n").toInt(), 7);
        ++calls;
    });
    center.post("ping", nullptr, {{"n", 7}});
    EXPECT_EQ(calls, 1) << "a post on the main thread delivers before it returns";

    std::thread([&] { center.post("ping", nullptr, {{"n", 7}}); }).join();
    ASSERT_TRUE(waitUntil([&] { return calls == 2; }));
    EXPECT_EQ(seenOn, QThread::currentThread());
}

TEST(NotificationCenter, ObserversEndWithTheirContextOrTheirToken)
{
    auto& center = NotificationCenter::defaultCenter();
    int first = 0, second = 0;
    auto context = std::make_unique<QObject>();
    center.addObserver("n", context.get(), [&](const Notification&) { ++first; });
    const auto token = center.addObserver("n", nullptr, [&](const Notification&) { ++second; });
    center.addObserver("other", nullptr, [&](const Notification&) { ++second; });
    center.post("n");
    context.reset();
    center.post("n");
    center.removeObserver(token);
    center.post("n");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
}

TEST(NotificationCenter, AnObserverMayRemoveAnotherDuringDelivery)
{
    auto& center = NotificationCenter::defaultCenter();
    int secondCalls = 0;
    NotificationCenter::Token second = 0;
    center.addObserver("n", nullptr, [&](const Notification&) { center.removeObserver(second); });
    second = center.addObserver("n", nullptr, [&](const Notification&) { ++secondCalls; });
    center.post("n");
    EXPECT_EQ(secondCalls, 0);
}

TEST(NotificationCenter, APostQueuedFromAnotherThreadEndsWithItsHub)
{
    std::thread([] { NotificationCenter::defaultCenter().post("late"); }).join();
    NotificationCenter::resetDefault();
    int calls = 0;
    NotificationCenter::defaultCenter().addObserver("late", nullptr, [&](const Notification&) { ++calls; });
    bool drained = false;
    MainQueue::async([&] { drained = true; });
    ASSERT_TRUE(waitUntil([&] { return drained; }));
    EXPECT_EQ(calls, 0);
}

TEST(MainQueue, AsyncRunsLaterInOrderAndAfterADelay)
{
    QStringList order;
    MainQueue::async([&] { order << "a"; });
    MainQueue::async([&] { order << "b"; });
    MainQueue::asyncAfter(0.05, [&] { order << "late"; });
    MainQueue::asyncAfter(std::nan(""), [&] { order << "nan"; });
    EXPECT_TRUE(order.isEmpty());
    ASSERT_TRUE(waitUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order.last(), "late");
    EXPECT_EQ(order.mid(0, 2), (QStringList {"a", "b"}));
}

TEST(MainQueue, WorkIsDroppedWithItsContext)
{
    bool ran = false;
    auto context = std::make_unique<QObject>();
    MainQueue::asyncAfter(
        0.01, [&] { ran = true; }, context.get());
    context.reset();
    waitUntil([] { return false; }, 50);
    EXPECT_FALSE(ran);
}

TEST(SerialQueue, RunsInSubmissionOrderOffTheMainThreadAndDrainsOnDestruction)
{
    std::vector<int> seen;
    std::atomic<bool> offMain = true;
    {
        SerialQueue queue("test");
        for (int i = 0; i < 1000; ++i) {
            queue.async([&, i] {
                if (MainQueue::isMainThread()) {
                    offMain = false;
                }
                seen.push_back(i);
            });
        }
        int atSync = 0;
        queue.sync([&] { atSync = int(seen.size()); });
        EXPECT_EQ(atSync, 1000);
        queue.async([&] { seen.push_back(-1); });
    }
    ASSERT_EQ(seen.size(), 1001u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end() - 1));
    EXPECT_TRUE(offMain);
}

TEST(RepeatingTimer, RepeatsUntilInvalidated)
{
    int fired = 0;
    RepeatingTimer timer(0.01, 0, [&] { ++fired; });
    EXPECT_TRUE(timer.isValid());
    ASSERT_TRUE(waitUntil([&] { return fired >= 3; }));
    timer.invalidate();
    const int atStop = fired;
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(fired, atStop);
    EXPECT_FALSE(timer.isValid());
}
