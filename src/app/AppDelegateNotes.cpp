#include "app/AppDelegate.h"

// Notes and their sticky windows. Creating and showing notes arrives with the sticky window;
// until then the new-note gestures do nothing and no sticky window is ever open.

namespace norvelle {

void AppDelegate::createNewSticky(const QString& text)
{
}

void AppDelegate::openSticky(StickyNote& note)
{
}

void AppDelegate::placeNearPointer(QWidget* window)
{
}

bool AppDelegate::hasStickyWindow(const QString& stickyID) const
{
    return m_stickyControllers.contains(stickyID);
}

void AppDelegate::closeStickyWindow(const QString& stickyID)
{
}

void AppDelegate::removeStickyWindow(const QString& stickyID)
{
}

void AppDelegate::forgetStickyWindow(const QString& stickyID)
{
    m_stickyControllers.remove(stickyID);
}

} // namespace norvelle
