#include "workspace/NoteListModel.h"

namespace norvelle {

NoteListModel::NoteListModel(QObject* parent)
    : QAbstractListModel(parent)
{
}

void NoteListModel::setNotes(const WorkspaceNoteIndex::NoteRefs& notes)
{
    beginResetModel();
    m_notes = notes;
    endResetModel();
}

const WorkspaceNoteEntry* NoteListModel::entry(int row) const
{
    return row >= 0 && size_t(row) < m_notes.size() ? m_notes[size_t(row)] : nullptr;
}

int NoteListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_notes.size());
}

QVariant NoteListModel::data(const QModelIndex& index, int role) const
{
    const WorkspaceNoteEntry* note = entry(index.row());
    if (!note) {
        return QVariant();
    }
    switch (role) {
    case Qt::DisplayRole:
        return note->displayTitle;
    case Qt::ToolTipRole:
        return note->previewLine();
    case EntryRole:
        return QVariant::fromValue(note);
    default:
        return QVariant();
    }
}

} // namespace norvelle
