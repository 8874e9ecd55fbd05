#include "account/CollaborationWindowController.h"

#include "account/CollaborationView.h"
#include "objectstore/ObjectContext.h"
#include "store/StickyNote.h"
#include "ui/SchemePalette.h"

#include <QVBoxLayout>

namespace norvelle {

CollaborationWindowController::CollaborationWindowController(std::unique_ptr<QWidget> window, QObject* parent)
    : WindowController(std::move(window), parent)
{
}

std::unique_ptr<QWidget> CollaborationWindowController::makeWindow(StickyNote& note, AnalyticsTracking& tracker,
    Pasteboard& pasteboard)
{
    auto window = WindowController::makeWindow("Share & Collaborate", {420, 320}, {},
        Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    followAppearancePreference(*window);
    // The view holds the note for as long as the window lives, not only as long as the caller.
    ObjectContext* context = note.managedObjectContext();
    std::shared_ptr<StickyNote> held = context ? context->existingObject<StickyNote>(note.objectID().uriString()) : nullptr;
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new CollaborationView(std::move(held), tracker, pasteboard, window.get()));
    return window;
}

} // namespace norvelle
