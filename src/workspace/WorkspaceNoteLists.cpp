#include "workspace/WorkspaceNoteLists.h"

#include "workspace/WorkspaceNoteEntry.h"
#include "workspace/WorkspaceSearch.h"

#include <algorithm>

namespace norvelle {

namespace {

template <typename Keep>
WorkspaceNoteLists::NoteRefs filtered(const WorkspaceNoteLists::NoteRefs& notes, Keep keep)
{
    WorkspaceNoteLists::NoteRefs kept;
    kept.reserve(notes.size());
    std::copy_if(notes.begin(), notes.end(), std::back_inserter(kept), keep);
    return kept;
}

bool keptBySection(const WorkspaceNoteEntry& note, MainSection section)
{
    switch (section) {
    case MainSection::pinned:
        return note.isPinned;
    case MainSection::archive:
        return note.isArchived;
    default:
        return true;
    }
}

} // namespace

WorkspaceNoteLists::NoteRefs WorkspaceNoteLists::liveNotes(const NoteRefs& notes)
{
    return filtered(notes, [](const WorkspaceNoteEntry* note) { return !note->isTrashed; });
}

WorkspaceNoteLists::NoteRefs WorkspaceNoteLists::trashNotes(const NoteRefs& notes)
{
    NoteRefs trashed = filtered(notes, [](const WorkspaceNoteEntry* note) { return note->isTrashed; });
    std::stable_sort(trashed.begin(), trashed.end(), [](const WorkspaceNoteEntry* a, const WorkspaceNoteEntry* b) {
        return a->deletedAt > b->deletedAt;
    });
    return trashed;
}

int WorkspaceNoteLists::trashCount(const NoteRefs& notes)
{
    return int(std::count_if(notes.begin(), notes.end(), [](const WorkspaceNoteEntry* note) { return note->isTrashed; }));
}

WorkspaceNoteLists::NoteRefs WorkspaceNoteLists::workspaceNoteList(const NoteRefs& notes, const WorkspaceListState& state,
    WorkspaceSearch& search)
{
    if (state.selection == MainSection::trash) {
        return search.matches(trashNotes(notes), state.searchQuery);
    }
    const bool anyFolder = state.selectedFolderSlug == u"all";
    const QString folder = state.selectedFolderSlug.toLower();
    NoteRefs list = filtered(notes, [&](const WorkspaceNoteEntry* note) {
        return !note->isTrashed && keptBySection(*note, state.selection) && (anyFolder || note->folderKey == folder);
    });
    if (state.selection == MainSection::recent && list.size() > size_t(recentLimit)) {
        list.resize(size_t(recentLimit));
    }
    list = search.matches(list, state.searchQuery);
    sortNotes(list, state.sortMode);
    return list;
}

void WorkspaceNoteLists::sortNotes(NoteRefs& notes, WorkspaceSortMode mode)
{
    switch (mode) {
    case WorkspaceSortMode::dateModified:
        std::stable_sort(notes.begin(), notes.end(), [](const WorkspaceNoteEntry* a, const WorkspaceNoteEntry* b) {
            const qint64 keyA = a->updatedAt != WorkspaceNoteEntry::distantPast ? a->updatedAt : a->createdAt;
            const qint64 keyB = b->updatedAt != WorkspaceNoteEntry::distantPast ? b->updatedAt : b->createdAt;
            return keyA > keyB;
        });
        break;
    case WorkspaceSortMode::dateCreated:
        std::stable_sort(notes.begin(), notes.end(), [](const WorkspaceNoteEntry* a, const WorkspaceNoteEntry* b) {
            return a->createdAt > b->createdAt;
        });
        break;
    case WorkspaceSortMode::title:
        std::stable_sort(notes.begin(), notes.end(), [](const WorkspaceNoteEntry* a, const WorkspaceNoteEntry* b) {
            return a->titleSortKey.compare(b->titleSortKey) < 0;
        });
        break;
    }
}

WorkspaceNoteLists::NoteRefs WorkspaceNoteLists::pinnedStripNotes(const NoteRefs& list, MainSection selection)
{
    NoteRefs pinned;
    if (selection != MainSection::all) {
        return pinned;
    }
    for (const WorkspaceNoteEntry* note : list) {
        if (note->isPinned) {
            pinned.push_back(note);
            if (pinned.size() == size_t(pinnedStripLimit)) {
                break;
            }
        }
    }
    return pinned;
}

WorkspaceNoteLists::NoteRefs WorkspaceNoteLists::selectedNotes(const NoteRefs& list, const QSet<QString>& selectedIDs)
{
    if (selectedIDs.isEmpty()) {
        return {};
    }
    QSet<ObjectID> selected;
    for (const QString& identity : selectedIDs) {
        if (const std::optional<ObjectID> id = ObjectID::fromURI(identity)) {
            selected.insert(*id);
        }
    }
    return filtered(list, [&](const WorkspaceNoteEntry* note) { return selected.contains(note->id); });
}

} // namespace norvelle
