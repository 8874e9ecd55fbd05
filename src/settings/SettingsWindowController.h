#pragma once

#include "platform/WindowController.h"

namespace norvelle {

// The settings window. For now a plain window of the settings' size.
class SettingsWindowController : public WindowController {
    Q_OBJECT
public:
    explicit SettingsWindowController(QObject* parent = nullptr);
};

} // namespace norvelle
