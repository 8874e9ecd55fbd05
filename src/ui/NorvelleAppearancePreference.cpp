#include "ui/NorvelleAppearancePreference.h"

#include "platform/StoredSettings.h"

namespace norvelle::appearance {

std::optional<NorvelleAppearancePreference> fromRawValue(const QString& rawValue)
{
    for (const NorvelleAppearancePreference preference : allCases) {
        if (appearance::rawValue(preference) == rawValue) {
            return preference;
        }
    }
    return std::nullopt;
}

QString rawValue(NorvelleAppearancePreference preference)
{
    switch (preference) {
    case NorvelleAppearancePreference::system: return "system";
    case NorvelleAppearancePreference::light: return "light";
    case NorvelleAppearancePreference::dark: return "dark";
    }
    return "system";
}

QString title(NorvelleAppearancePreference preference)
{
    switch (preference) {
    case NorvelleAppearancePreference::system: return "System";
    case NorvelleAppearancePreference::light: return "Light";
    case NorvelleAppearancePreference::dark: return "Dark";
    }
    return "System";
}

std::optional<ColorScheme> colorScheme(NorvelleAppearancePreference preference)
{
    switch (preference) {
    case NorvelleAppearancePreference::system: return std::nullopt;
    case NorvelleAppearancePreference::light: return ColorScheme::light;
    case NorvelleAppearancePreference::dark: return ColorScheme::dark;
    }
    return std::nullopt;
}

NorvelleAppearancePreference stored()
{
    return fromRawValue(storedSettings::appearance.value()).value_or(NorvelleAppearancePreference::system);
}

} // namespace norvelle::appearance
