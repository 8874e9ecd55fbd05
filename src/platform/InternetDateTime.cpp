#include "platform/InternetDateTime.h"

#include <QTimeZone>

namespace norvelle {

namespace {

// Reads `count` ASCII digits at `at`; -1 when any is not a digit or the text ends first.
int digits(const QString& text, qsizetype at, int count)
{
    if (at + count > text.size()) {
        return -1;
    }
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const QChar c = text.at(at + i);
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool isAt(const QString& text, qsizetype at, char16_t c)
{
    return at < text.size() && text.at(at) == c;
}

} // namespace

std::optional<QDateTime> InternetDateTime::parse(const QString& text)
{
    // YYYY-MM-DDTHH:MM:SS
    const int year = digits(text, 0, 4);
    const int month = digits(text, 5, 2);
    const int day = digits(text, 8, 2);
    const int hour = digits(text, 11, 2);
    const int minute = digits(text, 14, 2);
    const int second = digits(text, 17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 || !isAt(text, 4, u'-')
        || !isAt(text, 7, u'-') || !isAt(text, 10, u'T') || !isAt(text, 13, u':') || !isAt(text, 16, u':')) {
        return std::nullopt;
    }
    qsizetype at = 19;
    int millisecond = 0;
    if (isAt(text, at, u'.')) {
        ++at;
        const qsizetype start = at;
        while (at < text.size() && text.at(at) >= u'0' && text.at(at) <= u'9') {
            const int digit = text.at(at).unicode() - u'0';
            const qsizetype place = at - start;
            if (place < 3) {
                millisecond += digit * (place == 0 ? 100 : place == 1 ? 10
                                                                      : 1);
            }
            ++at;
        }
        if (at == start) {
            return std::nullopt;
        }
    }
    int offsetSeconds = 0;
    if (isAt(text, at, u'Z')) {
        ++at;
    } else if (isAt(text, at, u'+') || isAt(text, at, u'-')) {
        const int sign = text.at(at) == u'-' ? -1 : 1;
        const int offsetHours = digits(text, at + 1, 2);
        const int offsetMinutes = digits(text, at + 4, 2);
        if (offsetHours < 0 || offsetHours > 23 || offsetMinutes < 0 || offsetMinutes > 59 || !isAt(text, at + 3, u':')) {
            return std::nullopt;
        }
        offsetSeconds = sign * (offsetHours * 3600 + offsetMinutes * 60);
        at += 6;
    } else {
        return std::nullopt;
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    // QTime would take 24:00 or a leap second for no time at all; neither is a valid instant here.
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    const QDateTime local(date, QTime(hour, minute, second, millisecond), QTimeZone(offsetSeconds));
    if (!local.isValid()) {
        return std::nullopt;
    }
    // An offset can carry a date past year 1 or 9999, which the written form cannot hold: such
    // a date would be written as text this reader refuses.
    const QDateTime utc = local.toUTC();
    if (utc.date().year() < 1 || utc.date().year() > 9999) {
        return std::nullopt;
    }
    return utc;
}

QString InternetDateTime::format(const QDateTime& date)
{
    return date.toUTC().toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz")) + u'Z';
}

} // namespace norvelle
