#include "sticky/NoteSyncHandoff.h"

#include "account/NotesSyncService.h"
#include "account/SyncCoordinator.h"
#include "platform/MainQueue.h"
#include "store/StickyNote.h"

#include <QDateTime>
#include <QHash>

namespace norvelle {

namespace {

// The note as the push will carry it: copies, never the stored object.
struct PendingPush {
    qint64 version;
    QString title;
    QString body;
    QDateTime updatedAt;
};

// Pushes waiting for the next turn, by service and note. One edit saves twice (its rich body,
// then its text): the later save replaces the waiting values, so one push carries the edit and
// no push with the text from before it can race it to the server.
QHash<std::pair<NotesSyncService*, QString>, PendingPush>& pendingPushes()
{
    static QHash<std::pair<NotesSyncService*, QString>, PendingPush> pending;
    return pending;
}

} // namespace

void NoteSyncHandoff::handOff(const StickyNote& note)
{
    handOff(note, SyncCoordinator::shared(), NotesSyncService::shared());
}

void NoteSyncHandoff::handOff(const StickyNote& note, SyncCoordinator& coordinator, NotesSyncService& service)
{
    const QString noteID = note.objectID().uriString();
    coordinator.enqueue(noteID);

    const auto key = std::pair(&service, noteID);
    const bool waiting = pendingPushes().contains(key);
    pendingPushes().insert(key, {note.version(), note.title(), note.plainText(), note.updatedAt().isValid() ? note.updatedAt() : QDateTime::currentDateTimeUtc()});
    if (waiting) {
        return;
    }
    MainQueue::async([key] {
        const PendingPush push = pendingPushes().take(key);
        key.first->pushNote(key.second, push.version, push.title, push.body, push.updatedAt);
    });
}

} // namespace norvelle
