#include "ui/MenuEntry.h"

#include <QMenu>

namespace norvelle {

QAction* menuEntry(const QMenu& menu, const QString& text)
{
    for (QAction* candidate : menu.actions()) {
        if (candidate->text() == text) {
            return candidate;
        }
    }
    return nullptr;
}

} // namespace norvelle
