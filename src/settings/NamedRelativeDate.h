#pragma once

#include <QDateTime>
#include <QString>

namespace norvelle {

// `date` relative to `now` in words, the largest whole unit only, with names where the
// language has them: "now", "5 seconds ago", "1 minute ago", "3 hours ago", "yesterday",
// "4 days ago", "last week", "2 months ago", "last year", "in 2 hours", "tomorrow".
QString namedRelativeDateText(const QDateTime& date, const QDateTime& now);

} // namespace norvelle
