#pragma once

#include "platform/WindowController.h"
#include "settings/SettingsAccountServices.h"

namespace norvelle {

class NorvelleSettingsView;

// The settings window, "Settings", 640 × 480 and resizable down to 580 × 420, hosting the
// settings view; it first opens centred in the work area of the screen it opens on. Closing
// hides it: the view and its state live as long as the controller. Escape and Ctrl+W close it.
class SettingsWindowController : public WindowController {
    Q_OBJECT
public:
    explicit SettingsWindowController(QObject* parent = nullptr);
    explicit SettingsWindowController(SettingsAccountServices services, QObject* parent = nullptr);

    NorvelleSettingsView* view() const { return m_view; }

private:
    NorvelleSettingsView* m_view = nullptr;
};

} // namespace norvelle
