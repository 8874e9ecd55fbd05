#include "platform/SingleInstanceGuard.h"

#include "platform/AppPaths.h"
#include "support/TestHome.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QUuid>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <unistd.h>

using namespace norvelle;

namespace {
QString uniqueName()
{
    return test::TestHomeListener::home() + "/instance-" + QUuid::createUuid().toString(QUuid::Id128).left(8);
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

TEST(SingleInstanceGuard, SocketDependsOnTheHomeAndLivesInThePrivateRuntimeFolder)
{
    const QString first = SingleInstanceGuard::defaultSocketPath();
    EXPECT_EQ(QFileInfo(first).path(), AppPaths::temporaryDirectory());
    qputenv("NORVELLE_HOME", (test::TestHomeListener::home() + "/other").toUtf8());
    EXPECT_NE(SingleInstanceGuard::defaultSocketPath(), first);
    qputenv("NORVELLE_HOME", test::TestHomeListener::home().toUtf8());
}

// Another user may create files of any name in the shared temporary folder: none of them may
// keep this copy from starting or make it wait.
TEST(SingleInstanceGuard, FilesOthersLeaveInTheSharedTemporaryFolderAreNotInTheWay)
{
    // The name every launch of this user and home once used there.
    const QString shared = QDir::tempPath();
    const QByteArray home = QCryptographicHash::hash(AppPaths::configDirectory().toUtf8(), QCryptographicHash::Sha256);
    const QString legacy = QString("norvelle-%1-%2").arg(getuid()).arg(QString::fromLatin1(home.toHex().left(12)));
    QLocalServer squatter;
    QLocalServer::removeServer(legacy);
    ASSERT_TRUE(squatter.listen(legacy));
    QFile lock(shared + "/" + legacy + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("1\nsomeone\nelse\n");
    lock.close();

    QElapsedTimer elapsed;
    elapsed.start();
    SingleInstanceGuard guard;
    EXPECT_TRUE(guard.claim());
    EXPECT_LT(elapsed.elapsed(), 4000);
    squatter.close();
    QFile::remove(lock.fileName());
}
