#include "account/AuthRequestBodies.h"

#include "platform/DeviceIdentity.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace norvelle {

namespace {

void insertIfPresent(QJsonObject& object, const QString& key, const std::optional<QString>& value)
{
    if (value && !value->isEmpty()) {
        object.insert(key, *value);
    }
}

void insertDevice(QJsonObject& object, const DeviceFields& device)
{
    object.insert(QStringLiteral("deviceId"), device.deviceId);
    object.insert(QStringLiteral("deviceName"), device.deviceName);
    object.insert(QStringLiteral("platform"), device.platform);
    if (device.attestation) {
        object.insert(QStringLiteral("devicePublicKey"), device.attestation->publicKey);
        object.insert(QStringLiteral("deviceAttestation"), device.attestation->signature);
        object.insert(QStringLiteral("attestationTimestamp"), device.attestation->timestamp);
    }
}

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray tokenBody(const QString& tokenKey, const QString& token, const DeviceFields& device,
    const std::optional<QString>& email, const std::optional<QString>& fullName)
{
    QJsonObject object;
    object.insert(tokenKey, token);
    insertIfPresent(object, QStringLiteral("email"), email);
    insertIfPresent(object, QStringLiteral("fullName"), fullName);
    insertDevice(object, device);
    return compact(object);
}

} // namespace

DeviceFields DeviceFields::current(DeviceAttestation& attestation)
{
    DeviceFields fields;
    fields.deviceId = attestation.deviceIdentifier();
    const QString host = DeviceIdentity::hostName();
    fields.deviceName = host.isEmpty() ? QStringLiteral("Linux computer") : host;
    fields.attestation = attestation.makePayload();
    return fields;
}

QByteArray EmailAuthBody::toJson() const
{
    QJsonObject object;
    object.insert(QStringLiteral("email"), email);
    object.insert(QStringLiteral("password"), password);
    insertIfPresent(object, QStringLiteral("name"), name);
    insertDevice(object, device);
    return compact(object);
}

QByteArray AppleSignInBody::toJson() const
{
    return tokenBody(QStringLiteral("identityToken"), identityToken, device, email, fullName);
}

QByteArray GoogleSignInBody::toJson() const
{
    return tokenBody(QStringLiteral("idToken"), idToken, device, email, fullName);
}

QByteArray RegisterDeviceBody::toJson() const
{
    QJsonObject object;
    insertDevice(object, device);
    return compact(object);
}

QByteArray RemoveDeviceBody::toJson() const
{
    return compact(QJsonObject {{QStringLiteral("deviceId"), deviceId}});
}

} // namespace norvelle
