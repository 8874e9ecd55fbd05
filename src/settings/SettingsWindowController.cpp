#include "settings/SettingsWindowController.h"

namespace norvelle {

SettingsWindowController::SettingsWindowController(QObject* parent)
    : WindowController(makeWindow("Settings", {640, 480}, {580, 420}), parent)
{
}

} // namespace norvelle
