#include "settings/SettingsAccountServices.h"

#include "account/AuthService.h"
#include "account/DeviceAttestation.h"
#include "account/GoogleSignInManager.h"
#include "account/NotesSyncService.h"
#include "account/SyncCredentialStore.h"
#include "core/OSLogAnalyticsTracker.h"

namespace norvelle {

SettingsAccountServices SettingsAccountServices::live()
{
    return {AuthService::shared(), NotesSyncService::shared(), GoogleSignInManager::shared(),
        SyncCredentialStore::shared(), DeviceAttestation::shared(), OSLogAnalyticsTracker::shared()};
}

} // namespace norvelle
