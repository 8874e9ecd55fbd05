#include "settings/StoredSettings.h"

#include "platform/UserDefaults.h"

#include <QAbstractButton>
#include <QPointer>
#include <QVariant>

namespace norvelle::storedSettings {

bool boolValue(const QString& key, bool fallback)
{
    const QVariant value = UserDefaults::standard().object(key);
    return value.typeId() == QMetaType::Bool ? value.toBool() : fallback;
}

QString text(const QString& key, const QString& fallback)
{
    return UserDefaults::standard().string(key).value_or(fallback);
}

void bindSwitch(QAbstractButton& button, const QString& key, bool fallback)
{
    button.setChecked(boolValue(key, fallback));
    QObject::connect(&button, &QAbstractButton::clicked, &button,
        [key](bool checked) { UserDefaults::standard().set(key, checked); });
    QObject::connect(&UserDefaults::standard(), &UserDefaults::changed, &button,
        [target = QPointer<QAbstractButton>(&button), key, fallback](const QString& changed) {
            if (target && changed == key) {
                target->setChecked(boolValue(key, fallback));
            }
        });
}

} // namespace norvelle::storedSettings
