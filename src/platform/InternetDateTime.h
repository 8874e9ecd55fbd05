#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace norvelle {

// Internet date-time text ("2026-03-01T09:30:00Z", "2026-03-01T09:30:00.125+02:00"), read
// strictly: a full date, the letter T, a full time, an optional fraction and a zone are all
// required. Qt's own ISO reader also takes a bare date, a blank separator or no zone.
class InternetDateTime {
public:
    // The instant, kept to the millisecond (further digits are cut off); nothing for any text
    // that is not exactly of that form, names no real day or time, or lies outside the years
    // 1 to 9999 in UTC.
    static std::optional<QDateTime> parse(const QString& text);
    // UTC with milliseconds and the Z designator: "2026-03-01T09:30:00.125Z".
    static QString format(const QDateTime& date);
};

} // namespace norvelle
