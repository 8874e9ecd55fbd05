#include "settings/ConnectedDeviceRow.h"

#include "platform/InternetDateTime.h"
#include "settings/NamedRelativeDate.h"
#include "settings/SettingsButton.h"
#include "ui/BadgeLabel.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

ConnectedDeviceRow::ConnectedDeviceRow(const RemoteDeviceRecord& device, bool isThisDevice, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 8, 0, 8);
    auto* details = new QVBoxLayout;
    details->setSpacing(4);

    auto* firstLine = new QHBoxLayout;
    firstLine->setSpacing(6);
    // A long name is cut, so "Remove" and "Active here" stay in the window.
    auto* name = new TextLabel(device.name, viewFont(12, QFont::DemiBold), &SchemeColors::label);
    name->setElided(Qt::ElideRight);
    name->setMinimumWidth(40);
    firstLine->addWidget(name, 1);
    if (isThisDevice) {
        auto* badge = new BadgeLabel(
            viewFont(9, QFont::DemiBold), &SchemeColors::secondaryText,
            [](const SchemeColors& colors) { return colors.overlay(0.08, 0.06); }, QSize(6, 2), -1);
        badge->setText(QStringLiteral("This device"));
        firstLine->addWidget(badge);
    }
    details->addLayout(firstLine);

    auto* seen = new TextLabel(device.platform + QStringLiteral(" • ")
            + lastSeenText(device.lastSeenAt, QDateTime::currentDateTimeUtc()),
        viewFont(11), &SchemeColors::secondaryText);
    seen->setElided(Qt::ElideRight);
    details->addWidget(seen);
    if (device.lastSeenIp && !device.lastSeenIp->isEmpty()) {
        auto* address = new TextLabel(QStringLiteral("Last IP ") + *device.lastSeenIp, viewFont(10), &SchemeColors::tertiaryText);
        address->setElided(Qt::ElideRight);
        details->addWidget(address);
    }
    layout->addLayout(details, 1);

    if (isThisDevice) {
        layout->addWidget(new TextLabel(QStringLiteral("Active here"), viewFont(10, QFont::Medium), &SchemeColors::tertiaryText));
    } else {
        m_remove = makeSettingsButton(QStringLiteral("Remove"), 8, 28);
        connect(m_remove, &QPushButton::clicked, this, [this, device] { emit removeRequested(device); });
        layout->addWidget(m_remove);
    }
}

QString ConnectedDeviceRow::lastSeenText(const std::optional<QString>& lastSeenAt, const QDateTime& now)
{
    const std::optional<QDateTime> date = lastSeenAt ? InternetDateTime::parse(*lastSeenAt) : std::nullopt;
    if (!date) {
        return QStringLiteral("last seen unknown");
    }
    return namedRelativeDateText(*date, now);
}

} // namespace norvelle
