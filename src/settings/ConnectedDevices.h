#pragma once

#include "account/RemoteDeviceRecord.h"

#include <QObject>

#include <functional>

namespace norvelle {

class AuthService;
class DeviceAttestation;

// The account's devices as the settings window shows them: the list in the server's order,
// whether a load runs, and the text shown in place of the list when something failed. The
// list changes only by loading it again.
class ConnectedDevices : public QObject {
    Q_OBJECT
public:
    ConnectedDevices(AuthService& auth, DeviceAttestation& attestation, std::function<bool()> accountConnected,
        QObject* parent = nullptr);

    const QList<RemoteDeviceRecord>& devices() const { return m_devices; }
    bool isLoading() const { return m_loading; }
    QString errorText() const { return m_error; }
    bool isThisDevice(const RemoteDeviceRecord& device) const;

    // Asks the server at the base URL typed in the settings; without an account nothing is
    // asked. `done` runs once the outcome is shown.
    void load(std::function<void()> done = {});
    // Removes another device and loads the list again; this computer is never removed.
    void remove(const RemoteDeviceRecord& device);

signals:
    void changed();

private:
    AuthService& m_auth;
    DeviceAttestation& m_attestation;
    std::function<bool()> m_accountConnected;
    QList<RemoteDeviceRecord> m_devices;
    bool m_loading = false;
    QString m_error;
};

} // namespace norvelle
