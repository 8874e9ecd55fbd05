#include "platform/DeviceIdentity.h"

#include "support/TestHome.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QString writeFile(const QString& name, const QByteArray& content)
{
    const QString path = test::TestHomeListener::home() + "/" + name;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

} // namespace

TEST(DeviceIdentity, ReadsTheFirstFileThatHoldsAnId)
{
    const QString empty = writeFile("empty", "\n");
    const QString real = writeFile("machine-id", "0123456789abcdef0123456789abcdef\n");
    const QString missing = test::TestHomeListener::home() + "/missing";
    EXPECT_EQ(DeviceIdentity::machineId({missing, empty, real}), "0123456789abcdef0123456789abcdef");
    EXPECT_EQ(DeviceIdentity::machineId({missing, empty}), "");
    // A folder or an oversized file is no machine id.
    EXPECT_EQ(DeviceIdentity::machineId({test::TestHomeListener::home(), writeFile("big", QByteArray(5000, 'a'))}), "");
}
