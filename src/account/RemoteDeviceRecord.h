#pragma once

#include "account/ServiceError.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace norvelle {

// One device of the account, as the server lists it; identified by `id`.
struct RemoteDeviceRecord {
    QString id;
    QString name;
    QString platform;
    std::optional<QString> firstSeenAt;
    std::optional<QString> lastSeenAt;
    std::optional<bool> active;
    std::optional<QString> lastSeenIp;

    bool operator==(const RemoteDeviceRecord&) const = default;
};

// The answer of the device list, in the server's order.
struct RemoteDevicesResponse {
    QList<RemoteDeviceRecord> devices;

    static ServiceResult<RemoteDevicesResponse> fromJson(const QByteArray& data);
};

} // namespace norvelle
