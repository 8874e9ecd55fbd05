// Feeds any bytes to the device list reader: it must never crash, no device id it reads may
// hold a control character (the id goes back to the server to remove the device), and a
// well-formed list must be read whole, never as nothing.
#include "FuzzInput.h"

#include "account/RemoteDeviceRecord.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace norvelle;

namespace {

bool plain(const QString& text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool absentOr(const QJsonValue& value, bool (QJsonValue::*is)() const)
{
    return value.isUndefined() || value.isNull() || (value.*is)();
}

// The ids of a well-formed device list, in order; nothing when it is not one.
std::optional<QStringList> deviceIds(const QJsonValue& list)
{
    if (!list.isArray()) {
        return std::nullopt;
    }
    QStringList ids;
    for (const QJsonValue& element : list.toArray()) {
        const QJsonObject device = element.toObject();
        const QJsonValue id = device.value("id");
        if (!element.isObject() || !id.isString() || !plain(id.toString()) || !device.value("name").isString()
            || !device.value("platform").isString() || !absentOr(device.value("firstSeenAt"), &QJsonValue::isString)
            || !absentOr(device.value("lastSeenAt"), &QJsonValue::isString) || !absentOr(device.value("active"), &QJsonValue::isBool)
            || !absentOr(device.value("lastSeenIp"), &QJsonValue::isString)) {
            return std::nullopt;
        }
        ids << id.toString();
    }
    return ids;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const ServiceResult<RemoteDevicesResponse> reply = RemoteDevicesResponse::fromJson(input);
    const RemoteDevicesResponse* list = std::get_if<RemoteDevicesResponse>(&reply);
    if (list) {
        for (const RemoteDeviceRecord& device : list->devices) {
            fuzz::require(plain(device.id));
        }
    }
    if (const std::optional<QStringList> sent = deviceIds(QJsonDocument::fromJson(input).object().value("devices"))) {
        QStringList read;
        for (const RemoteDeviceRecord& device : list ? list->devices : QList<RemoteDeviceRecord>()) {
            read << device.id;
        }
        fuzz::require(list && read == *sent);
    }
    return 0;
}
