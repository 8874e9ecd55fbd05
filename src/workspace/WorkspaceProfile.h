#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// The name the workspace shows for the person using it.
class WorkspaceProfile {
public:
    // The account's display name while signed in; else the desktop user's full name; else
    // "Profile". A name left stored without a session is not shown.
    static QString profileName(bool hasSession, const std::optional<QString>& storedDisplayName,
        const QString& systemFullName);
    // The same from the stored session, the stored display name and the user database.
    static QString profileName();
};

} // namespace norvelle
