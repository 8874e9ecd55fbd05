#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QMessageBox;
class QPoint;
class QWidget;

namespace norvelle {

class ShareSheet;
class StickyNote;
class WorkspaceView;

// What the bulk bar and the bulk dialogs do to the selected notes (the listed notes whose
// identity is selected; other identities take part in nothing).
class WorkspaceBulkActions {
public:
    using NoteList = std::vector<std::shared_ptr<StickyNote>>;

    // Runs `operation` once on the selected notes (not at all when none is listed), then
    // leaves selection mode.
    static void runBulkOperation(WorkspaceView& workspace, const std::function<void(const NoteList&)>& operation);
    // Files the selected notes in `slug` ("inbox" clears the folder): new date and version,
    // one save, then selection mode ends.
    static void moveSelectedNotes(WorkspaceView& workspace, const QString& slug);
    static void restoreSelectedNotes(WorkspaceView& workspace);
    // Every selected note as its title and trimmed text, joined by "---" lines, offered in the
    // share menu at `globalPos`; none without a selected note. Selection mode stays on.
    static ShareSheet* shareSelectedNotes(WorkspaceView& workspace, const QPoint& globalPos, QWidget* parent);
    static QString sharedText(const NoteList& notes);
    // Selects every listed note; selection mode stays on.
    static void selectAll(WorkspaceView& workspace);

    // "Permanently delete N notes?" for the selected notes the list shows, then the deletion; the
    // workspace's flag falls back when the dialog goes.
    static QMessageBox* confirmBulkPermanentDelete(WorkspaceView& workspace, QWidget* dialogParent);
    static QString bulkDeleteTitle(qsizetype count);
    // "Permanently delete all N notes in Trash?" ("the note" for one) for the listed Trash, then
    // the deletion.
    static QMessageBox* confirmEmptyTrash(WorkspaceView& workspace, QWidget* dialogParent);
    static QString emptyTrashTitle(qsizetype count);
    static QString permanentDeleteMessage() { return QStringLiteral("This cannot be undone."); }
};

} // namespace norvelle
