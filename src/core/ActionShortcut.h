#pragma once

#include "core/ShortcutModifierPreset.h"

#include <QString>

namespace norvelle {

// One action's entry in the shortcut profile. While usesDefault is set the action uses
// Command-Shift and its default letter, whatever the other two fields hold.
struct ActionShortcut {
    bool usesDefault = true;
    ShortcutModifierPreset modifierPreset = ShortcutModifierPreset::commandShift;
    QString keyLetter; // as the user entered it

    bool operator==(const ActionShortcut&) const = default;
};

} // namespace norvelle
