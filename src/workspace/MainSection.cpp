#include "workspace/MainSection.h"

namespace norvelle::mainSection {

QString rawValue(MainSection section)
{
    switch (section) {
    case MainSection::all:
        return QStringLiteral("All notes");
    case MainSection::pinned:
        return QStringLiteral("Pinned");
    case MainSection::recent:
        return QStringLiteral("Recent");
    case MainSection::archive:
        return QStringLiteral("Archive");
    case MainSection::trash:
        return QStringLiteral("Trash");
    }
    return QString();
}

std::optional<MainSection> fromRawValue(const QString& value)
{
    for (const MainSection section : allCases) {
        if (rawValue(section) == value) {
            return section;
        }
    }
    return std::nullopt;
}

} // namespace norvelle::mainSection
