#include "workspace/WorkspaceNoteEntry.h"

#include "store/StickyNote.h"
#include "workspace/NoteDisplayText.h"

namespace norvelle {

namespace {

qint64 milliseconds(const QDateTime& date)
{
    return date.isValid() ? date.toMSecsSinceEpoch() : WorkspaceNoteEntry::distantPast;
}

QString folderKeyOf(const QString& workspaceId)
{
    const QString trimmed = workspaceId.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("inbox") : trimmed.toLower();
}

} // namespace

WorkspaceNoteEntry::WorkspaceNoteEntry(std::shared_ptr<StickyNote> stickyNote, const QCollator& titleCollator)
    : note(std::move(stickyNote))
    , identity(note->objectID().uriString())
    , rowID(note->objectID().rowID())
    , updatedAt(milliseconds(note->updatedAt()))
    , createdAt(milliseconds(note->createdAt()))
    , deletedAt(milliseconds(note->deletedAt()))
    , isTrashed(note->deletedAt().isValid())
    , isPinned(note->isPinned())
    , isArchived(note->isArchived())
    , folderKey(folderKeyOf(note->workspaceId()))
    , searchTitle(searchForm(note->title()))
    , searchText(searchForm(note->plainText()))
    , displayTitle(norvelle::displayTitle(*note))
    , titleSortKey(titleCollator.sortKey(displayTitle))
{
}

QByteArray WorkspaceNoteEntry::searchForm(const QString& text)
{
    return text.toLower().normalized(QString::NormalizationForm_C).toUtf8();
}

const QString& WorkspaceNoteEntry::previewLine() const
{
    if (!m_previewLine) {
        m_previewLine = norvelle::previewLine(*note);
    }
    return *m_previewLine;
}

} // namespace norvelle
