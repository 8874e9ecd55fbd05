#include "workspace/WorkspaceSearch.h"

#include "workspace/WorkspaceNoteEntry.h"

#include <algorithm>
#include <cstring>
#include <latch>

namespace norvelle {

namespace {

bool holds(const QByteArray& text, const QByteArray& searchForm)
{
    // glibc's memmem is about twice as fast as QByteArray::contains over long texts.
    return memmem(text.constData(), size_t(text.size()), searchForm.constData(), size_t(searchForm.size())) != nullptr;
}

// A shorter list is looked through quicker than it is handed out.
constexpr size_t notesPerSlice = 1024;
constexpr int maximumSlices = 4;

} // namespace

WorkspaceSearch::WorkspaceSearch()
{
    m_helpers.setMaxThreadCount(maximumSlices - 1);
}

WorkspaceSearch::NoteRefs WorkspaceSearch::matches(const NoteRefs& scope, const QString& query)
{
    const QString trimmed = query.trimmed();
    if (trimmed.isEmpty()) {
        return scope;
    }
    const QByteArray searchForm = WorkspaceNoteEntry::searchForm(trimmed);
    // A note that holds the longer query holds the shorter one it contains.
    const bool narrows = !m_searchForm.isEmpty() && searchForm.contains(m_searchForm) && scope == m_scope;
    m_kept = lookThrough(narrows ? m_kept : scope, searchForm);
    m_scope = scope;
    m_searchForm = searchForm;
    return m_kept;
}

WorkspaceSearch::NoteRefs WorkspaceSearch::lookThrough(const NoteRefs& candidates, const QByteArray& searchForm)
{
    // Looking through the text of thousands of notes is bound by memory more than by comparing:
    // helpers take slices of a long list while this thread does the first.
    const size_t count = candidates.size();
    const int slices = int(std::clamp<size_t>(count / notesPerSlice, 1, maximumSlices));
    std::vector<char> keep(count);
    const auto look = [&](int slice) {
        for (size_t i = count * size_t(slice) / size_t(slices); i < count * size_t(slice + 1) / size_t(slices); ++i) {
            keep[i] = matchesSearch(*candidates[i], searchForm);
        }
    };
    std::latch helped(slices - 1);
    for (int slice = 1; slice < slices; ++slice) {
        m_helpers.start([&, slice] {
            look(slice);
            helped.count_down();
        });
    }
    look(0);
    helped.wait();
    NoteRefs kept;
    kept.reserve(size_t(std::count(keep.begin(), keep.end(), 1)));
    for (size_t i = 0; i < count; ++i) {
        if (keep[i]) {
            kept.push_back(candidates[i]);
        }
    }
    return kept;
}

void WorkspaceSearch::forget()
{
    m_scope.clear();
    m_searchForm.clear();
    m_kept.clear();
}

bool WorkspaceSearch::matchesSearch(const WorkspaceNoteEntry& note, const QByteArray& searchForm)
{
    const WorkspaceNoteEntry::Words* words = note.words();
    return words && (holds(words->searchTitle, searchForm) || holds(words->searchText, searchForm));
}

} // namespace norvelle
