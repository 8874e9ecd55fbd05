#include "account/DeviceAttestation.h"

#include "platform/Crypto.h"
#include "platform/DeviceIdentity.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QUuid>

namespace norvelle {

DeviceAttestation::DeviceAttestation(std::function<QString()> platformUUID)
    : m_platformUUID(std::move(platformUUID))
{
}

DeviceAttestation& DeviceAttestation::shared()
{
    static DeviceAttestation attestation;
    return attestation;
}

QString DeviceAttestation::defaultPlatformUUID()
{
    return DeviceIdentity::machineId();
}

std::optional<DeviceAttestation::Payload> DeviceAttestation::makePayload() const
{
    return std::nullopt;
}

QString DeviceAttestation::deviceIdentifier()
{
    std::call_once(m_once, [this] { m_identifier = fallbackDeviceIdentifier(); });
    return m_identifier;
}

QString DeviceAttestation::hardwareDeviceIdentifier(const QString& platformUUID)
{
    return QStringLiteral("nvd_") + Crypto::sha256Hex(QStringLiteral("harbor-node-tag-v7:").toUtf8() + platformUUID.toUtf8()).left(32);
}

QString DeviceAttestation::fallbackDeviceIdentifier()
{
    const QString uuid = m_platformUUID();
    if (!uuid.isEmpty()) {
        return hardwareDeviceIdentifier(uuid);
    }
    UserDefaults& defaults = UserDefaults::standard();
    const std::optional<QString> stored = defaults.string(storedSettings::deviceIdentifier.key);
    if (stored && !stored->isEmpty()) {
        return *stored;
    }
    const QString random = QStringLiteral("nvd_") + QUuid::createUuid().toString(QUuid::Id128).toLower();
    defaults.set(storedSettings::deviceIdentifier.key, random);
    return random;
}

} // namespace norvelle
