#pragma once

#include <QString>

#include <array>

namespace norvelle {

// The three actions the user can reach from anywhere with a hot key. allShortcutActions()
// gives them in registration and conflict-check order.
enum class NorvelleShortcutAction { openWorkspace,
    newNote,
    clipboardHistory };

const std::array<NorvelleShortcutAction, 3>& allShortcutActions();

// "openWorkspace", "newNote", "clipboardHistory": the stored form.
QString shortcutActionRawValue(NorvelleShortcutAction action);

// "Open workspace", "New note", "Clipboard history".
QString shortcutActionTitle(NorvelleShortcutAction action);

// The lower-case letter of the action's default shortcut: "k", "n", "v".
QString shortcutActionDefaultLetter(NorvelleShortcutAction action);

} // namespace norvelle
