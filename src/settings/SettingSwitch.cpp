#include "settings/SettingSwitch.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QAbstractButton>
#include <QPointer>

namespace norvelle {

void bindSwitch(QAbstractButton& button, const BoolSetting& setting)
{
    button.setChecked(setting.value());
    QObject::connect(&button, &QAbstractButton::clicked, &button, [setting](bool checked) { setting.set(checked); });
    QObject::connect(&UserDefaults::standard(), &UserDefaults::changed, &button,
        [target = QPointer<QAbstractButton>(&button), setting](const QString& changed) {
            if (target && changed == setting.key) {
                target->setChecked(setting.value());
            }
        });
}

} // namespace norvelle
