#include "platform/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace norvelle {

namespace {

QString xdgOrHome(const char* variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) {
        return value;
    }
    return QDir::homePath() + "/" + fallbackBelowHome;
}

// In a folder every user shares, another user (or a link by that name) may have taken our
// folder's name first.
bool isOwnFolder(const QString& path)
{
    const QFileInfo info(path);
    return !info.isSymLink() && info.isDir() && info.ownerId() == getuid();
}

} // namespace

QString AppPaths::homeOverride()
{
    return qEnvironmentVariable("NORVELLE_HOME");
}

QString AppPaths::applicationSupportDirectory()
{
    const QString home = homeOverride();
    if (!home.isEmpty()) {
        return home + "/data";
    }
    return xdgOrHome("XDG_DATA_HOME", ".local/share");
}

QString AppPaths::configDirectory()
{
    const QString home = homeOverride();
    if (!home.isEmpty()) {
        return home + "/config/norvelle";
    }
    return xdgOrHome("XDG_CONFIG_HOME", ".config") + "/norvelle";
}

QString AppPaths::autostartDirectory()
{
    const QString home = homeOverride();
    if (!home.isEmpty()) {
        return home + "/config/autostart";
    }
    return xdgOrHome("XDG_CONFIG_HOME", ".config") + "/autostart";
}

QString AppPaths::temporaryDirectory()
{
    QString path;
    const QString home = homeOverride();
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!home.isEmpty()) {
        path = home + "/runtime";
    } else if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        path = runtime + "/norvelle";
    } else {
        path = QDir::tempPath() + QString("/norvelle-%1").arg(getuid());
        ensureDirectory(path);
        if (!isOwnFolder(path)) {
            // Taken: a folder of our own that stays the same from launch to launch, so a later
            // launch still finds the running copy's socket.
            path = xdgOrHome("XDG_CACHE_HOME", ".cache") + "/norvelle/runtime";
        }
    }
    if (!ensureDirectory(path) || !isOwnFolder(path)) {
        return {};
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

bool AppPaths::ensureDirectory(const QString& path)
{
    return QDir().mkpath(path);
}

} // namespace norvelle
