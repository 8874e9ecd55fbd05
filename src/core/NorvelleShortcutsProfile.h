#pragma once

// The user's three system-wide shortcuts, stored as JSON under "norvelle.shortcuts.profile.v1".
// Nothing caches the profile: load it afresh whenever it is needed.
//
//   NorvelleShortcutsProfile profile = loadShortcutsProfile();
//   QString text = profile.label(NorvelleShortcutAction::clipboardHistory); // "Shift+Super+V"
//
//   ActionShortcut proposal{false, ShortcutModifierPreset::commandOption, "j"};
//   if (auto message = shortcutValidationMessage(NorvelleShortcutAction::newNote, proposal, profile)) {
//       showError(*message);
//   } else {
//       profile.setShortcut(NorvelleShortcutAction::newNote, proposal);
//       saveShortcutsProfile(profile); // posts "norvelleShortcutsChanged"; hot keys re-register
//   }

#include "core/ActionShortcut.h"
#include "core/NorvelleShortcutAction.h"
#include "core/ShortcutModifierFlags.h"

#include <QString>

#include <optional>

namespace norvelle {

// Posted on the default notification centre, without object or user info, after every save.
const QString& shortcutsChangedNotification();

// A shortcut in force: its modifier flags and its lower-case letter.
struct EffectiveShortcut {
    ShortcutModifierFlags flags = 0;
    QString letter;

    bool operator==(const EffectiveShortcut&) const = default;
};

struct NorvelleShortcutsProfile {
    ActionShortcut openWorkspace;
    ActionShortcut newNote;
    ActionShortcut clipboardHistory;

    bool operator==(const NorvelleShortcutsProfile&) const = default;

    // Every action on Command-Shift with its default letter.
    static NorvelleShortcutsProfile defaults();

    const ActionShortcut& shortcut(NorvelleShortcutAction action) const;
    void setShortcut(NorvelleShortcutAction action, const ActionShortcut& shortcut);

    // The shortcut really in force: Command-Shift and the default letter while the entry uses
    // the default; otherwise the entry's row and letter, the default letter standing in for
    // one that is not A-Z.
    EffectiveShortcut effectiveShortcut(NorvelleShortcutAction action) const;

    // The text shown for the action's shortcut, e.g. "Shift+Super+V".
    QString label(NorvelleShortcutAction action) const;
};

// The stored profile, or the whole default profile when none is stored or the stored one
// cannot be read in full. Never fails.
NorvelleShortcutsProfile loadShortcutsProfile();

// Stores the profile and posts shortcutsChangedNotification().
void saveShortcutsProfile(const NorvelleShortcutsProfile& profile);

// The first character of `text`, lower-cased, when it is a basic Latin letter a-z.
std::optional<QString> normalizedShortcutLetter(const QString& text);

// Why `proposal` cannot become `action`'s shortcut in `current`, or nothing when it can.
std::optional<QString> shortcutValidationMessage(NorvelleShortcutAction action,
    const ActionShortcut& proposal, const NorvelleShortcutsProfile& current);

} // namespace norvelle
