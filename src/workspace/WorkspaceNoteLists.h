#pragma once

#include "workspace/MainSection.h"
#include "workspace/WorkspaceSortMode.h"

#include <QSet>
#include <QString>

#include <vector>

namespace norvelle {

class WorkspaceNoteEntry;
class WorkspaceSearch;

// What the workspace's lists are made of: the section, folder, search and order it shows.
struct WorkspaceListState {
    MainSection selection = MainSection::all;
    // "all" means no folder filter.
    QString selectedFolderSlug = QStringLiteral("all");
    QString searchQuery {};
    WorkspaceSortMode sortMode = WorkspaceSortMode::dateModified;
};

// The lists the workspace shows, each a pass over the notes in fetch order (most recently
// changed first) and at most one sort.
class WorkspaceNoteLists {
public:
    using NoteRefs = std::vector<const WorkspaceNoteEntry*>;

    // Notes not in the Trash, archived ones included, in fetch order.
    static NoteRefs liveNotes(const NoteRefs& notes);
    // Notes in the Trash, most recently trashed first.
    static NoteRefs trashNotes(const NoteRefs& notes);
    static int trashCount(const NoteRefs& notes);

    // The notes the detail column shows. The Trash ignores the folder, the Recent cut and the
    // sort mode; elsewhere: section, folder, Recent's 20 newest, search, then sort. The search
    // looks in the notes' words, which must have been given (WorkspaceNoteIndex::loadAllWords).
    static NoteRefs workspaceNoteList(const NoteRefs& notes, const WorkspaceListState& state, WorkspaceSearch& search);
    // Stable, so equal keys keep their order.
    static void sortNotes(NoteRefs& notes, WorkspaceSortMode mode);
    // The first four pinned notes of the list, on All notes only.
    static NoteRefs pinnedStripNotes(const NoteRefs& list, MainSection selection);
    // The listed notes whose identity is selected, in list order.
    static NoteRefs selectedNotes(const NoteRefs& list, const QSet<QString>& selectedIDs);

    static constexpr int recentLimit = 20;
    static constexpr int pinnedStripLimit = 4;
};

} // namespace norvelle
