#include "sticky/NoteSyncHandoff.h"

#include "account/NotesSyncService.h"
#include "account/SyncCoordinator.h"
#include "platform/MainQueue.h"
#include "store/StickyNote.h"

#include <QDateTime>

namespace norvelle {

void NoteSyncHandoff::handOff(const StickyNote& note)
{
    handOff(note, SyncCoordinator::shared(), NotesSyncService::shared());
}

void NoteSyncHandoff::handOff(const StickyNote& note, SyncCoordinator& coordinator, NotesSyncService& service)
{
    const QString noteID = note.objectID().uriString();
    coordinator.enqueue(noteID);

    // The push gets copies, never the stored object.
    const qint64 version = note.version();
    const QString title = note.title();
    const QString body = note.plainText();
    const QDateTime updatedAt = note.updatedAt().isValid() ? note.updatedAt() : QDateTime::currentDateTimeUtc();
    MainQueue::async([&service, noteID, version, title, body, updatedAt] {
        service.pushNote(noteID, version, title, body, updatedAt);
    });
}

} // namespace norvelle
