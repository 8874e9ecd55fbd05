#pragma once

#include <QString>
#include <QStringList>

namespace norvelle {

// The two lists of paper colours kept in the settings, newest first, each entry a normalised
// "#RRGGBB": the user's custom colours (at most six, no two equal ignoring case) and the recently
// chosen ones (at most twelve).
namespace PaperColorLists {

inline const QString customChangedNotification = QStringLiteral("norvelle.customPaperColorsDidChange");
// User info "hex": the colour put first.
inline const QString recentChangedNotification = QStringLiteral("norvelle.paperColorDidChange");

// The stored list; empty when absent or not a list of texts.
QStringList load(const QString& key);
void addCustomPaperColor(const QString& hex);
void rememberRecentPaperColor(const QString& hex);
void clearCustomPaperColors();

} // namespace PaperColorLists

} // namespace norvelle
