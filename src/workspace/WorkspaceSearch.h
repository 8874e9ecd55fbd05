#pragma once

#include <QByteArray>
#include <QString>
#include <QThreadPool>

#include <vector>

namespace norvelle {

class WorkspaceNoteEntry;

// Finds the notes whose title or text holds a query, remembering what the last query kept:
// while the user types on, each longer query looks among those notes alone.
class WorkspaceSearch {
public:
    using NoteRefs = std::vector<const WorkspaceNoteEntry*>;

    WorkspaceSearch();

    // The notes of `scope` that hold the trimmed query, in scope order; all of them for a blank
    // query. Their words must have been given (WorkspaceNoteIndex::loadAllWords).
    NoteRefs matches(const NoteRefs& scope, const QString& query);
    // The notes have changed: what the last query kept no longer tells anything.
    void forget();

    // Whether the note's title or text holds the search form (WorkspaceNoteEntry::searchForm) of a query.
    static bool matchesSearch(const WorkspaceNoteEntry& note, const QByteArray& searchForm);

private:
    NoteRefs lookThrough(const NoteRefs& candidates, const QByteArray& searchForm);

    // Helpers that look through slices of a long list; they leave a while after the last search.
    QThreadPool m_helpers;
    NoteRefs m_scope;
    QByteArray m_searchForm;
    NoteRefs m_kept;
};

} // namespace norvelle
