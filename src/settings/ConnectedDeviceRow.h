#pragma once

#include "account/RemoteDeviceRecord.h"

#include <QDateTime>
#include <QWidget>

class QPushButton;

namespace norvelle {

// One device of the account: its name (with "This device" on this computer's row), platform
// and when it was last seen, its last IP address, and "Remove" on every other device's row.
class ConnectedDeviceRow : public QWidget {
    Q_OBJECT
public:
    ConnectedDeviceRow(const RemoteDeviceRecord& device, bool isThisDevice, QWidget* parent = nullptr);

    // Null on this computer's row.
    QPushButton* removeButton() const { return m_remove; }

    // "last seen unknown" unless `lastSeenAt` is an internet date-time, with or without
    // fractional seconds; then how long ago, in words.
    static QString lastSeenText(const std::optional<QString>& lastSeenAt, const QDateTime& now);

signals:
    void removeRequested(const RemoteDeviceRecord& device);

private:
    QPushButton* m_remove = nullptr;
};

} // namespace norvelle
