#pragma once

#include "workspace/WorkspaceNoteIndex.h"

#include <QAbstractListModel>

namespace norvelle {

// The workspace note list as an item model: one row per listed note, read from the index's
// ready values, so views only ever touch the rows they draw.
class NoteListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { EntryRole = Qt::UserRole + 1 };

    explicit NoteListModel(QObject* parent = nullptr);

    // Replaces the rows; the entries must stay valid until the next call.
    void setNotes(const WorkspaceNoteIndex::NoteRefs& notes);
    const WorkspaceNoteEntry* entry(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    // The display title, the preview as tool tip, the entry under EntryRole.
    QVariant data(const QModelIndex& index, int role) const override;

private:
    WorkspaceNoteIndex::NoteRefs m_notes;
};

} // namespace norvelle

Q_DECLARE_METATYPE(const norvelle::WorkspaceNoteEntry*)
