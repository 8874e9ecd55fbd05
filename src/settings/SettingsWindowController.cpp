#include "settings/SettingsWindowController.h"

#include "platform/WindowPlacement.h"
#include "settings/NorvelleSettingsView.h"

#include <QShortcut>
#include <QVBoxLayout>

namespace norvelle {

SettingsWindowController::SettingsWindowController(QObject* parent)
    : SettingsWindowController(SettingsAccountServices::live(), parent)
{
}

SettingsWindowController::SettingsWindowController(SettingsAccountServices services, QObject* parent)
    : WindowController(makeWindow(QStringLiteral("Settings"), {640, 480}, {580, 420}), parent)
{
    // Left to the window manager, it can open in a corner, under a note that stays on top.
    if (const QRect area = WindowPlacement::currentWorkArea(); !area.isEmpty()) {
        WindowPlacement::placeFrame(*window(), [area](QSize frameSize) { return WindowPlacement::centredOrigin(frameSize, area); });
    }
    auto* layout = new QVBoxLayout(window());
    layout->setContentsMargins(0, 0, 0, 0);
    m_view = new NorvelleSettingsView(services, window());
    layout->addWidget(m_view);
    // The keys that close a settings window on the desktop. A field that wants Escape for itself
    // (the shortcut recorder) takes it first.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        connect(new QShortcut(key, window()), &QShortcut::activated, this, &SettingsWindowController::close);
    }
}

} // namespace norvelle
