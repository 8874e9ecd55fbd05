#include "account/AccountDisplayName.h"

#include "platform/StoredSettings.h"

namespace norvelle {

void setStoredAccountDisplayName(const std::optional<QString>& name)
{
    storedSettings::accountDisplayName.set(name.value_or(QString()).trimmed());
}

std::optional<QString> storedAccountDisplayName()
{
    const QString trimmed = storedSettings::accountDisplayName.value().trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    return trimmed;
}

} // namespace norvelle
