#include "core/ShortcutModifierFlags.h"

#include <QStringList>

#include <array>

namespace norvelle {

namespace {

struct ModifierKey {
    ShortcutModifierFlags flag;
    const char* symbol;
    const char* linuxName;
};

// The one order every label follows.
constexpr std::array<ModifierKey, 4> modifierKeys {{
    {ShortcutModifier::control, "⌃", "Ctrl"},
    {ShortcutModifier::option, "⌥", "Alt"},
    {ShortcutModifier::shift, "⇧", "Shift"},
    {ShortcutModifier::command, "⌘", "Super"},
}};

} // namespace

QString modifierSymbols(ShortcutModifierFlags flags)
{
    QString symbols;
    for (const ModifierKey& key : modifierKeys) {
        if (flags & key.flag) {
            symbols += QString::fromUtf8(key.symbol);
        }
    }
    return symbols;
}

QString modifierNames(ShortcutModifierFlags flags)
{
    QStringList names;
    for (const ModifierKey& key : modifierKeys) {
        if (flags & key.flag) {
            names << QString::fromLatin1(key.linuxName);
        }
    }
    return names.join(QLatin1Char('+'));
}

QString shortcutLabel(ShortcutModifierFlags flags, const QString& letter)
{
    const QString names = modifierNames(flags);
    const QString key = letter.toUpper();
    return names.isEmpty() ? key : names + QLatin1Char('+') + key;
}

} // namespace norvelle
