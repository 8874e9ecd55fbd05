#pragma once

#include "ui/ColorScheme.h"

#include <QPalette>

#include <optional>

class QWidget;

namespace norvelle {

// The palette of a window forced into the light or dark look, whatever the desktop uses.
QPalette schemePalette(ColorScheme scheme);

// The least contrast a field's placeholder keeps against the field, in every look.
inline constexpr double minimumPlaceholderContrast = 3.0;

// Gives the application palette readable placeholders, now and whenever the desktop's palette
// changes.
void keepDesktopPlaceholdersReadable();

// The look a palette draws: dark when its window colour is dark.
ColorScheme schemeOf(const QPalette& palette);

// Gives `window` the look stored under "norvelle.appearance" (the desktop's own for "system"
// or anything unknown), now and whenever that setting changes. The menus opened from it
// follow it too.
void followAppearancePreference(QWidget& window);

// Gives the menus opened from `window` the look stored under "norvelle.appearance" as they open,
// for a window that draws its own look rather than through its palette.
void menusFollowAppearancePreference(QWidget& window);

// Gives every window as it shows the look stored under "norvelle.appearance", and again when
// that setting changes while it is open: dialogs, popovers and pickers included. Windows that
// were given a palette of their own, menus and windows that draw their own look keep theirs.
void windowsFollowAppearancePreference();

// Makes a window opened from a view (a dialog, a picker's list) draw in that view's scheme each
// time it shows, and again when that view changes its scheme while the window is open.
void followSchemeOf(QWidget& window, QWidget& source);

} // namespace norvelle
