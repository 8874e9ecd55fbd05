#pragma once

#include <QString>
#include <QtGlobal>

namespace norvelle {

// Modifier keys of a shortcut as device-independent flags. Command is Super in global hot
// keys; Option is Alt.
using ShortcutModifierFlags = quint32;

namespace ShortcutModifier {
inline constexpr ShortcutModifierFlags shift = 0x20000;
inline constexpr ShortcutModifierFlags control = 0x40000;
inline constexpr ShortcutModifierFlags option = 0x80000;
inline constexpr ShortcutModifierFlags command = 0x100000;
} // namespace ShortcutModifier

// The symbol rule: "⌃", "⌥", "⇧", "⌘" for the flags that are set, always in that order.
QString modifierSymbols(ShortcutModifierFlags flags);

// The same keys in the same order by their Linux names, joined with "+": "Shift+Super".
QString modifierNames(ShortcutModifierFlags flags);

// What the user reads for a shortcut: the modifier names and the upper-case letter, joined
// with "+" ("Shift+Super+V").
QString shortcutLabel(ShortcutModifierFlags flags, const QString& letter);

} // namespace norvelle
