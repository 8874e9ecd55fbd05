#pragma once

#include "account/CollaborationWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/RecordingTracker.h"

#include <QLabel>
#include <QPushButton>

#include <memory>

namespace norvelle::test {

// A note of a real SQLite store in the test's home and the share window opened on it.
struct CollaborationTestWindow {
    PersistenceController store;
    RecordingTracker tracker;
    std::shared_ptr<StickyNote> note = StickyNote::insert(store.viewContext());
    std::unique_ptr<CollaborationWindowController> controller;

    void open(Pasteboard& pasteboard)
    {
        controller = std::make_unique<CollaborationWindowController>(
            CollaborationWindowController::makeWindow(*note, tracker, pasteboard));
        controller->showWindow();
    }

    template <class T>
    T* child(const QString& name) const { return controller->window()->findChild<T*>(name); }
    QPushButton* button(const QString& name) const { return child<QPushButton>(name); }
    QString label(const QString& name) const { return child<QLabel>(name)->text(); }
};

} // namespace norvelle::test
