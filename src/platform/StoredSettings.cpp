#include "platform/StoredSettings.h"

#include "platform/UserDefaults.h"

#include <QVariant>

namespace norvelle {

bool BoolSetting::value() const
{
    const QVariant stored = UserDefaults::standard().object(key);
    return stored.typeId() == QMetaType::Bool ? stored.toBool() : defaultValue;
}

void BoolSetting::set(bool on) const
{
    UserDefaults::standard().set(key, on);
}

QString TextSetting::value() const
{
    return UserDefaults::standard().string(key).value_or(defaultValue);
}

void TextSetting::set(const QString& text) const
{
    if (text.isEmpty()) {
        UserDefaults::standard().remove(key);
    } else {
        UserDefaults::standard().set(key, text);
    }
}

} // namespace norvelle
