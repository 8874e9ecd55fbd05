#include "platform/DeviceIdentity.h"

#include "platform/RegularFile.h"

#include <QSysInfo>

namespace norvelle {

namespace {

// A machine id is 33 bytes; anything much larger is not one.
constexpr qint64 maximumFileBytes = 4096;

} // namespace

QStringList DeviceIdentity::defaultFiles()
{
    return {QStringLiteral("/etc/machine-id"), QStringLiteral("/var/lib/dbus/machine-id")};
}

QString DeviceIdentity::machineId(const QStringList& files)
{
    for (const QString& path : files) {
        const RegularFile::Result file = RegularFile::read(path, maximumFileBytes);
        if (!file.ok()) {
            continue;
        }
        const QByteArray& data = file.bytes;
        const QString id = QString::fromUtf8(data.left(data.indexOf('\n') < 0 ? data.size() : data.indexOf('\n'))).trimmed();
        if (!id.isEmpty()) {
            return id;
        }
    }
    return {};
}

QString DeviceIdentity::hostName()
{
    return QSysInfo::machineHostName();
}

} // namespace norvelle
