#pragma once

#include "settings/SettingsForm.h"

class QLineEdit;
class QPushButton;

namespace norvelle {

class BadgeLabel;
class GoogleSignInButton;
class SettingsAccountState;
class SettingsSection;
class TextLabel;
class ToggleSwitch;

// The Sync pane. "Connection": sync on or off, the account e-mail, the status line with the
// connection badge and "Sign out", and while signed out the Google sign-in; "Actions" (only
// while sync is on): automatic sync and "Sync now".
class SyncPane : public SettingsForm {
    Q_OBJECT
public:
    explicit SyncPane(SettingsAccountState& state, QWidget* parent = nullptr);

    ToggleSwitch* enableSyncSwitch() const { return m_enableSync; }
    QLineEdit* accountEmailField() const { return m_email; }
    TextLabel* statusLabel() const { return m_status; }
    BadgeLabel* connectionBadge() const { return m_badge; }
    QPushButton* signOutButton() const { return m_signOut; }
    QWidget* signInPrompt() const { return m_prompt; }
    GoogleSignInButton* googleButton() const { return m_google; }
    TextLabel* connectErrorLabel() const { return m_connectError; }
    SettingsSection* actionsSection() const { return m_actions; }
    ToggleSwitch* autoSyncSwitch() const { return m_autoSync; }
    QPushButton* syncNowButton() const { return m_syncNow; }

private:
    QWidget* makeStatusRow();
    QWidget* makeSignInPrompt();
    void refresh();

    SettingsAccountState& m_state;
    ToggleSwitch* m_enableSync = nullptr;
    QLineEdit* m_email = nullptr;
    TextLabel* m_status = nullptr;
    BadgeLabel* m_badge = nullptr;
    QPushButton* m_signOut = nullptr;
    QWidget* m_prompt = nullptr;
    GoogleSignInButton* m_google = nullptr;
    TextLabel* m_connectError = nullptr;
    SettingsSection* m_actions = nullptr;
    ToggleSwitch* m_autoSync = nullptr;
    QPushButton* m_syncNow = nullptr;
};

} // namespace norvelle
