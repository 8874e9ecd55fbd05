#include "workspace/WorkspaceProfile.h"

#include "account/AccountDisplayName.h"
#include "account/SyncCredentialStore.h"
#include "platform/SystemUser.h"

namespace norvelle {

QString WorkspaceProfile::profileName(bool hasSession, const std::optional<QString>& storedDisplayName,
    const QString& systemFullName)
{
    if (hasSession && storedDisplayName) {
        return *storedDisplayName;
    }
    if (const QString fullName = systemFullName.trimmed(); !fullName.isEmpty()) {
        return fullName;
    }
    return QStringLiteral("Profile");
}

QString WorkspaceProfile::profileName()
{
    return profileName(SyncCredentialStore::shared().load().has_value(), storedAccountDisplayName(),
        SystemUser::fullName());
}

} // namespace norvelle
