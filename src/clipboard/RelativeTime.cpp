#include "clipboard/RelativeTime.h"

namespace norvelle {

namespace {

struct Amount {
    qint64 value;
    const char* one;
    const char* many;
};

// Whole calendar months from `earlier` to `later` (both in the same time zone).
qint64 wholeMonths(const QDateTime& earlier, const QDateTime& later)
{
    const QDate from = earlier.date();
    const QDate to = later.date();
    qint64 months = (to.year() - from.year()) * 12LL + (to.month() - from.month());
    if (months > 0 && earlier.addMonths(int(months)) > later)
        --months;
    return months;
}

Amount largestUnit(const QDateTime& earlier, const QDateTime& later)
{
    const qint64 seconds = earlier.secsTo(later);
    if (seconds < 60)
        return {seconds, "sec.", "sec."};
    if (seconds < 3600)
        return {seconds / 60, "min.", "min."};
    if (seconds < 86400)
        return {seconds / 3600, "hr.", "hr."};
    const qint64 months = wholeMonths(earlier, later);
    if (months >= 12)
        return {months / 12, "yr.", "yr."};
    if (months >= 1)
        return {months, "mo.", "mo."};
    const qint64 days = seconds / 86400;
    if (days >= 7)
        return {days / 7, "wk.", "wk."};
    return {days, "day", "days"};
}

} // namespace

QString relativeTimeText(const QDateTime& date, const QDateTime& now)
{
    const bool future = date > now;
    const QDateTime earlier = (future ? now : date).toLocalTime();
    const QDateTime later = (future ? date : now).toLocalTime();
    const Amount amount = largestUnit(earlier, later);
    const QString text = QStringLiteral("%1 %2").arg(amount.value).arg(QLatin1String(amount.value == 1 ? amount.one : amount.many));
    return future ? QStringLiteral("in ") + text : text + QStringLiteral(" ago");
}

} // namespace norvelle
