#include "platform/UserDefaults.h"
#include "support/FileSizeLimit.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdio>

using namespace norvelle;

namespace {

const char* const fileVariable = "NORVELLE_SETTINGS_LOOP_FILE";

} // namespace

// Not a test of its own: the child the kill test starts. It changes one key over and over, in
// a file of 10,000 keys, and says when each change is on the disk, until it is killed.
TEST(UserDefaultsDurability, DISABLED_ChangeLoopUntilKilled)
{
    UserDefaults defaults(qEnvironmentVariable(fileVariable));
    for (int i = 0;; ++i) {
        defaults.set(QStringLiteral("turn"), i);
        defaults.synchronize();
        std::printf("saved %d\n", i);
        std::fflush(stdout);
        QThread::msleep(20);
    }
}

TEST(UserDefaultsDurability, AKillLeavesAWholeFileWithEveryChangeButTheLast)
{
    const QString path = test::TestHomeListener::home() + "/loop-defaults.json";
    {
        UserDefaults filling(path);
        for (int i = 0; i < 10000; ++i) {
            filling.set(QStringLiteral("norvelle.sticky.frame.%1").arg(i), QStringLiteral("{{1, 2}, {300, 280}}"));
        }
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(fileVariable, path);
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(),
        {"--gtest_also_run_disabled_tests", "--gtest_filter=UserDefaultsDurability.DISABLED_ChangeLoopUntilKilled"});
    ASSERT_TRUE(child.waitForStarted(30000));
    int lastSaved = -1;
    ASSERT_TRUE(test::waitUntil([&] {
        child.waitForReadyRead(10);
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            if (line.startsWith("saved ")) {
                lastSaved = line.mid(6).toInt();
            }
        }
        return lastSaved >= 8 || child.state() == QProcess::NotRunning;
    },
        60000));
    ASSERT_EQ(child.state(), QProcess::Running);
    child.kill();
    ASSERT_TRUE(child.waitForFinished(30000));

    UserDefaults reloaded(path);
    EXPECT_TRUE(reloaded.unreadableFileKept().isEmpty());
    EXPECT_EQ(reloaded.keys(QStringLiteral("norvelle.sticky.frame.")).size(), 10000);
    // A kill lands anywhere in a write: the file holds the last change reported saved, or a later one.
    EXPECT_GE(reloaded.integer(QStringLiteral("turn")), lastSaved);
}

// The child of the full-disk test below: it changes settings while no file may grow.
TEST(UserDefaultsDurability, DISABLED_ChangesOnAFullDisk)
{
    const QString path = qEnvironmentVariable(fileVariable);
    const qint64 before = QFileInfo(path).size();
    UserDefaults defaults(path);
    test::FileSizeLimit::set(before);
    for (int i = 0; i < 50; ++i) {
        defaults.set(QStringLiteral("norvelle.sticky.frame.%1").arg(i), QStringLiteral("{{1, 2}, {300, 280}}"));
    }
    EXPECT_FALSE(defaults.lastSaveSucceeded());
    EXPECT_EQ(QFileInfo(path).size(), before);
    EXPECT_EQ(defaults.string(QStringLiteral("norvelle.sticky.frame.49")), QStringLiteral("{{1, 2}, {300, 280}}"));
    test::FileSizeLimit::lift();
    // No further change: the settings held are written when asked for.
    defaults.synchronize();
    EXPECT_TRUE(defaults.lastSaveSucceeded());
}

TEST(UserDefaultsDurability, AFullDiskLeavesTheSettingsFileWholeAndTheChangesAreWrittenOnceThereIsRoom)
{
    const QString path = test::TestHomeListener::home() + "/full/defaults.json";
    {
        UserDefaults previous(path);
        previous.set(QStringLiteral("norvelle.appearance"), QStringLiteral("dark"));
    }
    QProcessEnvironment variables;
    variables.insert(fileVariable, path);
    EXPECT_TRUE(test::FileSizeLimit::runChildTest("UserDefaultsDurability.DISABLED_ChangesOnAFullDisk", variables));
    UserDefaults reloaded(path);
    EXPECT_TRUE(reloaded.unreadableFileKept().isEmpty());
    EXPECT_EQ(reloaded.string(QStringLiteral("norvelle.appearance")), QStringLiteral("dark"));
    EXPECT_EQ(reloaded.keys(QStringLiteral("norvelle.sticky.frame.")).size(), 50);
}
