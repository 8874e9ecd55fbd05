#pragma once

#include <memory>
#include <vector>

namespace norvelle {

class StickyNote;

// Moving notes to the Trash, back out of it, and deleting them for good, one note or a list.
// Restoring and trashing are local changes (new updatedAt and version, "local-device"); the
// sticky window of a trashed note closes, and a note deleted for good loses its window entry
// before the window closes. Saves drop their errors: the changes stay in the context for its
// next save. A note outside any context is left alone; a list goes through its first note's
// context, and a list whose first note has none is left alone as a whole.
class NoteTrashOperations {
public:
    using NoteList = std::vector<std::shared_ptr<StickyNote>>;

    static void restoreNoteFromTrash(StickyNote& note);
    static void restoreNotesFromTrash(const NoteList& notes);
    static void moveNoteToTrash(StickyNote& note);
    static void moveNotesToTrash(const NoteList& notes);
    static void deleteNotePermanently(StickyNote& note);
    static void deleteNotesPermanently(const NoteList& notes);
};

} // namespace norvelle
