#pragma once

#include <QString>

class QAction;
class QMenu;

namespace norvelle {

// The entry of `menu` titled `text`; none when there is no such entry.
QAction* menuEntry(const QMenu& menu, const QString& text);

// A text the user chose (a folder's name), as an entry of `menu` shows it: cut with an
// ellipsis where it would make the menu wider than a sensible width, and with an ampersand
// shown as one rather than taken for a shortcut mark.
QString menuEntryTitle(const QMenu& menu, const QString& userText);

} // namespace norvelle
