#pragma once

#include "settings/SettingsAccountServices.h"

#include <QObject>
#include <QString>

#include <optional>

class QWidget;

namespace norvelle {

class ConnectedDevices;
class ServiceError;

// The account side of the settings window, shared by the Sync and Account panes: whether
// this window regards the computer as connected, the sync status line, the last connection
// error, the account deletion in progress and the devices list. Every action starts its
// request and returns; the outcome arrives later on the main thread, and `changed` follows
// every change of what the panes show.
class SettingsAccountState : public QObject {
    Q_OBJECT
public:
    explicit SettingsAccountState(SettingsAccountServices services, QObject* parent = nullptr);

    const SettingsAccountServices& services() const { return m_services; }
    ConnectedDevices& devices() const { return *m_devices; }

    bool accountConnected() const { return m_accountConnected; }
    // Signed in and the address set now is one requests go to: what the badge calls Connected.
    bool canSend() const { return m_accountConnected && !m_addressRefused; }
    std::optional<QString> connectError() const { return m_connectError; }
    QString syncStatus() const { return m_syncStatus; }
    bool isSigningOut() const { return m_signingOut; }
    // Whether a session is stored right now (the Account pane's view of being signed in).
    bool hasStoredSession() const;
    QString accountEmail() const { return m_accountEmail; }
    void setAccountEmail(const QString& email) { m_accountEmail = email; }

    bool showDeleteAccountConfirm() const { return m_showDeleteAccountConfirm; }
    bool deletingAccount() const { return m_deletingAccount; }
    std::optional<QString> deleteAccountError() const { return m_deleteAccountError; }
    QString deleteConfirmText() const { return m_deleteConfirmText; }
    void setDeleteConfirmText(const QString& text);
    // The typed word, trimmed and in lower case, is "delete", and no deletion runs.
    bool canConfirmDeletion() const;

    // Each time the window shows: the typed base URL, the stored session, the status, the devices.
    void refreshOnAppear();
    // The Sync pane's "Sign out".
    void toggleAccountConnection();
    void connectWithGoogle(QWidget* anchor);
    void runSyncNow();
    // The Account pane's "Sign out".
    void signOut();
    // After the embedded form signed in.
    void markSignedIn();
    void beginAccountDeletion();
    void cancelAccountDeletion();
    void confirmAccountDeletion();

    // The window an account sheet or browser hand-off is shown over: the active window, else
    // the one `fallback` is in.
    static QWidget* presentationAnchorWindow(QWidget* fallback);

signals:
    void changed();

private:
    void setConnected(bool connected, const std::optional<QString>& status);
    // Not connected after a request the program would not send, or one the server refused for
    // its session.
    void takeRefusal(const ServiceError& failure);

    SettingsAccountServices m_services;
    ConnectedDevices* m_devices = nullptr;
    bool m_accountConnected = false;
    bool m_addressRefused = false;
    std::optional<QString> m_connectError;
    QString m_syncStatus = QStringLiteral("Idle");
    bool m_signingOut = false;
    QString m_accountEmail;
    bool m_showDeleteAccountConfirm = false;
    bool m_deletingAccount = false;
    std::optional<QString> m_deleteAccountError;
    QString m_deleteConfirmText;
};

} // namespace norvelle
