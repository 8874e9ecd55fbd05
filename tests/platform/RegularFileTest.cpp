#include "platform/RegularFile.h"
#include "support/TestHome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace norvelle;

TEST(RegularFile, ReadsUpToTheCapAndRefusesWhatIsNotAFileOrTooLarge)
{
    const QString path = test::TestHomeListener::home() + "/file";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(1000, 'x'));
    }
    const RegularFile::Result whole = RegularFile::read(path, 1000);
    EXPECT_TRUE(whole.ok());
    EXPECT_EQ(whole.bytes, QByteArray(1000, 'x'));
    EXPECT_EQ(RegularFile::read(path, 999).outcome, RegularFile::Outcome::tooLarge);
    EXPECT_EQ(RegularFile::read(path + "-absent", 10).outcome, RegularFile::Outcome::missing);

    const QString pipe = test::TestHomeListener::home() + "/pipe";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(RegularFile::read(pipe, 10).outcome, RegularFile::Outcome::notRegularFile);
    const QString device = test::TestHomeListener::home() + "/zero";
    ASSERT_TRUE(QFile::link("/dev/zero", device));
    const RegularFile::Result zero = RegularFile::read(device, 10);
    EXPECT_EQ(zero.outcome, RegularFile::Outcome::notRegularFile);
    EXPECT_FALSE(zero.reason.isEmpty());
    EXPECT_FALSE(RegularFile::isRegularFile(device));
    EXPECT_TRUE(RegularFile::isRegularFile(path));
}
