#include "store/StickyWindowKeys.h"

#include "objectstore/ObjectID.h"
#include "objectstore/ObjectStore.h"
#include "platform/StoredSettings.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "store/StickyNote.h"

#include <QHash>

namespace norvelle {

QString StickyWindowKeys::frame(const QString& noteKey)
{
    return storedSettings::stickyFramePrefix + noteKey;
}

QString StickyWindowKeys::followTheme(const QString& noteKey)
{
    return storedSettings::stickyFollowThemePrefix + noteKey;
}

void StickyWindowKeys::forget(const QStringList& noteKeys)
{
    QStringList keys;
    for (const QString& noteKey : noteKeys) {
        keys << frame(noteKey) << followTheme(noteKey);
    }
    UserDefaults::standard().remove(keys);
}

void StickyWindowKeys::dropThoseOfMissingNotes(ObjectStore& store)
{
    UserDefaults& defaults = UserDefaults::standard();
    // Keys are written from the note's URI, so a key of this store's notes starts with exactly
    // this text and ends with the row number as the URI writes it.
    QString noteOfThisStore = ObjectID(store.identifier(), StickyNote::entity().name, 1).uriString();
    noteOfThisStore.chop(1);
    QStringList stale;
    QHash<qint64, QStringList> keysOfRow;
    for (const QString& prefix : {storedSettings::stickyFramePrefix, storedSettings::stickyFollowThemePrefix}) {
        for (const QString& key : defaults.keys(prefix)) {
            const QStringView noteKey = QStringView(key).mid(prefix.size());
            bool isNumber = false;
            const qint64 row = noteKey.startsWith(noteOfThisStore)
                ? noteKey.mid(noteOfThisStore.size()).toLongLong(&isNumber)
                : 0;
            if (isNumber && row > 0 && noteKey.size() == noteOfThisStore.size() + QString::number(row).size()) {
                keysOfRow[row] << key;
            } else {
                stale << key;
            }
        }
    }
    const std::vector<qint64> rowIDs(keysOfRow.keyBegin(), keysOfRow.keyEnd());
    QSet<qint64> stored;
    if (std::optional<ObjectStoreError> error = store.storedRowIDs(store.mainConnection(), StickyNote::entity(), rowIDs, stored)) {
        SystemLog(QStringLiteral("store")).error(QStringLiteral("The sticky window settings were not tidied: ") + error->localizedDescription());
        return;
    }
    for (auto it = keysOfRow.cbegin(); it != keysOfRow.cend(); ++it) {
        if (!stored.contains(it.key())) {
            stale << it.value();
        }
    }
    defaults.remove(stale);
}

} // namespace norvelle
