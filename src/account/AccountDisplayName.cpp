#include "account/AccountDisplayName.h"

#include "platform/UserDefaults.h"

namespace norvelle {

void setStoredAccountDisplayName(const std::optional<QString>& name)
{
    UserDefaults& defaults = UserDefaults::standard();
    const QString trimmed = name.value_or(QString()).trimmed();
    if (trimmed.isEmpty()) {
        defaults.remove(accountDisplayNameKey);
    } else {
        defaults.set(accountDisplayNameKey, trimmed);
    }
}

std::optional<QString> storedAccountDisplayName()
{
    const QString trimmed = UserDefaults::standard().string(accountDisplayNameKey).value_or(QString()).trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    return trimmed;
}

} // namespace norvelle
