#include "platform/SingleInstanceGuard.h"

#include "platform/AppPaths.h"
#include "platform/DescriptorReserve.h"
#include "support/TestHome.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QUuid>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <thread>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace norvelle;

namespace {
QString uniqueName()
{
    return test::TestHomeListener::home() + "/instance-" + QUuid::createUuid().toString(QUuid::Id128).left(8);
}

int connectSilently(const QString& name)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(name);
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    return fd;
}

bool hungUp(int fd)
{
    char byte;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT) == 0;
}

double cpuSeconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int openDescriptors()
{
    return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size()) - 1;
}

bool laterLaunchIsSentBack(const QString& name)
{
    std::atomic<int> laterClaim = -1;
    std::thread later([&] { laterClaim = SingleInstanceGuard(name).claim() ? 1 : 0; });
    test::waitUntil([&] { return laterClaim != -1; }, 10000);
    later.join();
    return laterClaim == 0;
}

// A running copy at a fresh socket, counting the reopen requests it hears.
struct RunningCopy {
    QString name = uniqueName();
    SingleInstanceGuard guard {name};
    int reopens = 0;
    RunningCopy()
    {
        EXPECT_TRUE(guard.claim());
        QObject::connect(&guard, &SingleInstanceGuard::reopenRequested, [this] { ++reopens; });
    }
};

} // namespace

TEST(SingleInstanceGuard, OnlyAWholeReopenLineReopensAndOnlyThisUserMayConnect)
{
    const QString name = uniqueName();
    {
        SingleInstanceGuard running(name);
        ASSERT_TRUE(running.claim());
        int reopens = 0;
        QObject::connect(&running, &SingleInstanceGuard::reopenRequested, [&] { ++reopens; });
        struct stat status { };
        ASSERT_EQ(::stat(QFile::encodeName(name).constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600);

        // Callers that say something else, too much, or nothing are hung up on.
        for (const QByteArray& said : {QByteArray("hello\n"), QByteArray(200, 'x'), QByteArray()}) {
            QLocalSocket caller;
            caller.connectToServer(name);
            ASSERT_TRUE(caller.waitForConnected(2000));
            caller.write(said);
            caller.flush();
            if (said.isEmpty()) {
                caller.disconnectFromServer();
            }
            EXPECT_TRUE(test::waitUntil([&] { return caller.state() == QLocalSocket::UnconnectedState; }, 5000))
                << said.left(10).toStdString();
        }
        EXPECT_EQ(reopens, 0);

        // A request that arrives in pieces still counts, and is answered.
        QLocalSocket later;
        later.connectToServer(name);
        ASSERT_TRUE(later.waitForConnected(2000));
        later.write("reo");
        later.flush();
        EXPECT_FALSE(test::waitUntil([&] { return reopens > 0; }, 200));
        later.write("pen\n");
        later.flush();
        EXPECT_TRUE(test::waitUntil([&] { return reopens == 1; }, 5000));
        EXPECT_TRUE(test::waitUntil([&] { return later.bytesAvailable() >= 3; }, 5000));
        EXPECT_EQ(later.readAll(), "ok\n");
    }
    // The copy that ends takes its socket with it.
    EXPECT_FALSE(QFileInfo::exists(name));
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

    SingleInstanceGuard guard;
    EXPECT_TRUE(guard.claim());
    squatter.close();
    QFile::remove(lock.fileName());
}

TEST(SingleInstanceGuard, LaterLaunchReopensTheRunningCopyPastSilentCallersAndWithNoDescriptorLeft)
{
    RunningCopy running;
    const QString& name = running.name;
    int& reopens = running.reopens;

    // More silent callers than may wait: the next launch is still heard, and each silent one
    // is hung up on by its deadline.
    std::vector<int> silent;
    for (int i = 0; i < SingleInstanceGuard::maximumCallers * 2; ++i) {
        silent.push_back(connectSilently(name));
    }
    test::waitUntil([] { return false; }, 300);
    EXPECT_TRUE(laterLaunchIsSentBack(name));
    EXPECT_TRUE(test::waitUntil([&] { return reopens == 1; }, 5000));
    EXPECT_TRUE(test::waitUntil([&] { return std::all_of(silent.begin(), silent.end(), hungUp); },
        SingleInstanceGuard::callerDeadlineMs + 3000));

    // No descriptor left to accept with: the waiting callers must not make the loop spin.
    std::vector<int> waiting;
    for (int i = 0; i < 8; ++i) {
        waiting.push_back(connectSilently(name));
    }
    rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit saved = limit;
    limit.rlim_cur = QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size() - 1;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    const double before = cpuSeconds();
    test::waitUntil([] { return false; }, 1000);
    const double spent = cpuSeconds() - before;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_LT(spent, 0.5);
    EXPECT_TRUE(test::waitUntil([&] { return std::all_of(waiting.begin(), waiting.end(), hungUp); },
        SingleInstanceGuard::callerDeadlineMs + 3000));
    EXPECT_TRUE(laterLaunchIsSentBack(name));
    for (const int fd : silent) {
        ::close(fd);
    }
    for (const int fd : waiting) {
        ::close(fd);
    }
}

TEST(SingleInstanceGuard, SilentCallersFromAnotherProgramLeaveTheReserveOfDescriptorsFree)
{
    RunningCopy running;
    rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit saved = limit;
    // Another program keeps 1,100 connections open without a word.
    const QByteArray path = QFile::encodeName(running.name);
    const pid_t caller = ::fork();
    ASSERT_GE(caller, 0);
    if (caller == 0) {
        rlimit own = saved;
        own.rlim_cur = own.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &own);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        for (int i = 0; i < 1100;) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0) {
                ++i;
            } else {
                ::close(fd);
                ::usleep(1000);
            }
        }
        ::pause();
        ::_exit(0);
    }
    limit.rlim_cur = rlim_t(openDescriptors() + 40);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &limit), 0);
    // The callers take what they may.
    test::waitUntil([&] { return openDescriptors() >= int(limit.rlim_cur) - reservedDescriptors; }, 10000);
    std::vector<int> reserve;
    for (int i = 0; i < reservedDescriptors / 2; ++i) {
        reserve.push_back(::dup(0));
    }
    const bool reopened = laterLaunchIsSentBack(running.name) && test::waitUntil([&] { return running.reopens == 1; }, 5000);
    for (const int fd : reserve) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ::kill(caller, SIGKILL);
    ::waitpid(caller, nullptr, 0);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    EXPECT_TRUE(std::all_of(reserve.begin(), reserve.end(), [](int fd) { return fd >= 0; }));
    EXPECT_TRUE(reopened);
}
