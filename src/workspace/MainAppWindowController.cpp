#include "workspace/MainAppWindowController.h"

#include <QGuiApplication>
#include <QScreen>

namespace norvelle {

namespace {

std::unique_ptr<QWidget> makeCentredWindow()
{
    auto window = WindowController::makeWindow("Norvelle", {1100, 680}, {680, 420});
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), window->size());
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    return window;
}

} // namespace

MainAppWindowController::MainAppWindowController(QObject* parent)
    : WindowController(makeCentredWindow(), parent)
{
}

} // namespace norvelle
