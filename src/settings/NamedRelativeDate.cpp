#include "settings/NamedRelativeDate.h"

namespace norvelle {

namespace {

struct Unit {
    const char* name;
    const char* previous; // the name of a one-unit step back, if the language has one
    const char* next;
};

QString amountText(qint64 amount, const Unit& unit, bool future)
{
    if (amount == 1 && unit.previous) {
        return QLatin1String(future ? unit.next : unit.previous);
    }
    const QString text = QStringLiteral("%1 %2%3").arg(amount).arg(QLatin1String(unit.name)).arg(amount == 1 ? "" : "s");
    return future ? QStringLiteral("in ") + text : text + QStringLiteral(" ago");
}

// Whole calendar months between two local times, earlier first.
qint64 wholeMonths(const QDateTime& earlier, const QDateTime& later)
{
    qint64 months = (later.date().year() - earlier.date().year()) * 12LL + (later.date().month() - earlier.date().month());
    if (months > 0 && earlier.addMonths(int(months)) > later) {
        --months;
    }
    return months;
}

} // namespace

QString namedRelativeDateText(const QDateTime& date, const QDateTime& now)
{
    const bool future = date > now;
    const QDateTime earlier = (future ? now : date).toLocalTime();
    const QDateTime later = (future ? date : now).toLocalTime();
    const qint64 seconds = earlier.secsTo(later);
    if (seconds == 0) {
        return QStringLiteral("now");
    }
    if (seconds < 60) {
        return amountText(seconds, {"second", nullptr, nullptr}, future);
    }
    if (seconds < 3600) {
        return amountText(seconds / 60, {"minute", nullptr, nullptr}, future);
    }
    if (seconds < 86400) {
        return amountText(seconds / 3600, {"hour", nullptr, nullptr}, future);
    }
    const qint64 months = wholeMonths(earlier, later);
    if (months >= 12) {
        return amountText(months / 12, {"year", "last year", "next year"}, future);
    }
    if (months >= 1) {
        return amountText(months, {"month", "last month", "next month"}, future);
    }
    const qint64 days = seconds / 86400;
    if (days >= 7) {
        return amountText(days / 7, {"week", "last week", "next week"}, future);
    }
    return amountText(days, {"day", "yesterday", "tomorrow"}, future);
}

} // namespace norvelle
