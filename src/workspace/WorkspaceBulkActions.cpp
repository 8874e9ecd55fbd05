#include "workspace/WorkspaceBulkActions.h"

#include "objectstore/ObjectContext.h"
#include "platform/ShareSheet.h"
#include "store/NoteTrashOperations.h"
#include "store/StickyNote.h"
#include "ui/CountedNoun.h"
#include "workspace/ConfirmationDialog.h"
#include "workspace/NoteDisplayText.h"
#include "workspace/WorkspaceView.h"

#include <QDateTime>
#include <QMessageBox>
#include <QSet>

namespace norvelle {

void WorkspaceBulkActions::runBulkOperation(WorkspaceView& workspace, const std::function<void(const NoteList&)>& operation)
{
    const NoteList notes = workspace.index().notes(workspace.selectedNotes());
    if (!notes.empty()) {
        operation(notes);
        // While the notes are held the list takes their new values from them, without a read.
        workspace.index().applyPendingChanges();
    }
    workspace.exitSelectionMode();
}

void WorkspaceBulkActions::moveSelectedNotes(WorkspaceView& workspace, const QString& slug)
{
    const QString folder = slug.toLower();
    const NoteList notes = workspace.index().notes(workspace.selectedNotes());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const auto& note : notes) {
        note->setWorkspaceId(folder == u"inbox" ? QString() : folder);
        note->setUpdatedAt(now);
        note->setVersion(note->version() + 1);
    }
    if (!notes.empty()) {
        workspace.index().context().save();
    }
    workspace.exitSelectionMode();
}

void WorkspaceBulkActions::restoreSelectedNotes(WorkspaceView& workspace)
{
    runBulkOperation(workspace, NoteTrashOperations::restoreNotesFromTrash);
}

QString WorkspaceBulkActions::sharedText(const NoteList& notes)
{
    QStringList pieces;
    for (const auto& note : notes) {
        const QString text = note->plainText().trimmed();
        pieces << (text.isEmpty() ? displayTitle(*note) : displayTitle(*note) + QStringLiteral("\n\n") + text);
    }
    return pieces.join(QStringLiteral("\n\n---\n\n"));
}

ShareSheet* WorkspaceBulkActions::shareSelectedNotes(WorkspaceView& workspace, const QPoint& globalPos, QWidget* parent)
{
    const NoteList notes = workspace.index().notes(workspace.selectedNotes());
    if (notes.empty()) {
        return nullptr;
    }
    return ShareSheet::present({.items = {sharedText(notes)}, .generatedLink = std::nullopt}, globalPos, parent);
}

void WorkspaceBulkActions::selectAll(WorkspaceView& workspace)
{
    QSet<QString> all;
    for (const WorkspaceNoteEntry* note : workspace.workspaceNoteList()) {
        all.insert(note->identity());
    }
    workspace.setBulkSelectedIDs(all);
}

QString WorkspaceBulkActions::bulkDeleteTitle(qsizetype count)
{
    return QStringLiteral("Permanently delete %1?").arg(countedNoun(count, QStringLiteral("note"), QStringLiteral("notes")));
}

QString WorkspaceBulkActions::emptyTrashTitle(qsizetype count)
{
    if (count == 1) {
        return QStringLiteral("Permanently delete the note in Trash?");
    }
    return QStringLiteral("Permanently delete all %1 notes in Trash?").arg(count);
}

QMessageBox* WorkspaceBulkActions::confirmBulkPermanentDelete(WorkspaceView& workspace, QWidget* dialogParent)
{
    // The count is of the notes that will go: the selected notes the list shows.
    QMessageBox* dialog = askToConfirm(dialogParent, QStringLiteral("Delete Permanently"), bulkDeleteTitle(qsizetype(workspace.selectedNotes().size())),
        permanentDeleteMessage(), QStringLiteral("Delete Permanently"), [&workspace] {
            runBulkOperation(workspace, NoteTrashOperations::deleteNotesPermanently);
        });
    QObject::connect(dialog, &QDialog::finished, &workspace, [&workspace] { workspace.setConfirmBulkPermanentDelete(false); });
    return dialog;
}

QMessageBox* WorkspaceBulkActions::confirmEmptyTrash(WorkspaceView& workspace, QWidget* dialogParent)
{
    // Only the notes the question counts go, those still in the Trash: a note trashed from its
    // sticky window while the question is open was not asked about.
    QSet<ObjectID> asked;
    for (const WorkspaceNoteEntry* note : workspace.workspaceNoteList()) {
        asked.insert(note->id);
    }
    QMessageBox* dialog = askToConfirm(dialogParent, QStringLiteral("Empty Trash"), emptyTrashTitle(asked.size()), permanentDeleteMessage(),
        QStringLiteral("Delete All"), [&workspace, asked] {
            WorkspaceView::NoteRefs listed;
            for (const WorkspaceNoteEntry* note : workspace.workspaceNoteList()) {
                if (asked.contains(note->id)) {
                    listed.push_back(note);
                }
            }
            NoteTrashOperations::deleteNotesPermanently(workspace.index().notes(listed));
        });
    QObject::connect(dialog, &QDialog::finished, &workspace, [&workspace] { workspace.setConfirmEmptyTrash(false); });
    return dialog;
}

} // namespace norvelle
