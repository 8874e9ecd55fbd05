#include "settings/AccountPane.h"

#include "account/AccountSignInInline.h"
#include "settings/ConnectedDevices.h"
#include "settings/ConnectedDevicesView.h"
#include "settings/DeleteAccountSheet.h"
#include "settings/SettingsAccountState.h"
#include "settings/SettingsButton.h"
#include "settings/SettingsSection.h"
#include "settings/StatusColors.h"
#include "ui/SchemePalette.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace norvelle {

AccountPane::AccountPane(SettingsAccountState& state, QWidget* parent)
    : SettingsForm(parent)
    , m_state(state)
{
    SettingsSection* account = addSection(QStringLiteral("Account"));
    m_signedInCard = makeSignedInCard();
    account->addRow(m_signedInCard);
    m_signedOutCard = new QWidget;
    m_signedOutLayout = new QVBoxLayout(m_signedOutCard);
    m_signedOutLayout->setContentsMargins(0, 10, 0, 10);
    m_signedOutLayout->setSpacing(10);
    auto* invitation = new TextLabel(QStringLiteral("Create an account or sign in to sync your notes across every computer you use."),
        viewFont(12), &SchemeColors::secondaryText);
    invitation->setWordWrap(true);
    m_signedOutLayout->addWidget(invitation);
    account->addRow(m_signedOutCard);

    SettingsSection* devices = addSection(QStringLiteral("Connected Devices"));
    m_devices = new ConnectedDevicesView(m_state.devices());
    devices->addRow(m_devices);

    SettingsSection* deletion = addSection(QStringLiteral("Delete account"));
    deletion->addText(QStringLiteral("Permanently delete your Norvelle account and everything synced to our servers. This "
                                     "can’t be undone. Notes stored only on this computer are not affected."));
    m_deleteAccount = makeSettingsButton(QStringLiteral("Delete Account…"), 10, 30, true);
    connect(m_deleteAccount, &QPushButton::clicked, &m_state, &SettingsAccountState::beginAccountDeletion);
    deletion->addButtons({m_deleteAccount});
    m_deleteError = deletion->addText(QString(), 11, &SchemeColors::destructive);

    connect(&m_state, &SettingsAccountState::changed, this, &AccountPane::refresh);
    refresh();
}

QWidget* AccountPane::makeSignedInCard()
{
    auto* card = new QWidget;
    auto* layout = new QVBoxLayout(card);
    layout->setContentsMargins(0, 10, 0, 10);
    layout->setSpacing(8);
    auto* title = new QHBoxLayout;
    title->setSpacing(6);
    const auto green = [](const SchemeColors&) { return statusColors::green(); };
    title->addWidget(new SymbolView(QStringLiteral("checkmark.seal.fill"), 13, green));
    title->addWidget(new TextLabel(QStringLiteral("You’re signed in"), viewFont(13, QFont::DemiBold), green));
    title->addStretch(1);
    layout->addLayout(title);
    auto* explanation = new TextLabel(QStringLiteral("Your account keeps your notes in sync across your computers: changes "
                                                     "you make here reach your other devices on their next sync."),
        viewFont(11), &SchemeColors::secondaryText);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    m_signOut = makeSettingsButton(QStringLiteral("Sign out"), 10, 30);
    connect(m_signOut, &QPushButton::clicked, &m_state, &SettingsAccountState::signOut);
    layout->addWidget(m_signOut, 0, Qt::AlignLeft);
    return card;
}

void AccountPane::showEvent(QShowEvent* event)
{
    SettingsForm::showEvent(event);
    refresh();
}

void AccountPane::refresh()
{
    const bool signedIn = m_state.hasStoredSession();
    m_signedInCard->setVisible(signedIn);
    m_signedOutCard->setVisible(!signedIn);
    if (signedIn && m_signInForm) {
        m_signInForm->deleteLater();
        m_signInForm = nullptr;
    } else if (!signedIn && !m_signInForm) {
        // A new form each time the user is signed out, so it starts empty.
        m_signInForm = new AccountSignInInline([this] { return SettingsAccountState::presentationAnchorWindow(this); },
            [state = QPointer(&m_state)] {
                if (state) {
                    state->markSignedIn();
                }
            },
            m_state.services().auth, m_state.services().google);
        m_signedOutLayout->addWidget(m_signInForm);
    }

    m_deleteAccount->setText(m_state.deletingAccount() ? QStringLiteral("Deleting…") : QStringLiteral("Delete Account…"));
    m_deleteAccount->setEnabled(signedIn && !m_state.deletingAccount());
    const QString error = m_state.deleteAccountError().value_or(QString());
    m_deleteError->setText(error);
    m_deleteError->setVisible(!error.isEmpty());

    if (m_state.showDeleteAccountConfirm() && !(m_sheet && m_sheet->isVisible())) {
        if (!m_sheet) {
            m_sheet = new DeleteAccountSheet(m_state, window());
            // The pane, not its window, carries the look chosen in Settings.
            followSchemeOf(*m_sheet, *this);
        }
        m_sheet->open();
    }
}

} // namespace norvelle
