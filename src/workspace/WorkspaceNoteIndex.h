#pragma once

#include "objectstore/ObjectID.h"
#include "workspace/WorkspaceNoteEntry.h"

#include <QCollator>
#include <QHash>
#include <QObject>
#include <QSet>

#include <memory>
#include <vector>

namespace norvelle {

class ObjectContext;
class StickyNote;

// Every note of the context, Trash and archive included, most recently changed first (then
// most recently created, then oldest row), each with its list and search values ready; only
// the columns those need are read, and no note is held. It
// follows the context: whatever changes notes there (a sticky window, sync, an import, the
// workspace itself) is taken in on the next turn of the event loop, only the changed notes
// being worked out again; a change made in steps (a large pull) once it has ended. Main
// thread only.
class WorkspaceNoteIndex : public QObject {
    Q_OBJECT
public:
    using NoteRefs = std::vector<const WorkspaceNoteEntry*>;

    explicit WorkspaceNoteIndex(ObjectContext& context, QObject* parent = nullptr);
    ~WorkspaceNoteIndex() override;

    // Valid until the next notesChanged.
    const NoteRefs& notes() const { return m_ordered; }
    ObjectContext& context() const { return m_context; }

    // The whole note of an entry, read when it is acted on; null when it is gone.
    std::shared_ptr<StickyNote> note(const WorkspaceNoteEntry& entry) const;
    // The notes of the entries still there, in their order.
    std::vector<std::shared_ptr<StickyNote>> notes(const NoteRefs& entries) const;

    // The words of an entry, read from its note when first asked (a note gone has none).
    const WorkspaceNoteEntry::Words& words(const WorkspaceNoteEntry& entry) const;
    // The line an entry draws under its title, read from its note when first asked, without
    // working out the words a search looks in.
    const QString& previewLine(const WorkspaceNoteEntry& entry) const;
    // Gives every entry its words, reading the text of those without in one pass: what a
    // search needs first.
    void loadAllWords();

    // Takes in the changes seen so far now rather than on the next turn.
    void applyPendingChanges();

signals:
    void notesChanged();

private:
    void reload();
    void refresh(const ObjectID& id);
    void refreshInto(QHash<ObjectID, std::shared_ptr<const WorkspaceNoteEntry>>& entries, const ObjectID& id);
    void reorder();
    void schedule();

    ObjectContext& m_context;
    QCollator m_titleCollator;
    QHash<ObjectID, std::shared_ptr<const WorkspaceNoteEntry>> m_entries;
    NoteRefs m_ordered;
    QSet<ObjectID> m_changed;
    // A change signal without an object (a rollback) asks for a fresh fetch.
    bool m_reloadNeeded = false;
    bool m_sawObjectChange = false;
    bool m_scheduled = false;
};

} // namespace norvelle
