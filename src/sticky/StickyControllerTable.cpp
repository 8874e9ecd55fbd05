#include "sticky/StickyControllerTable.h"

#include "objectstore/ObjectContext.h"
#include "platform/WindowPlacement.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyPlacement.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTrashOperations.h"
#include "store/StickyNote.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace norvelle {

StickyControllerTable::StickyControllerTable()
    : pointerPosition([] { return QCursor::pos(); })
{
}

StickyControllerTable::~StickyControllerTable()
{
    qDeleteAll(m_controllers);
}

void StickyControllerTable::openSticky(StickyNote& note)
{
    if (note.deletedAt().isValid()) {
        NoteTrashOperations::restoreNoteFromTrash(note);
    }
    const QString key = note.objectID().uriString();
    if (StickyWindowController* open = m_controllers.value(key)) {
        // A minimised panel has no task bar entry to come back from: opening it again does.
        open->showWindow();
        return;
    }
    ObjectContext* context = note.managedObjectContext();
    std::shared_ptr<StickyNote> stored = context ? context->existingObject<StickyNote>(key) : nullptr;
    if (!stored) {
        return;
    }

    auto* controller = new StickyWindowController;
    controller->stickyID = key;
    controller->initWithNote(stored);

    note.setIsWindowOpen(true);
    context->save();

    if (!controller->restoreSavedFrame()) {
        placeNearPointer(*controller->window());
    }
    m_controllers.insert(key, controller);
    controller->showWindow();
}

void StickyControllerTable::placeNearPointer(QWidget& window)
{
    const QPoint pointer = pointerPosition();
    const QList<QScreen*> screens = QGuiApplication::screens();
    QList<QRect> frames;
    for (const QScreen* screen : screens) {
        frames.append(screen->geometry());
    }
    const auto chosen = StickyPlacement::screenForPointer(pointer, frames,
        screens.indexOf(QGuiApplication::primaryScreen()));
    if (!chosen) {
        return;
    }
    const QRect visible = screens[*chosen]->availableGeometry();
    const qint64 index = m_spawnIndex++;
    WindowPlacement::placeFrame(window, [pointer, visible, index](QSize frameSize) {
        return StickyPlacement::originNearPointer(pointer, visible, frameSize, index);
    });
}

void StickyControllerTable::closeWindow(const QString& key)
{
    if (StickyWindowController* controller = m_controllers.value(key)) {
        controller->close();
    }
}

void StickyControllerTable::remove(const QString& key)
{
    StickyWindowController* controller = m_controllers.take(key);
    if (!controller) {
        return;
    }
    controller->close();
    release(controller);
}

void StickyControllerTable::forget(const QString& key)
{
    if (StickyWindowController* controller = m_controllers.take(key)) {
        release(controller);
    }
}

void StickyControllerTable::releaseAllAtQuit()
{
    const QList<StickyWindowController*> controllers = m_controllers.values();
    m_controllers.clear();
    qDeleteAll(controllers);
}

void StickyControllerTable::release(StickyWindowController* controller)
{
    // Called from inside the window's closing: the controller goes once that is over.
    controller->deleteLater();
}

} // namespace norvelle
