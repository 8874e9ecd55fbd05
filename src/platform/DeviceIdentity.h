#pragma once

#include <QString>
#include <QStringList>

namespace norvelle {

// The machine's own identifier: the systemd / D-Bus machine id, the same on every run until
// the system is installed again.
class DeviceIdentity {
public:
    // The first line of the first of `files` that is a small regular file holding one; empty
    // when none does.
    static QString machineId(const QStringList& files = defaultFiles());
    // "/etc/machine-id", then "/var/lib/dbus/machine-id".
    static QStringList defaultFiles();
    // The computer's name as the user knows it (the host name); empty when the system gives none.
    static QString hostName();
};

} // namespace norvelle
