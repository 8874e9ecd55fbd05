#include "settings/GeneralPane.h"

#include "platform/LoginItem.h"
#include "platform/StoredSettings.h"
#include "platform/SystemLog.h"
#include "settings/SettingSwitch.h"
#include "settings/SettingsSection.h"
#include "settings/StoredChoicePicker.h"
#include "settings/ToggleSwitch.h"
#include "ui/NorvelleAppearancePreference.h"

namespace norvelle {

GeneralPane::GeneralPane(QWidget* parent)
    : SettingsForm(parent)
{
    SettingsSection* general = addSection(QStringLiteral("General settings"));
    m_openWorkspace = general->addSwitch(QStringLiteral("Open workspace when Norvelle starts"));
    bindSwitch(*m_openWorkspace, storedSettings::openWorkspaceOnLaunch);
    m_launchAtLogin = general->addSwitch(QStringLiteral("Launch at login"));
    refreshLaunchAtLogin();
    connect(m_launchAtLogin, &QAbstractButton::clicked, this, &GeneralPane::setLaunchAtLogin);

    SettingsSection* appearanceSection = addSection(QStringLiteral("Appearance"));
    QList<StoredChoicePicker::Option> themes;
    for (const NorvelleAppearancePreference preference : appearance::allCases) {
        themes.append({appearance::title(preference), appearance::rawValue(preference)});
    }
    m_theme = new StoredChoicePicker(storedSettings::appearance, themes);
    appearanceSection->addLabelledRow(QStringLiteral("Theme"), m_theme);
    appearanceSection->addText(QStringLiteral(
        "Controls the main Norvelle workspace window. Sticky notes still use their own paper colors."));

    addSection(QString())->addText(QStringLiteral(
                                       "Global keyboard shortcuts are in the Shortcuts tab; clipboard history options are under Clipboard."),
        13);
}

void GeneralPane::refreshLaunchAtLogin()
{
    m_launchAtLogin->setChecked(LoginItem::status() == LoginItem::Status::enabled);
}

void GeneralPane::setLaunchAtLogin(bool wanted)
{
    if (const std::optional<QString> error = LoginItem::setEnabled(wanted)) {
        SystemLog("settings").notice(QStringLiteral("Launch at login could not be changed: %1").arg(*error));
        refreshLaunchAtLogin();
    }
}

} // namespace norvelle
