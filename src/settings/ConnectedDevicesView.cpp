#include "settings/ConnectedDevicesView.h"

#include "settings/ConnectedDeviceRow.h"
#include "settings/ConnectedDevices.h"
#include "settings/SettingsButton.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

ConnectedDevicesView::ConnectedDevicesView(ConnectedDevices& devices, QWidget* parent)
    : QWidget(parent)
    , m_devices(devices)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 8);
    layout->setSpacing(6);
    m_message = new TextLabel(QString(), viewFont(13), [this](const SchemeColors& colors) {
        return m_showsError ? colors.destructive() : colors.secondaryText();
    });
    m_message->setWordWrap(true);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_message);
    m_rows = new QWidget;
    m_rowsLayout = new QVBoxLayout(m_rows);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(0);
    layout->addWidget(m_rows);
    m_refresh = makeSettingsButton(QStringLiteral("Refresh devices"), 10, 28);
    connect(m_refresh, &QPushButton::clicked, &m_devices, [this] { m_devices.load(); });
    layout->addWidget(m_refresh, 0, Qt::AlignLeft);

    connect(&m_devices, &ConnectedDevices::changed, this, &ConnectedDevicesView::refresh);
    refresh();
}

void ConnectedDevicesView::refresh()
{
    // A row may be the sender of what brought us here: it goes on the next turn.
    for (ConnectedDeviceRow* row : std::as_const(m_rowWidgets)) {
        row->hide();
        row->deleteLater();
    }
    m_rowWidgets.clear();
    const QString error = m_devices.errorText();
    const bool listed = !m_devices.isLoading() && error.isEmpty() && !m_devices.devices().isEmpty();
    if (m_devices.isLoading()) {
        m_message->setText(QStringLiteral("Loading devices…"));
    } else if (!error.isEmpty()) {
        m_message->setText(error);
    } else {
        m_message->setText(QStringLiteral("No active devices"));
    }
    m_showsError = !m_devices.isLoading() && !error.isEmpty();
    m_message->update();
    m_message->setVisible(!listed);
    m_rows->setVisible(listed);
    if (!listed) {
        return;
    }
    for (const RemoteDeviceRecord& device : m_devices.devices()) {
        auto* row = new ConnectedDeviceRow(device, m_devices.isThisDevice(device), m_rows);
        connect(row, &ConnectedDeviceRow::removeRequested, &m_devices, &ConnectedDevices::remove);
        m_rowsLayout->addWidget(row);
        m_rowWidgets.append(row);
    }
}

} // namespace norvelle
