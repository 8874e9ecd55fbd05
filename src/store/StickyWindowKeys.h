#pragma once

#include <QString>
#include <QStringList>

namespace norvelle {

class ObjectStore;

// The settings a sticky window keeps for its note (frame, whether it follows the theme), named
// after the note's key: the string of its object URI.
namespace StickyWindowKeys {

QString frame(const QString& noteKey);
QString followTheme(const QString& noteKey);

// Removes the settings of notes that were deleted for good.
void forget(const QStringList& noteKeys);
// Removes the settings of notes `store` no longer has (deleted elsewhere, or a store that was
// replaced). Looks up only the notes the settings name, so it costs nothing per stored note.
void dropThoseOfMissingNotes(ObjectStore& store);

} // namespace StickyWindowKeys

} // namespace norvelle
