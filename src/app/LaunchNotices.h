#pragma once

#include <QString>
#include <QStringList>

namespace norvelle {

class ObjectStoreError;

// What the launch tells the user when its files are not as it left them.
namespace LaunchNotices {

// A note store that cannot be opened: says what is wrong and where the store is, and waits
// for the user before the program ends.
void explainUnopenableStore(const ObjectStoreError& error, const QString& storePath);
// A settings file that could not be read and was replaced by the defaults.
void tellUnreadableSettings(const QString& keptAs);
// A note store that could not be read and was set aside for an empty one.
void tellNoteStoreSetAside(const QString& keptAs);
// Files beside the note store that were not regular files and were set aside; the notes opened.
void tellNoteStoreCompanionsSetAside(const QStringList& keptAs);

inline const QString unreadableSettingsTopic = QStringLiteral("settings");
inline const QString noteStoreSetAsideTopic = QStringLiteral("note store set aside");
inline const QString noteStoreCompanionsSetAsideTopic = QStringLiteral("note store companions set aside");

} // namespace LaunchNotices

} // namespace norvelle
