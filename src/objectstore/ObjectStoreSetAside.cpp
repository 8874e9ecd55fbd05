#include "objectstore/ObjectStore.h"

#include "platform/RegularFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace norvelle {

bool ObjectStore::moveFilesAside(const QString& path, QStringList* movedTo)
{
    return moveAside(path, QStringList {QString()} + companionSuffixes, movedTo);
}

bool ObjectStore::moveStrayCompanionsAside(const QString& path, QStringList* movedTo)
{
    QStringList strays;
    for (const QString& suffix : companionSuffixes) {
        if (isStray(path + suffix)) {
            strays << suffix;
        }
    }
    return moveAside(path, strays, movedTo);
}

bool ObjectStore::moveAside(const QString& path, const QStringList& suffixes, QStringList* movedTo)
{
    const QString aside = path + QStringLiteral(".broken-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
    bool moved = true;
    for (const QString& suffix : suffixes) {
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

bool ObjectStore::isStray(const QString& file)
{
    return (QFileInfo::exists(file) || QFileInfo(file).isSymLink()) && !RegularFile::isRegularFile(file);
}

} // namespace norvelle
