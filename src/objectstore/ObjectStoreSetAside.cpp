#include "objectstore/ObjectStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace norvelle {

bool ObjectStore::moveFilesAside(const QString& path, QStringList* movedTo)
{
    const QString aside = path + QStringLiteral(".broken-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
    bool moved = true;
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        const QString from = path + suffix;
        if (!QFileInfo::exists(from) && !QFileInfo(from).isSymLink()) {
            continue;
        }
        if (QDir().rename(from, aside + suffix)) {
            if (movedTo) {
                *movedTo << aside + suffix;
            }
        } else {
            moved = false;
        }
    }
    return moved;
}

} // namespace norvelle
