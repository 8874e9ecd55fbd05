#pragma once

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

namespace norvelle {

class StickyNote;
class StickyWindowController;

// The open sticky windows of the process, one per note, keyed by the note's key (the URI text
// of its object ID). The application delegate keeps one table; a window leaves it when it
// closes, or before it closes when its note is deleted for good. Main thread only.
class StickyControllerTable : public QObject {
    Q_OBJECT
public:
    StickyControllerTable();
    ~StickyControllerTable() override;

    // Where the pointer is; replaceable for tests.
    std::function<QPoint()> pointerPosition;

    // Shows the note's window: a note in the Trash is restored first; an open window comes to
    // the front; otherwise a new window opens on its saved frame or near the pointer. A note
    // that belongs to no store (deleted for good) gets no window.
    void openSticky(StickyNote& note);

    // Moves the window near the pointer, one cascade step further than the last one.
    void placeNearPointer(QWidget& window);

    bool contains(const QString& key) const { return m_controllers.contains(key); }
    StickyWindowController* controller(const QString& key) const { return m_controllers.value(key); }
    qsizetype count() const { return m_controllers.size(); }
    qint64 spawnIndex() const { return m_spawnIndex; }

    // Closes the window under `key`; its closing takes the entry out.
    void closeWindow(const QString& key);
    // Takes the entry out, then closes its window.
    void remove(const QString& key);
    // Drops the entry of a window that is closing.
    void forget(const QString& key);
    // At quit: lets every window go without closing it, so each note stays marked open and
    // its window comes back at the next launch.
    void releaseAllAtQuit();

private:
    void release(StickyWindowController* controller);

    QHash<QString, StickyWindowController*> m_controllers;
    qint64 m_spawnIndex = 0;
};

} // namespace norvelle
