#include "support/KeyboardTab.h"

#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

namespace norvelle::test {

namespace {

constexpr int ringRoom = 4;

} // namespace

TabStep pressTab(QWidget& window)
{
    // A blinking caret would change the pixels by itself.
    QApplication::setCursorFlashTime(0);
    QWidget* from = window.focusWidget();
    const QImage before = window.grab().toImage();
    xdotool({"key", "Tab"});
    TabStep step;
    if (!waitUntil([&] { return window.focusWidget() && window.focusWidget() != from; }, 5000)) {
        return step;
    }
    step.control = window.focusWidget();
    waitUntil([] { return false; }, 150);
    const QImage after = window.grab().toImage();
    const qreal ratio = after.devicePixelRatio();
    const QRect around = QRect(step.control->mapTo(&window, QPoint(0, 0)), step.control->size())
                             .adjusted(-ringRoom, -ringRoom, ringRoom, ringRoom)
                             .intersected(window.rect());
    const QRect pixels(around.topLeft() * ratio, around.size() * ratio);
    step.marked = before.copy(pixels) != after.copy(pixels);
    return step;
}

} // namespace norvelle::test
