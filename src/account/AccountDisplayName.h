#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// The account's display name as the server reported it at sign-in, kept in the user's
// defaults (storedSettings::accountDisplayName) trimmed and never empty, until the account is
// disconnected.

// Stores the trimmed name; a missing or blank name removes the stored one.
void setStoredAccountDisplayName(const std::optional<QString>& name);
// The stored name trimmed; nothing when absent or blank.
std::optional<QString> storedAccountDisplayName();

} // namespace norvelle
