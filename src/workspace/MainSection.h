#pragma once

#include <QString>

#include <array>
#include <optional>

namespace norvelle {

// The library sections of the workspace, in the order the sidebar lists them.
enum class MainSection { all,
    pinned,
    recent,
    archive,
    trash };

namespace mainSection {

inline constexpr std::array<MainSection, 5> allCases {
    MainSection::all,
    MainSection::pinned,
    MainSection::recent,
    MainSection::archive,
    MainSection::trash,
};

// The title shown: "All notes", "Pinned", "Recent", "Archive", "Trash".
QString rawValue(MainSection section);
// Exactly those titles, nothing else.
std::optional<MainSection> fromRawValue(const QString& rawValue);

} // namespace mainSection

} // namespace norvelle
