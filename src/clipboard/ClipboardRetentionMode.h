#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace norvelle {

// How long clips stay in the history. Stored as its raw value (storedSettings::clipboardRetentionMode);
// a missing or unknown value means days7.
class ClipboardRetentionMode {
public:
    enum Value { session,
        hours24,
        days7,
        days30 };

    constexpr ClipboardRetentionMode(Value value = days7)
        : m_value(value)
    {
    }

    // Every mode, in display order.
    static QList<ClipboardRetentionMode> allCases();
    static std::optional<ClipboardRetentionMode> fromRawValue(const QString& rawValue);
    // Read from the user's defaults each time it is asked.
    static ClipboardRetentionMode current();

    Value value() const { return m_value; }
    // "session", "hours24", "days7", "days30".
    QString rawValue() const;
    // The label shown for the choice.
    QString title() const;
    // Seconds a clip is kept; none for session (kept until the program quits).
    std::optional<qint64> keepSeconds() const;

    constexpr bool operator==(const ClipboardRetentionMode&) const = default;

private:
    Value m_value;
};

} // namespace norvelle
