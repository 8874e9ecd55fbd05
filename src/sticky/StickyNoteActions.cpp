#include "sticky/StickyNoteActions.h"

#include "core/AppDelegating.h"
#include "objectstore/ObjectContext.h"
#include "sticky/KeyablePanel.h"
#include "sticky/NoteSyncHandoff.h"
#include "sticky/StickyMoreMenu.h"
#include "sticky/StickyState.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTrashOperations.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QCursor>
#include <QDateTime>
#include <QMessageBox>
#include <QPushButton>
#include <QUuid>

namespace norvelle {

StickyNoteActions::StickyNoteActions(StickyWindowController& window)
    : m_window(window)
{
    confirmMoveToTrash = [](QWidget* parent) {
        QMessageBox alert(QMessageBox::Information, QStringLiteral("Norvelle"), QStringLiteral("Move this note to Trash?"),
            QMessageBox::NoButton, parent);
        alert.setInformativeText(QStringLiteral("You can restore it anytime from Trash in the Norvelle workspace."));
        QPushButton* move = alert.addButton(QStringLiteral("Move to Trash"), QMessageBox::AcceptRole);
        alert.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
        alert.setDefaultButton(move);
        alert.exec();
        return alert.clickedButton() == move;
    };
}

bool StickyNoteActions::save(const StickyNote& note)
{
    ObjectContext* context = note.managedObjectContext();
    return !context || !context->save();
}

void StickyNoteActions::showMoreMenu()
{
    const std::shared_ptr<StickyNote>& note = m_window.note();
    auto* menu = new StickyMoreMenu(note && note->isArchived(), {
                                                                    .duplicate = [this] { duplicateNote(); },
                                                                    .toggleArchive = [this] { toggleArchive(); },
                                                                    .moveToTrash = [this] { deleteNote(); },
                                                                },
        m_window.panel());
    menu->popup(QCursor::pos());
}

void StickyNoteActions::togglePin()
{
    StickyState& state = m_window.stickyState();
    state.setIsPinned(!state.isPinned());
    if (const std::shared_ptr<StickyNote>& note = m_window.note()) {
        note->setIsPinned(state.isPinned());
    }
    markNoteChanged();
}

void StickyNoteActions::toggleArchive()
{
    const std::shared_ptr<StickyNote>& note = m_window.note();
    if (!note) {
        return;
    }
    const bool wasArchived = note->isArchived();
    note->setIsArchived(!wasArchived);
    markNoteChanged();
    if (wasArchived) {
        return;
    }
    closeOutsideTheTable();
}

void StickyNoteActions::closeOutsideTheTable()
{
    // The table's entry goes first; it lets go of this window's controller once the close is over.
    if (auto* app = AppDelegating::current()) {
        app->removeStickyWindow(m_window.stickyID);
    }
    m_window.close();
}

void StickyNoteActions::duplicateNote()
{
    const std::shared_ptr<StickyNote>& note = m_window.note();
    if (!note) {
        return;
    }
    ObjectContext* context = note->managedObjectContext();
    ObjectContext& target = context ? *context : PersistenceController::shared().viewContext();
    const auto copy = StickyNote::insert(target);
    copy->setId(QUuid::createUuid());
    copy->setCreatedAt(QDateTime::currentDateTimeUtc());
    copy->setUpdatedAt(QDateTime::currentDateTimeUtc());
    copy->setPaperColor(note->paperColor());
    copy->setPlainText(note->plainText());
    copy->setContent(note->content());
    copy->setTitle(note->title());
    copy->setVersion(1);
    copy->setLastSyncedVersion(0);
    copy->setIsPinned(false);
    copy->setIsArchived(false);
    copy->setUpdatedBy(QStringLiteral("local-device"));
    target.save();
    NoteSyncHandoff::handOff(*copy);
    if (auto* app = AppDelegating::current()) {
        app->openSticky(*copy);
    }
}

void StickyNoteActions::deleteNote()
{
    if (!confirmMoveToTrash(m_window.panel())) {
        return;
    }
    if (const std::shared_ptr<StickyNote>& note = m_window.note()) {
        NoteTrashOperations::moveNoteToTrash(*note);
    } else {
        closeOutsideTheTable();
    }
}

void StickyNoteActions::markNoteChanged()
{
    const std::shared_ptr<StickyNote>& note = m_window.note();
    if (!note) {
        return;
    }
    note->setUpdatedAt(QDateTime::currentDateTimeUtc());
    note->setVersion(note->version() + 1);
    note->setUpdatedBy(QStringLiteral("local-device"));
    save(*note);
    NoteSyncHandoff::handOff(*note);
}

} // namespace norvelle
