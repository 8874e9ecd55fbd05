#include "app/AppDelegate.h"

#include "core/LocalAutomationHooks.h"
#include "core/OSLogAnalyticsTracker.h"
#include "core/SearchIndexService.h"
#include "sticky/NewStickyNote.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

// Notes and their sticky windows; the windows live in m_stickyControllers.

namespace norvelle {

void AppDelegate::createNewSticky(const QString& text)
{
    const auto note = NewStickyNote::create(text, NewStickyNote::currentColorScheme(),
        PersistenceController::shared().viewContext(),
        OSLogAnalyticsTracker::shared(), LocalAutomationHooks::shared(),
        SearchIndexService::shared());
    // Opening shows the window, brings it forward and gives it the keyboard.
    openSticky(*note);
}

void AppDelegate::openSticky(StickyNote& note)
{
    m_stickyControllers.openSticky(note);
    if (StickyWindowController* controller = m_stickyControllers.controller(note.objectID().uriString())) {
        offerSettings(*controller->window());
    }
}

bool AppDelegate::hasStickyWindow(const QString& stickyID) const
{
    return m_stickyControllers.contains(stickyID);
}

void AppDelegate::closeStickyWindow(const QString& stickyID)
{
    m_stickyControllers.closeWindow(stickyID);
}

void AppDelegate::removeStickyWindow(const QString& stickyID)
{
    m_stickyControllers.remove(stickyID);
}

void AppDelegate::forgetStickyWindow(const QString& stickyID)
{
    m_stickyControllers.forget(stickyID);
}

} // namespace norvelle
