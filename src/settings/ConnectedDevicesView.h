#pragma once

#include <QWidget>

class QPushButton;
class QVBoxLayout;

namespace norvelle {

class ConnectedDeviceRow;
class ConnectedDevices;
class TextLabel;

// The "Connected Devices" section's content: "Loading devices…", the error text, "No active
// devices" or one row per device, then "Refresh devices".
class ConnectedDevicesView : public QWidget {
    Q_OBJECT
public:
    explicit ConnectedDevicesView(ConnectedDevices& devices, QWidget* parent = nullptr);

    // The message shown in place of the rows, hidden while rows show.
    TextLabel* messageLabel() const { return m_message; }
    QList<ConnectedDeviceRow*> rows() const { return m_rowWidgets; }
    QPushButton* refreshButton() const { return m_refresh; }

private:
    void refresh();

    ConnectedDevices& m_devices;
    TextLabel* m_message = nullptr;
    QWidget* m_rows = nullptr;
    QVBoxLayout* m_rowsLayout = nullptr;
    QList<ConnectedDeviceRow*> m_rowWidgets;
    bool m_showsError = false;
    QPushButton* m_refresh = nullptr;
};

} // namespace norvelle
