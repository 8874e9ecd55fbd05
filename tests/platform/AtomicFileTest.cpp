#include "platform/AtomicFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

const char* const pathVariable = "NORVELLE_ATOMIC_FILE_PATH";

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Leaves out the "user" bits, which only repeat those of whoever runs the test.
QFileDevice::Permissions modeOf(const QString& path)
{
    return QFileInfo(path).permissions() & ~QFileDevice::Permissions(0x0700);
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(AtomicFile, ReplacesTheWholeFileKeepingItsPermissionsAndLeavesNothingBeside)
{
    const QString folder = test::TestHomeListener::home() + "/files";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/note.txt";
    EXPECT_FALSE(AtomicFile::write(path, "first version, the longer one"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup));
    EXPECT_FALSE(AtomicFile::write(path, "second"));
    EXPECT_EQ(contents(path), "second");
    EXPECT_EQ(modeOf(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);

    const QString secret = folder + "/secret.json";
    EXPECT_FALSE(AtomicFile::write(secret, "{}", AtomicFile::Access::ownerOnly));
    EXPECT_EQ(modeOf(secret), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_FALSE(AtomicFile::write(path, QByteArray()));
    EXPECT_EQ(contents(path), "");

    ASSERT_TRUE(QFile::link(path, folder + "/link.txt"));
    EXPECT_FALSE(AtomicFile::write(folder + "/link.txt", "through the link"));
    EXPECT_TRUE(QFileInfo(folder + "/link.txt").isSymLink());
    EXPECT_EQ(contents(path), "through the link");

    const std::optional<QString> missingFolder = AtomicFile::write(folder + "/none/note.txt", "text");
    ASSERT_TRUE(missingFolder);
    EXPECT_FALSE(missingFolder->isEmpty());
    EXPECT_EQ(filesIn(folder), QStringList({"link.txt", "note.txt", "secret.json"}));
}

// The child of the full-disk test below, with the file it writes named in its environment.
TEST(AtomicFile, DISABLED_WritesOnAFullDisk)
{
    const QString path = qEnvironmentVariable(pathVariable);
    const QByteArray previous = contents(path);
    const QByteArray large(64 * 1024, 'x');
    test::FileSizeLimit::set(4096);
    const std::optional<QString> failure = AtomicFile::write(path, large);
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->isEmpty());
    EXPECT_EQ(contents(path), previous);
    // What fits still goes; what did not goes once there is room.
    EXPECT_FALSE(AtomicFile::write(path, "small"));
    EXPECT_EQ(contents(path), "small");
    test::FileSizeLimit::lift();
    EXPECT_FALSE(AtomicFile::write(path, large));
}

TEST(AtomicFile, AWriteOnAFullDiskLeavesThePreviousFileWholeAndNoTemporaryFile)
{
    const QString folder = test::TestHomeListener::home() + "/full";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + "/defaults.json";
    ASSERT_FALSE(AtomicFile::write(path, "{ \"kept\": true }"));
    QProcessEnvironment variables;
    variables.insert(pathVariable, path);
    EXPECT_TRUE(test::FileSizeLimit::runChildTest("AtomicFile.DISABLED_WritesOnAFullDisk", variables));
    EXPECT_EQ(contents(path), QByteArray(64 * 1024, 'x'));
    EXPECT_EQ(filesIn(folder), QStringList({"defaults.json"}));
}
