#include "account/RemoteDeviceRecord.h"

#include "account/JsonObjectReader.h"

namespace norvelle {

ServiceResult<RemoteDevicesResponse> RemoteDevicesResponse::fromJson(const QByteArray& data)
{
    return decodeJsonObject<RemoteDevicesResponse>(data, [](JsonObjectReader& top) {
        RemoteDevicesResponse response;
        for (const QJsonObject& element : top.objects(top.requiredArray(QStringLiteral("devices")), QStringLiteral("devices"))) {
            JsonObjectReader reader(element);
            // Braced members are read in order, so a failure names the first bad one.
            const RemoteDeviceRecord record {
                .id = reader.requiredPlainString(QStringLiteral("id")),
                .name = reader.requiredString(QStringLiteral("name")),
                .platform = reader.requiredString(QStringLiteral("platform")),
                .firstSeenAt = reader.optionalString(QStringLiteral("firstSeenAt")),
                .lastSeenAt = reader.optionalString(QStringLiteral("lastSeenAt")),
                .active = reader.optionalBool(QStringLiteral("active")),
                .lastSeenIp = reader.optionalString(QStringLiteral("lastSeenIp")),
            };
            if (!reader.ok()) {
                top.fail(QStringLiteral("devices: ") + reader.failure());
                break;
            }
            response.devices.append(record);
        }
        return response;
    });
}

} // namespace norvelle
