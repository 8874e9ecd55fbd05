#include "settings/SyncPane.h"

#include "account/GoogleSignInButton.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "settings/SettingSwitch.h"
#include "settings/SettingsAccountState.h"
#include "settings/SettingsButton.h"
#include "settings/SettingsSection.h"
#include "settings/StatusColors.h"
#include "settings/ToggleSwitch.h"
#include "ui/BadgeLabel.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace norvelle {

SyncPane::SyncPane(SettingsAccountState& state, QWidget* parent)
    : SettingsForm(parent)
    , m_state(state)
{
    SettingsSection* connection = addSection(QStringLiteral("Connection"));
    m_enableSync = connection->addSwitch(QStringLiteral("Enable sync"));
    bindSwitch(*m_enableSync, storedSettings::syncEnabled);

    m_email = new QLineEdit(state.accountEmail());
    m_email->setPlaceholderText(QStringLiteral("you@example.com"));
    m_email->setToolTip(QStringLiteral(
        "A note for yourself while Settings is open: the address isn’t sent or saved. To sign in, use the Account pane or Google."));
    m_email->setMinimumWidth(220);
    connect(m_email, &QLineEdit::textEdited, this, [this](const QString& text) { m_state.setAccountEmail(text); });
    connection->addLabelledRow(QStringLiteral("Account email (optional)"), m_email);

    connection->addRow(makeStatusRow());
    m_prompt = makeSignInPrompt();
    connection->addRow(m_prompt);
    m_connectError = connection->addText(QString());

    m_actions = addSection(QStringLiteral("Actions"));
    m_autoSync = m_actions->addSwitch(QStringLiteral("Sync automatically in the background (~3 min)"));
    bindSwitch(*m_autoSync, storedSettings::autoSyncEnabled);
    m_syncNow = makeSettingsButton(QStringLiteral("Sync now"), 10, 30);
    connect(m_syncNow, &QPushButton::clicked, &m_state, &SettingsAccountState::runSyncNow);
    m_actions->addButtons({m_syncNow});

    connect(&m_state, &SettingsAccountState::changed, this, &SyncPane::refresh);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == storedSettings::syncEnabled.key) {
            refresh();
        }
    });
    refresh();
}

QWidget* SyncPane::makeStatusRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 6, 0, 6);
    layout->setSpacing(8);
    // The status takes the row's free width, so it wraps only when it is longer than the row
    // (a refused sync's advice), never inside "Sync state: Connected".
    m_status = new TextLabel(QString(), viewFont(13), &SchemeColors::secondaryText, row);
    m_status->setWordWrap(true);
    layout->addWidget(m_status, 1);
    m_badge = new BadgeLabel(
        viewFont(11, QFont::DemiBold), &SchemeColors::label,
        [this](const SchemeColors&) {
            return m_state.canSend() ? statusColors::green(0.2) : statusColors::grey(0.2);
        },
        QSize(8, 3), -1, row);
    layout->addWidget(m_badge);
    m_signOut = makeSettingsButton(QStringLiteral("Sign out"), 10, 30);
    connect(m_signOut, &QPushButton::clicked, &m_state, &SettingsAccountState::toggleAccountConnection);
    layout->addWidget(m_signOut);
    return row;
}

QWidget* SyncPane::makeSignInPrompt()
{
    auto* prompt = new QWidget;
    auto* layout = new QVBoxLayout(prompt);
    layout->setContentsMargins(0, 2 + 6, 0, 8);
    layout->setSpacing(8);
    auto* text = new TextLabel(QStringLiteral("Sign in to sync your notes across your computers."), viewFont(11),
        &SchemeColors::secondaryText, prompt);
    text->setWordWrap(true);
    layout->addWidget(text);
    m_google = new GoogleSignInButton(prompt);
    m_google->setFixedSize(280, 44);
    connect(m_google, &QAbstractButton::clicked, this,
        [this] { m_state.connectWithGoogle(SettingsAccountState::presentationAnchorWindow(this)); });
    layout->addWidget(m_google);
    return prompt;
}

void SyncPane::refresh()
{
    const bool connected = m_state.accountConnected();
    m_status->setText(QStringLiteral("Sync state: ") + m_state.syncStatus());
    m_badge->setText(m_state.canSend() ? QStringLiteral("Connected") : QStringLiteral("Disconnected"));
    m_badge->update();
    m_signOut->setVisible(connected);
    m_signOut->setEnabled(!m_state.isSigningOut());
    m_prompt->setVisible(!connected);
    const QString error = m_state.connectError().value_or(QString());
    m_connectError->setText(error);
    m_connectError->setVisible(!error.isEmpty());

    m_actions->setVisible(storedSettings::syncEnabled.value());
    m_autoSync->setEnabled(m_state.canSend());
    m_syncNow->setEnabled(m_state.canSend());
}

} // namespace norvelle
