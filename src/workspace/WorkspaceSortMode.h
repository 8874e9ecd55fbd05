#pragma once

#include <QString>

#include <array>
#include <optional>

namespace norvelle {

// The orders of the note lists, in the order the sort menu lists them.
enum class WorkspaceSortMode { dateModified,
    dateCreated,
    title };

namespace workspaceSortMode {

inline constexpr std::array<WorkspaceSortMode, 3> allCases {
    WorkspaceSortMode::dateModified,
    WorkspaceSortMode::dateCreated,
    WorkspaceSortMode::title,
};

// "dateModified", "dateCreated", "title".
QString rawValue(WorkspaceSortMode mode);
std::optional<WorkspaceSortMode> fromRawValue(const QString& rawValue);
// The sort menu's "Date modified", "Date created", "Title".
QString title(WorkspaceSortMode mode);

} // namespace workspaceSortMode

} // namespace norvelle
