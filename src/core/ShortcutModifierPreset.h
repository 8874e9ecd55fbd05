#pragma once

#include "core/ShortcutModifierFlags.h"

#include <QString>

#include <array>
#include <optional>

namespace norvelle {

// The three modifier rows a user may pick; every one includes Command (Super).
enum class ShortcutModifierPreset { commandShift,
    commandOption,
    controlOptionCommand };

const std::array<ShortcutModifierPreset, 3>& allShortcutModifierPresets();

// "commandShift", "commandOption", "controlOptionCommand": the stored form.
QString modifierPresetRawValue(ShortcutModifierPreset preset);
std::optional<ShortcutModifierPreset> modifierPresetFromRawValue(const QString& rawValue);

// 0x120000, 0x180000, 0x1C0000.
ShortcutModifierFlags modifierFlags(ShortcutModifierPreset preset);

} // namespace norvelle
