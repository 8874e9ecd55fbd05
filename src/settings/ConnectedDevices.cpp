#include "settings/ConnectedDevices.h"

#include "account/APIConfig.h"
#include "account/AuthService.h"
#include "account/DeviceAttestation.h"
#include "platform/StoredSettings.h"
#include "settings/DevicesErrorMessage.h"

#include <QPointer>

namespace norvelle {

ConnectedDevices::ConnectedDevices(AuthService& auth, DeviceAttestation& attestation,
    std::function<bool()> accountConnected, QObject* parent)
    : QObject(parent)
    , m_auth(auth)
    , m_attestation(attestation)
    , m_accountConnected(std::move(accountConnected))
{
}

bool ConnectedDevices::isThisDevice(const RemoteDeviceRecord& device) const
{
    return device.id == m_attestation.deviceIdentifier();
}

void ConnectedDevices::load(std::function<void()> done)
{
    const auto finish = [done] {
        if (done) {
            done();
        }
    };
    if (!m_accountConnected()) {
        m_devices.clear();
        m_error = QStringLiteral("Connect account to manage devices.");
        emit changed();
        finish();
        return;
    }
    APIConfig::setBaseURLOverride(storedSettings::apiBaseURL.value());
    m_loading = true;
    m_error.clear();
    emit changed();
    m_auth.fetchDevices([self = QPointer(this), finish](ServiceResult<RemoteDevicesResponse> result) {
        if (!self) {
            return;
        }
        if (const ServiceError* error = std::get_if<ServiceError>(&result)) {
            self->m_error = devicesErrorMessage(*error);
        } else {
            self->m_devices = std::get<RemoteDevicesResponse>(result).devices;
        }
        self->m_loading = false;
        emit self->changed();
        finish();
    });
}

void ConnectedDevices::remove(const RemoteDeviceRecord& device)
{
    if (isThisDevice(device)) {
        return;
    }
    m_auth.removeDevice(device.id, [self = QPointer(this)](std::optional<ServiceError> error) {
        if (!self) {
            return;
        }
        if (error) {
            self->m_error = QStringLiteral("Failed to remove device.");
            emit self->changed();
            return;
        }
        self->load();
    });
}

} // namespace norvelle
