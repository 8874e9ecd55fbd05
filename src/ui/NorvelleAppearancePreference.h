#pragma once

#include "ui/ColorScheme.h"

#include <QString>

#include <array>
#include <optional>

namespace norvelle {

// The look the user picked for the program's windows, stored as its raw value under
// "norvelle.appearance".
enum class NorvelleAppearancePreference { system,
    light,
    dark };

namespace appearance {

// In the order the pickers list them.
inline constexpr std::array<NorvelleAppearancePreference, 3> allCases {
    NorvelleAppearancePreference::system, NorvelleAppearancePreference::light,
    NorvelleAppearancePreference::dark};

// Exact, case-sensitive: "system", "light" or "dark".
std::optional<NorvelleAppearancePreference> fromRawValue(const QString& rawValue);
QString rawValue(NorvelleAppearancePreference preference);
// Pickers identify an entry by its raw value.
inline QString id(NorvelleAppearancePreference preference) { return rawValue(preference); }
// What the pickers show: "System", "Light", "Dark".
QString title(NorvelleAppearancePreference preference);
// The scheme forced on the windows; none for `system`, which follows the desktop.
std::optional<ColorScheme> colorScheme(NorvelleAppearancePreference preference);

// The stored choice; `system` when nothing, or nothing known, is stored.
NorvelleAppearancePreference stored();

} // namespace appearance

} // namespace norvelle
