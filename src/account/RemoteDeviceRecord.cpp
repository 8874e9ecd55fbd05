#include "account/RemoteDeviceRecord.h"

#include "account/JsonObjectReader.h"

namespace norvelle {

ServiceResult<RemoteDevicesResponse> RemoteDevicesResponse::fromJson(const QByteArray& data)
{
    QString failure;
    const std::optional<QJsonObject> object = JsonObjectReader::parseObject(data, &failure);
    if (!object) {
        return ServiceError::decoding(failure);
    }
    JsonObjectReader top(*object);
    RemoteDevicesResponse response;
    for (const QJsonObject& element : top.objects(top.requiredArray(QStringLiteral("devices")), QStringLiteral("devices"))) {
        JsonObjectReader reader(element);
        RemoteDeviceRecord record;
        record.id = reader.requiredPlainString(QStringLiteral("id"));
        record.name = reader.requiredString(QStringLiteral("name"));
        record.platform = reader.requiredString(QStringLiteral("platform"));
        record.firstSeenAt = reader.optionalString(QStringLiteral("firstSeenAt"));
        record.lastSeenAt = reader.optionalString(QStringLiteral("lastSeenAt"));
        record.active = reader.optionalBool(QStringLiteral("active"));
        record.lastSeenIp = reader.optionalString(QStringLiteral("lastSeenIp"));
        if (!reader.ok()) {
            return ServiceError::decoding(QStringLiteral("devices: ") + reader.failure());
        }
        response.devices.append(record);
    }
    if (!top.ok()) {
        return ServiceError::decoding(top.failure());
    }
    return response;
}

} // namespace norvelle
