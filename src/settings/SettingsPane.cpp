#include "settings/SettingsPane.h"

namespace norvelle {

QString settingsPaneRawValue(SettingsPane pane)
{
    switch (pane) {
    case SettingsPane::general: return QStringLiteral("General");
    case SettingsPane::account: return QStringLiteral("Account");
    case SettingsPane::sync: return QStringLiteral("Sync");
    case SettingsPane::shortcuts: return QStringLiteral("Shortcuts");
    case SettingsPane::clipboard: return QStringLiteral("Clipboard");
    case SettingsPane::editor: return QStringLiteral("Editor");
    case SettingsPane::privacy: return QStringLiteral("Privacy");
    }
    return QStringLiteral("General");
}

std::optional<SettingsPane> settingsPaneFromRawValue(const QString& rawValue)
{
    for (const SettingsPane pane : allSettingsPanes) {
        if (settingsPaneRawValue(pane) == rawValue) {
            return pane;
        }
    }
    return std::nullopt;
}

QString settingsPaneSymbol(SettingsPane pane)
{
    switch (pane) {
    case SettingsPane::general: return QStringLiteral("slider.horizontal.3");
    case SettingsPane::account: return QStringLiteral("person.crop.circle");
    case SettingsPane::sync: return QStringLiteral("arrow.triangle.2.circlepath");
    case SettingsPane::shortcuts: return QStringLiteral("keyboard");
    case SettingsPane::clipboard: return QStringLiteral("doc.on.clipboard");
    case SettingsPane::editor: return QStringLiteral("textformat");
    case SettingsPane::privacy: return QStringLiteral("hand.raised");
    }
    return {};
}

} // namespace norvelle
