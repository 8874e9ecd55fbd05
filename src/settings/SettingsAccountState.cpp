#include "settings/SettingsAccountState.h"

#include "account/APIConfig.h"
#include "account/APIGateway.h"
#include "account/AuthService.h"
#include "account/GoogleSignInManager.h"
#include "account/NotesSyncService.h"
#include "account/SyncCredentialStore.h"
#include "core/AnalyticsTracking.h"
#include "platform/StoredSettings.h"
#include "settings/ConnectedDevices.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace norvelle {

SettingsAccountState::SettingsAccountState(SettingsAccountServices services, QObject* parent)
    : QObject(parent)
    , m_services(services)
{
    m_devices = new ConnectedDevices(
        services.auth, services.attestation, [this] { return m_accountConnected; }, this);
}

bool SettingsAccountState::hasStoredSession() const
{
    return m_services.credentials.load().has_value();
}

void SettingsAccountState::setDeleteConfirmText(const QString& text)
{
    m_deleteConfirmText = text;
    emit changed();
}

bool SettingsAccountState::canConfirmDeletion() const
{
    return !m_deletingAccount && m_deleteConfirmText.trimmed().toLower() == QLatin1String("delete");
}

void SettingsAccountState::refreshOnAppear()
{
    APIConfig::setBaseURLOverride(storedSettings::apiBaseURL.value());
    const bool signedIn = hasStoredSession();
    m_accountConnected = signedIn;
    m_addressRefused = false;
    m_connectError.reset();
    const ServiceResult<APIConfig> config = APIConfig::current();
    std::optional<ServiceError> unusable;
    if (const ServiceError* refused = std::get_if<ServiceError>(&config)) {
        unusable = *refused;
    } else if (signedIn) {
        unusable = APIGateway::sessionRefusal(m_services.credentials);
    }
    if (unusable) {
        takeRefusal(*unusable);
        m_connectError = unusable->localizedDescription();
    }
    if (canSend()) {
        m_syncStatus = QStringLiteral("Connected");
    } else {
        m_syncStatus = signedIn ? QStringLiteral("Disconnected") : QStringLiteral("Idle");
    }
    emit changed();
    m_devices->load();
}

void SettingsAccountState::takeRefusal(const ServiceError& failure)
{
    switch (failure.kind()) {
    case ServiceError::Kind::serverAddressRefused:
        // Signing in again can't help: the address is what must change.
        m_addressRefused = true;
        break;
    case ServiceError::Kind::sessionFromOtherServer:
    case ServiceError::Kind::sessionIssuerUnknown:
    case ServiceError::Kind::noSession:
        // Signing in again is the way on: the prompt shows.
        m_accountConnected = false;
        break;
    case ServiceError::Kind::badStatus:
        // A session the server turns away, even after a refresh, no longer connects this computer.
        if (failure.status() == 401) {
            m_accountConnected = false;
        }
        break;
    default: break;
    }
}

void SettingsAccountState::setConnected(bool connected, const std::optional<QString>& status)
{
    m_accountConnected = connected;
    if (connected) {
        m_addressRefused = false;
    }
    m_connectError.reset();
    if (status) {
        m_syncStatus = *status;
    }
    emit changed();
}

// Only signs out: a second press, or a press after the account went meanwhile, does nothing.
void SettingsAccountState::toggleAccountConnection()
{
    if (!m_accountConnected || m_signingOut) {
        return;
    }
    m_signingOut = true;
    m_services.auth.disconnect();
    setConnected(false, QStringLiteral("Disconnected"));
    m_devices->load([self = QPointer(this)] {
        if (!self) {
            return;
        }
        self->m_signingOut = false;
        self->m_services.tracker.track(QStringLiteral("sync_account_toggle"), {{QStringLiteral("connected"), QStringLiteral("false")}});
        emit self->changed();
    });
}

void SettingsAccountState::connectWithGoogle(QWidget* anchor)
{
    m_services.google.signIn(anchor, [self = QPointer(this)](std::optional<GoogleSignInError> error) {
        if (!self) {
            return;
        }
        if (!error) {
            self->setConnected(true, QStringLiteral("Connected"));
            self->m_devices->load();
        } else if (error->kind() != GoogleSignInError::Case::cancelled) {
            self->m_connectError = error->localizedDescription();
            emit self->changed();
        }
    });
}

// A pull that failed says so, rather than "Synced just now"; one the server refused for its
// session leaves the pane not connected, so the way to sign in again shows.
void SettingsAccountState::runSyncNow()
{
    m_services.notesSync.syncNowIfEnabled([self = QPointer(this)](std::optional<ServiceError> failure) {
        if (!self) {
            return;
        }
        if (!self->m_accountConnected) {
            self->m_syncStatus = QStringLiteral("Sign in to sync");
        } else if (failure) {
            self->m_syncStatus = QStringLiteral("Sync failed: ") + failure->localizedDescription();
            self->takeRefusal(*failure);
        } else {
            self->m_syncStatus = QStringLiteral("Synced just now");
        }
        emit self->changed();
    });
}

void SettingsAccountState::signOut()
{
    m_services.auth.disconnect();
    setConnected(false, QStringLiteral("Signed out"));
}

void SettingsAccountState::markSignedIn()
{
    setConnected(true, QStringLiteral("Connected"));
    m_devices->load();
}

void SettingsAccountState::beginAccountDeletion()
{
    m_deleteAccountError.reset();
    m_deleteConfirmText.clear();
    m_showDeleteAccountConfirm = true;
    emit changed();
}

void SettingsAccountState::cancelAccountDeletion()
{
    m_showDeleteAccountConfirm = false;
    m_deleteConfirmText.clear();
    m_deleteAccountError.reset();
    emit changed();
}

void SettingsAccountState::confirmAccountDeletion()
{
    if (!canConfirmDeletion()) {
        return;
    }
    m_deletingAccount = true;
    m_deleteAccountError.reset();
    emit changed();
    m_services.auth.deleteAccount([self = QPointer(this)](std::optional<ServiceError> error) {
        if (!self) {
            return;
        }
        self->m_deletingAccount = false;
        if (error) {
            self->m_deleteAccountError = QStringLiteral("Couldn’t delete account: ") + error->localizedDescription();
            emit self->changed();
            return;
        }
        self->m_showDeleteAccountConfirm = false;
        self->m_deleteConfirmText.clear();
        self->setConnected(false, QStringLiteral("Account deleted"));
        self->m_devices->load([self] {
            if (self) {
                self->m_services.tracker.track(QStringLiteral("account_deleted"));
            }
        });
    });
}

QWidget* SettingsAccountState::presentationAnchorWindow(QWidget* fallback)
{
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return fallback ? fallback->window() : nullptr;
}

} // namespace norvelle
