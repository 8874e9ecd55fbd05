#pragma once

#include <QString>

#include <functional>
#include <mutex>
#include <optional>

namespace norvelle {

// This computer's identity towards the server. There is no secure key store here to hold a
// signing key, so no key, no signed attestation and no attestation keys in requests; the
// identifier comes from the machine id, else from a random one kept in the settings.
class DeviceAttestation {
public:
    // What a signing key would let the device send; flattened into request bodies.
    struct Payload {
        QString deviceId;
        QString publicKey;
        QString signature;
        qint64 timestamp = 0;
    };

    // `platformUUID` gives the machine's own identifier, empty when it has none.
    explicit DeviceAttestation(std::function<QString()> platformUUID = defaultPlatformUUID);

    static DeviceAttestation& shared();

    // Always nothing: no key can be kept on this system.
    std::optional<Payload> makePayload() const;

    // "nvd_" and 32 lower-case hexadecimal digits, the same on every run; fixed at first use.
    // Any thread.
    QString deviceIdentifier();

    // "nvd_" + the first 32 hex digits of SHA-256("harbor-node-tag-v7:" + uuid).
    static QString hardwareDeviceIdentifier(const QString& platformUUID);
    // The hardware identifier when the machine has an id, else the stored random one, made and
    // stored under "norvelle.device.id" when missing or empty.
    QString fallbackDeviceIdentifier();

    static QString defaultPlatformUUID();

private:
    std::function<QString()> m_platformUUID;
    std::once_flag m_once;
    QString m_identifier;
};

} // namespace norvelle
