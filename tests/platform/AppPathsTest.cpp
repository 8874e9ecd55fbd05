#include "platform/AppPaths.h"

#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace norvelle;

namespace {

constexpr QFileDevice::Permissions othersAndGroup = QFileDevice::ReadGroup | QFileDevice::WriteGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;

// Without NORVELLE_HOME and XDG_RUNTIME_DIR, with `tmp` as the shared temporary folder.
class SharedTemporaryFolder {
public:
    explicit SharedTemporaryFolder(const QString& tmp)
        : m_runtime(qgetenv("XDG_RUNTIME_DIR"))
        , m_tmpdir(qgetenv("TMPDIR"))
        , m_cache(qgetenv("XDG_CACHE_HOME"))
    {
        QDir().mkpath(tmp);
        qunsetenv("NORVELLE_HOME");
        qunsetenv("XDG_RUNTIME_DIR");
        qputenv("TMPDIR", tmp.toUtf8());
        qputenv("XDG_CACHE_HOME", (test::TestHomeListener::home() + "/cache").toUtf8());
    }
    ~SharedTemporaryFolder()
    {
        qputenv("NORVELLE_HOME", test::TestHomeListener::home().toUtf8());
        restore("XDG_RUNTIME_DIR", m_runtime);
        restore("TMPDIR", m_tmpdir);
        restore("XDG_CACHE_HOME", m_cache);
    }

private:
    static void restore(const char* name, const QByteArray& value)
    {
        if (value.isEmpty()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }

    QByteArray m_runtime;
    QByteArray m_tmpdir;
    QByteArray m_cache;
};

} // namespace

TEST(AppPaths, TemporaryFolderInTheSharedPlaceIsPrivate)
{
    const QString tmp = test::TestHomeListener::home() + "/tmp";
    QString folder;
    {
        SharedTemporaryFolder shared(tmp);
        folder = AppPaths::temporaryDirectory();
    }
    EXPECT_EQ(folder, tmp + QString("/norvelle-%1").arg(getuid()));
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(folder).permissions() & othersAndGroup, 0);
}

TEST(AppPaths, ATemporaryFolderNameTakenByALinkIsNotUsed)
{
    const QString tmp = test::TestHomeListener::home() + "/tmp";
    const QString target = test::TestHomeListener::home() + "/elsewhere";
    ASSERT_TRUE(QDir().mkpath(target));
    ASSERT_TRUE(QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOther));
    QString folder;
    {
        SharedTemporaryFolder shared(tmp);
        ASSERT_TRUE(QFile::link(target, tmp + QString("/norvelle-%1").arg(getuid())));
        folder = AppPaths::temporaryDirectory();
    }
    ASSERT_FALSE(folder.isEmpty());
    const QFileInfo info(folder);
    EXPECT_FALSE(info.isSymLink());
    EXPECT_TRUE(info.isDir());
    EXPECT_EQ(info.permissions() & othersAndGroup, 0);
    EXPECT_TRUE(QFile::permissions(target) & QFileDevice::ReadOther) << "the linked folder is left alone";

    // Every launch finds the same folder, where the running copy's socket is.
    SharedTemporaryFolder again(tmp);
    EXPECT_EQ(AppPaths::temporaryDirectory(), folder);
}
