#include "core/ShortcutModifierPreset.h"

namespace norvelle {

namespace {

struct PresetRow {
    const char* rawValue;
    ShortcutModifierFlags flags;
};

// Indexed by the enumeration's value.
constexpr std::array<PresetRow, 3> presetRows {{
    {"commandShift", ShortcutModifier::command | ShortcutModifier::shift},
    {"commandOption", ShortcutModifier::command | ShortcutModifier::option},
    {"controlOptionCommand", ShortcutModifier::control | ShortcutModifier::option | ShortcutModifier::command},
}};

} // namespace

const std::array<ShortcutModifierPreset, 3>& allShortcutModifierPresets()
{
    static const std::array<ShortcutModifierPreset, 3> presets {ShortcutModifierPreset::commandShift,
        ShortcutModifierPreset::commandOption, ShortcutModifierPreset::controlOptionCommand};
    return presets;
}

QString modifierPresetRawValue(ShortcutModifierPreset preset)
{
    return QString::fromLatin1(presetRows.at(size_t(preset)).rawValue);
}

std::optional<ShortcutModifierPreset> modifierPresetFromRawValue(const QString& rawValue)
{
    for (ShortcutModifierPreset preset : allShortcutModifierPresets()) {
        if (modifierPresetRawValue(preset) == rawValue) {
            return preset;
        }
    }
    return std::nullopt;
}

ShortcutModifierFlags modifierFlags(ShortcutModifierPreset preset)
{
    return presetRows.at(size_t(preset)).flags;
}

} // namespace norvelle
