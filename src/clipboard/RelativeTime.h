#pragma once

#include <QDateTime>
#include <QString>

namespace norvelle {

// How long ago `date` was, seen from `now`, in the short form lists show: "12 sec. ago",
// "5 min. ago", "3 hr. ago", "2 days ago", "1 wk. ago", "4 mo. ago", "1 yr. ago"; a date
// after `now` reads "in 5 min.". The largest whole unit wins, the rest is dropped.
QString relativeTimeText(const QDateTime& date, const QDateTime& now);

} // namespace norvelle
