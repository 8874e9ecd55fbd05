#pragma once

#include "account/DeviceAttestation.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace norvelle {

// What every sign-in and registration body says about this device.
struct DeviceFields {
    QString deviceId;
    QString deviceName;
    QString platform = QStringLiteral("macOS");
    std::optional<DeviceAttestation::Payload> attestation;

    // This device: its identifier, its host name ("Linux computer" when the system gives none) and the
    // attestation, when one can be made.
    static DeviceFields current(DeviceAttestation& attestation);
};

// Request bodies of the sign-in and device endpoints. Optional texts are written only when
// present and not empty; the attestation, when present, as "devicePublicKey",
// "deviceAttestation" and "attestationTimestamp" (an integer), else none of the three.
struct EmailAuthBody {
    QString email;
    QString password;
    std::optional<QString> name;
    DeviceFields device;
    QByteArray toJson() const;
};

struct AppleSignInBody {
    QString identityToken;
    DeviceFields device;
    std::optional<QString> email;
    std::optional<QString> fullName;
    QByteArray toJson() const;
};

struct GoogleSignInBody {
    QString idToken;
    DeviceFields device;
    std::optional<QString> email;
    std::optional<QString> fullName;
    QByteArray toJson() const;
};

struct RegisterDeviceBody {
    DeviceFields device;
    QByteArray toJson() const;
};

struct RemoveDeviceBody {
    QString deviceId;
    QByteArray toJson() const;
};

} // namespace norvelle
