#include "ui/MenuEntry.h"

#include <QFontMetricsF>
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

QString menuEntryTitle(const QMenu& menu, const QString& userText)
{
    constexpr qreal widestTitle = 320;
    const QString cut = QFontMetricsF(menu.font()).elidedText(userText, Qt::ElideRight, widestTitle);
    return QString(cut).replace(u'&', QStringLiteral("&&"));
}

} // namespace norvelle
