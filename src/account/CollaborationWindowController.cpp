#include "account/CollaborationWindowController.h"

namespace norvelle {

CollaborationWindowController::CollaborationWindowController(std::unique_ptr<QWidget> window, QObject* parent)
    : WindowController(std::move(window), parent)
{
}

std::unique_ptr<QWidget> CollaborationWindowController::makeWindow()
{
    return WindowController::makeWindow("Share & Collaborate", {420, 320}, {},
        Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
}

} // namespace norvelle
