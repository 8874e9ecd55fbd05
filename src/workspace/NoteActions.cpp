#include "workspace/NoteActions.h"

#include "account/APIConfig.h"
#include "core/AppDelegating.h"
#include "objectstore/ObjectContext.h"
#include "platform/Pasteboard.h"
#include "sticky/NoteFileOperations.h"
#include "sticky/NoteSyncHandoff.h"
#include "store/NoteTrashOperations.h"
#include "store/StickyNote.h"
#include "ui/IsolatedText.h"
#include "ui/UserNotice.h"
#include "workspace/ConfirmationDialog.h"
#include "workspace/NoteDisplayText.h"

#include <QDateTime>
#include <QMenu>

namespace norvelle {

void NoteActions::openSticky(StickyNote& note)
{
    if (AppDelegating* app = AppDelegating::current()) {
        app->openSticky(note);
    }
}

void NoteActions::collaborate(StickyNote& note)
{
    if (AppDelegating* app = AppDelegating::current()) {
        app->openCollaboration(note);
    }
}

void NoteActions::saveAndSync(StickyNote& note)
{
    note.setUpdatedAt(QDateTime::currentDateTimeUtc());
    note.setVersion(note.version() + 1);
    note.setUpdatedBy(QStringLiteral("local-device"));
    if (ObjectContext* context = note.managedObjectContext()) {
        context->save();
    }
    NoteSyncHandoff::handOff(note);
}

void NoteActions::copyShareLink(StickyNote& note, Pasteboard& pasteboard)
{
    if (note.shareToken().isNull()) {
        const QString token = note.id() ? note.id()->toString(QUuid::WithoutBraces).toLower()
                                        : QUuid::createUuid().toString(QUuid::WithoutBraces).toLower();
        note.setShareToken(token);
        note.setSharePreviewURL(APIConfig::shareLinkBase() + token);
        saveAndSync(note);
    }
    if (!APIConfig::isShareLink(note.sharePreviewURL())) {
        // Else the user would paste whatever the clipboard held before, unaware.
        UserNotice::warn(QStringLiteral("shareLink"), QStringLiteral("This note has no link to copy."),
            QStringLiteral("Its stored link isn’t a Norvelle share link, so nothing was copied."));
        return;
    }
    pasteboard.clearContents();
    pasteboard.write({.data = {}, .string = note.sharePreviewURL()});
}

void NoteActions::togglePin(StickyNote& note)
{
    note.setIsPinned(!note.isPinned());
    saveAndSync(note);
}

QString NoteActions::permanentDeleteTitle(const QString& displayTitle)
{
    return QStringLiteral("Permanently delete “") + isolatedText(displayTitle) + QStringLiteral("”?");
}

void NoteActions::confirmPermanentDelete(const std::shared_ptr<StickyNote>& note, QWidget* dialogParent)
{
    askToConfirm(dialogParent, QStringLiteral("Delete Permanently"), permanentDeleteTitle(displayTitle(*note)),
        QStringLiteral("This note will be removed from this computer and cannot be recovered."),
        QStringLiteral("Delete Permanently"), [note] { NoteTrashOperations::deleteNotePermanently(*note); });
}

void NoteActions::fillContextMenu(QMenu& menu, const std::shared_ptr<StickyNote>& note, const NoteCellState& state,
    bool card, QWidget* dialogParent)
{
    if (state.bulkMode) {
        return;
    }
    if (state.showsTrash) {
        menu.addAction(QStringLiteral("Restore to Library"), [note] { NoteTrashOperations::restoreNoteFromTrash(*note); });
        menu.addAction(QStringLiteral("Delete Permanently…"), [note, dialogParent] { confirmPermanentDelete(note, dialogParent); });
        return;
    }
    menu.addAction(QStringLiteral("Open sticky"), [note] { openSticky(*note); });
    if (card) {
        menu.addAction(QStringLiteral("Collaborate…"), [note] { collaborate(*note); });
        menu.addAction(QStringLiteral("Share Link"), [note] { copyShareLink(*note, Pasteboard::general()); });
        menu.addAction(QStringLiteral("Export .txt"),
            [note, dialogParent] { NoteFileOperations::exportNoteAsPlainText(*note, dialogParent); });
        menu.addAction(note->isPinned() ? QStringLiteral("Unpin") : QStringLiteral("Pin"), [note] { togglePin(*note); });
    }
    menu.addSeparator();
    menu.addAction(QStringLiteral("Move to Trash"), [note] { NoteTrashOperations::moveNoteToTrash(*note); });
}

} // namespace norvelle
