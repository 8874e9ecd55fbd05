#include "core/NorvelleShortcutAction.h"

namespace norvelle {

namespace {

struct ActionText {
    const char* rawValue;
    const char* title;
    const char* defaultLetter;
};

// Indexed by the enumeration's value.
constexpr std::array<ActionText, 3> actionTexts {{
    {"openWorkspace", "Open workspace", "k"},
    {"newNote", "New note", "n"},
    {"clipboardHistory", "Clipboard history", "v"},
}};

const ActionText& textOf(NorvelleShortcutAction action)
{
    return actionTexts.at(size_t(action));
}

} // namespace

const std::array<NorvelleShortcutAction, 3>& allShortcutActions()
{
    static const std::array<NorvelleShortcutAction, 3> actions {NorvelleShortcutAction::openWorkspace,
        NorvelleShortcutAction::newNote, NorvelleShortcutAction::clipboardHistory};
    return actions;
}

QString shortcutActionRawValue(NorvelleShortcutAction action)
{
    return QString::fromLatin1(textOf(action).rawValue);
}

QString shortcutActionTitle(NorvelleShortcutAction action)
{
    return QString::fromLatin1(textOf(action).title);
}

QString shortcutActionDefaultLetter(NorvelleShortcutAction action)
{
    return QString::fromLatin1(textOf(action).defaultLetter);
}

} // namespace norvelle
