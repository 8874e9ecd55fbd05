#include "sticky/StickyControllerTable.h"

#include "objectstore/ObjectContext.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyPlacement.h"
#include "sticky/StickyWindowController.h"
#include "store/NoteTrashOperations.h"
#include "store/StickyNote.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace norvelle {

namespace {

// Before its first showing a window's frame is only its content: the window manager's title
// bar and borders are not known yet. Once they are, the placement is done again with the whole
// frame, so the rule holds for what the user sees.
class FramePlacementRefiner : public QObject {
public:
    FramePlacementRefiner(QWidget& window, QPoint pointer, QRect visibleFrame, qint64 spawnIndex)
        : QObject(&window)
        , m_window(window)
        , m_pointer(pointer)
        , m_visibleFrame(visibleFrame)
        , m_spawnIndex(spawnIndex)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (watched == &m_window && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)) {
            const QSize frameSize = m_window.frameGeometry().size();
            if (frameSize != m_window.size()) {
                m_window.removeEventFilter(this);
                m_window.move(StickyPlacement::originNearPointer(m_pointer, m_visibleFrame, frameSize, m_spawnIndex));
                deleteLater();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& m_window;
    QPoint m_pointer;
    QRect m_visibleFrame;
    qint64 m_spawnIndex;
};

} // namespace

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
    window.move(StickyPlacement::originNearPointer(pointer, visible, window.frameGeometry().size(), index));
    if (!window.isVisible()) {
        new FramePlacementRefiner(window, pointer, visible, index);
    }
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
