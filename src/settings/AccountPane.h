#pragma once

#include "account/AccountSignInInline.h"
#include "settings/SettingsForm.h"

#include <QPointer>

class QPushButton;
class QVBoxLayout;

namespace norvelle {

class ConnectedDevicesView;
class DeleteAccountSheet;
class SettingsAccountState;
class TextLabel;

// The Account pane. "Account": signed in, a card with "Sign out"; signed out, the e-mail
// sign-in form. "Connected Devices": the account's devices. "Delete account": deletes the
// account after the user typed "delete" in a sheet. Signed in here means a session is stored.
class AccountPane : public SettingsForm {
    Q_OBJECT
public:
    explicit AccountPane(SettingsAccountState& state, QWidget* parent = nullptr);

    QWidget* signedInCard() const { return m_signedInCard; }
    QPushButton* signOutButton() const { return m_signOut; }
    // Null while signed in.
    AccountSignInInline* signInForm() const { return m_signInForm; }
    ConnectedDevicesView* devicesView() const { return m_devices; }
    QPushButton* deleteAccountButton() const { return m_deleteAccount; }
    TextLabel* deleteAccountErrorLabel() const { return m_deleteError; }
    // Null until the first deletion was begun.
    DeleteAccountSheet* deleteSheet() const { return m_sheet; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeSignedInCard();
    void refresh();

    SettingsAccountState& m_state;
    QWidget* m_signedInCard = nullptr;
    QPushButton* m_signOut = nullptr;
    QWidget* m_signedOutCard = nullptr;
    QVBoxLayout* m_signedOutLayout = nullptr;
    QPointer<AccountSignInInline> m_signInForm;
    ConnectedDevicesView* m_devices = nullptr;
    QPushButton* m_deleteAccount = nullptr;
    TextLabel* m_deleteError = nullptr;
    DeleteAccountSheet* m_sheet = nullptr;
};

} // namespace norvelle
