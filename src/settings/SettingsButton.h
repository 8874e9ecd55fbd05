#pragma once

#include <QString>

class QPushButton;

namespace norvelle {

// A push button of the settings panes: `padding` points left and right of its title, at least
// `minimumHeight` high, clickable over all of it; a destructive one has a red title.
QPushButton* makeSettingsButton(const QString& title, int padding, int minimumHeight, bool destructive = false);

} // namespace norvelle
