#include "settings/PrivacyPane.h"

#include "account/APIConfig.h"
#include "platform/StoredSettings.h"
#include "settings/SettingSwitch.h"
#include "settings/SettingsButton.h"
#include "settings/SettingsSection.h"
#include "settings/ToggleSwitch.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QDesktopServices>
#include <QPushButton>
#include <QUrl>

namespace norvelle {

namespace {

// Opens a page of the service's web site in the browser; an address that cannot be formed
// opens nothing.
void openWebPage(const QString& path)
{
    const QUrl url(APIConfig::webOrigin() + path, QUrl::StrictMode);
    if (url.isValid()) {
        QDesktopServices::openUrl(url);
    }
}

QPushButton* makeLinkButton(const QString& title, const QString& path)
{
    QPushButton* button = makeSettingsButton(title, 10, 30);
    QObject::connect(button, &QPushButton::clicked, button, [path] { openWebPage(path); });
    return button;
}

} // namespace

PrivacyPane::PrivacyPane(QWidget* parent)
    : SettingsForm(parent)
{
    SettingsSection* data = addSection(QStringLiteral("Your data"));
    const QList<QPair<QString, QString>> statements {
        {QStringLiteral("lock.shield"), QStringLiteral("Clipboard history is kept in memory only and is never written to "
                                                       "disk — it clears when you quit Norvelle.")},
        {QStringLiteral("internaldrive"), QStringLiteral("Notes are stored locally on your computer. They sync to our server "
                                                         "only when you’re signed in to sync.")},
        {QStringLiteral("network"), QStringLiteral("Device sign-in IPs are recorded purely to keep your account secure "
                                                   "and flag account sharing.")},
    };
    for (const auto& [symbol, text] : statements) {
        QWidget* row = TextLabel::withSymbol(symbol, text, viewFont(12), 8, nullptr);
        if (auto* label = row->findChild<TextLabel*>()) {
            label->setWordWrap(true);
        }
        row->setContentsMargins(0, 6, 0, 6);
        data->addRow(row);
    }

    SettingsSection* analytics = addSection(QStringLiteral("Usage analytics"));
    m_analytics = analytics->addSwitch(QStringLiteral("Share anonymous usage analytics"));
    m_analytics->setToolTip(QStringLiteral(
        "Records note lifecycle and share events (never note contents or clipboard data) to help improve Norvelle."));
    bindSwitch(*m_analytics, storedSettings::telemetryEnabled);
    analytics->addText(QStringLiteral("Events cover actions like creating or sharing a note — never the text of your "
                                      "notes or anything you copy. Turn this off to record nothing."));

    SettingsSection* legal = addSection(QStringLiteral("Legal"));
    m_privacy = makeLinkButton(QStringLiteral("Open Privacy Policy"), QStringLiteral("/privacy"));
    m_terms = makeLinkButton(QStringLiteral("Open Terms of Service"), QStringLiteral("/terms"));
    legal->addButtons({m_privacy, m_terms});
}

} // namespace norvelle
