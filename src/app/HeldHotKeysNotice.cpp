#include "app/HeldHotKeysNotice.h"

#include "ui/UserNotice.h"

namespace norvelle {

void HeldHotKeysNotice::tell(const QStringList& shortcuts)
{
    const QString text = shortcuts.size() == 1
        ? QStringLiteral("Another program already uses %1, so that shortcut does nothing.").arg(shortcuts.first())
        : QStringLiteral("Other programs already use these shortcuts, so they do nothing:\n%1")
              .arg(shortcuts.join(QLatin1Char('\n')));
    UserNotice::warn(topic, text,
        QStringLiteral("Choose other keys in Settings, Shortcuts, or free them in the program that holds "
                       "them and start Norvelle again."));
}

} // namespace norvelle
