#pragma once

#include "settings/SettingsForm.h"

namespace norvelle {

class StoredChoicePicker;
class ToggleSwitch;

// The General pane: opening the workspace at start, launch at login and the theme.
class GeneralPane : public SettingsForm {
    Q_OBJECT
public:
    explicit GeneralPane(QWidget* parent = nullptr);

    ToggleSwitch* openWorkspaceSwitch() const { return m_openWorkspace; }
    ToggleSwitch* launchAtLoginSwitch() const { return m_launchAtLogin; }
    StoredChoicePicker* themePicker() const { return m_theme; }

    // Shows whether the login item is on now.
    void refreshLaunchAtLogin();
    // Turns the login item on or off when it is not already; when the desktop refuses, the
    // switch goes back to the item's real state.
    void setLaunchAtLogin(bool wanted);

private:
    ToggleSwitch* m_openWorkspace = nullptr;
    ToggleSwitch* m_launchAtLogin = nullptr;
    StoredChoicePicker* m_theme = nullptr;
};

} // namespace norvelle
