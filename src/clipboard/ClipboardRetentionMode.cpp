#include "clipboard/ClipboardRetentionMode.h"

#include "platform/StoredSettings.h"

#include <array>

namespace norvelle {

namespace {

struct ModeInfo {
    const char* rawValue;
    const char* title;
    std::optional<qint64> keepSeconds;
};

// Indexed by ClipboardRetentionMode::Value.
const std::array<ModeInfo, 4> modes {{
    {"session", "Until you quit Norvelle", std::nullopt},
    {"hours24", "24 hours", 86'400},
    {"days7", "7 days", 604'800},
    {"days30", "30 days", 2'592'000},
}};

} // namespace

QList<ClipboardRetentionMode> ClipboardRetentionMode::allCases()
{
    return {session, hours24, days7, days30};
}

std::optional<ClipboardRetentionMode> ClipboardRetentionMode::fromRawValue(const QString& rawValue)
{
    for (const ClipboardRetentionMode mode : allCases()) {
        if (mode.rawValue() == rawValue) {
            return mode;
        }
    }
    return std::nullopt;
}

ClipboardRetentionMode ClipboardRetentionMode::current()
{
    return fromRawValue(storedSettings::clipboardRetentionMode.value()).value_or(days7);
}

QString ClipboardRetentionMode::rawValue() const
{
    return QString::fromLatin1(modes[m_value].rawValue);
}

QString ClipboardRetentionMode::title() const
{
    return QString::fromUtf8(modes[m_value].title);
}

std::optional<qint64> ClipboardRetentionMode::keepSeconds() const
{
    return modes[m_value].keepSeconds;
}

} // namespace norvelle
