#include "workspace/WorkspaceSortMode.h"

namespace norvelle::workspaceSortMode {

QString rawValue(WorkspaceSortMode mode)
{
    switch (mode) {
    case WorkspaceSortMode::dateModified:
        return QStringLiteral("dateModified");
    case WorkspaceSortMode::dateCreated:
        return QStringLiteral("dateCreated");
    case WorkspaceSortMode::title:
        return QStringLiteral("title");
    }
    return QString();
}

std::optional<WorkspaceSortMode> fromRawValue(const QString& value)
{
    for (const WorkspaceSortMode mode : allCases) {
        if (rawValue(mode) == value) {
            return mode;
        }
    }
    return std::nullopt;
}

QString title(WorkspaceSortMode mode)
{
    switch (mode) {
    case WorkspaceSortMode::dateModified:
        return QStringLiteral("Date modified");
    case WorkspaceSortMode::dateCreated:
        return QStringLiteral("Date created");
    case WorkspaceSortMode::title:
        return QStringLiteral("Title");
    }
    return QString();
}

} // namespace norvelle::workspaceSortMode
