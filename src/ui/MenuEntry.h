#pragma once

#include <QString>

class QAction;
class QMenu;

namespace norvelle {

// The entry of `menu` titled `text`; none when there is no such entry.
QAction* menuEntry(const QMenu& menu, const QString& text);

} // namespace norvelle
