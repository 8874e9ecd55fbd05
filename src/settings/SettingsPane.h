#pragma once

#include <QString>

#include <array>
#include <optional>

namespace norvelle {

// The panes of the settings window, in sidebar order. A pane's raw value is its sidebar title
// and what "norvelleOpenSettingsPane" carries under "pane".
enum class SettingsPane { general,
    account,
    sync,
    shortcuts,
    clipboard,
    editor,
    privacy };

inline constexpr std::array<SettingsPane, 7> allSettingsPanes {
    SettingsPane::general,
    SettingsPane::account,
    SettingsPane::sync,
    SettingsPane::shortcuts,
    SettingsPane::clipboard,
    SettingsPane::editor,
    SettingsPane::privacy,
};

// Opens the settings window's pane named by the user info's "pane".
inline const QString openSettingsPaneNotification = QStringLiteral("norvelleOpenSettingsPane");

// "General", "Account", "Sync", "Shortcuts", "Clipboard", "Editor", "Privacy".
QString settingsPaneRawValue(SettingsPane pane);
// Exact and case-sensitive: "sync" names no pane.
std::optional<SettingsPane> settingsPaneFromRawValue(const QString& rawValue);
// The symbol name of the pane's sidebar icon.
QString settingsPaneSymbol(SettingsPane pane);

} // namespace norvelle
