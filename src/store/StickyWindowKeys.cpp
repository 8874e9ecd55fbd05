#include "store/StickyWindowKeys.h"

#include "platform/ObjectID.h"
#include "platform/ObjectStore.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "store/StickyNote.h"

#include <QHash>

namespace norvelle {

namespace {

const QString framePrefix = QStringLiteral("norvelle.sticky.frame.");
const QString followThemePrefix = QStringLiteral("norvelle.sticky.followTheme.");

} // namespace

QString StickyWindowKeys::frame(const QString& noteKey)
{
    return framePrefix + noteKey;
}

QString StickyWindowKeys::followTheme(const QString& noteKey)
{
    return followThemePrefix + noteKey;
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
    QStringList stale;
    QHash<qint64, QStringList> keysOfRow;
    for (const QString& prefix : { framePrefix, followThemePrefix }) {
        for (const QString& key : defaults.keys(prefix)) {
            const std::optional<ObjectID> id = ObjectID::fromURI(key.mid(prefix.size()));
            if (!id || id->storeID() != store.identifier() || id->entityName() != StickyNote::entity().name) {
                stale << key;
            } else {
                keysOfRow[id->rowID()] << key;
            }
        }
    }
    const std::vector<qint64> rowIDs(keysOfRow.keyBegin(), keysOfRow.keyEnd());
    QSet<qint64> stored;
    if (std::optional<ObjectStoreError> error = store.storedRowIDs(StickyNote::entity(), rowIDs, stored)) {
        SystemLog(QStringLiteral("store")).error(QStringLiteral("The sticky window settings were not tidied: ")
                                                 + error->localizedDescription());
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
