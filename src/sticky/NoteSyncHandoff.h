#pragma once

namespace norvelle {

class NotesSyncService;
class StickyNote;
class SyncCoordinator;

// Hands a changed note to synchronisation: its key goes to the coordinator's pending list and
// a push of its title, text, version and date starts on a later turn of the event loop, with the
// values of the note's last hand-off before then. Nothing waits for the push, and its outcome
// never comes back here.
class NoteSyncHandoff {
public:
    static void handOff(const StickyNote& note);
    static void handOff(const StickyNote& note, SyncCoordinator& coordinator, NotesSyncService& service);
};

} // namespace norvelle
