#include "platform/PanelWindowHints.h"

#include <QGuiApplication>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace norvelle {

void PanelWindowHints::skipTaskbarAndPager(QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !window.isWindow()) {
        return;
    }
    const Window id = Window(window.winId());
    Atom states[2] = {
        XInternAtom(display, "_NET_WM_STATE_SKIP_TASKBAR", False),
        XInternAtom(display, "_NET_WM_STATE_SKIP_PAGER", False),
    };
    // Qt keeps the states it finds on an unmapped window and adds its own when it maps it.
    XChangeProperty(display, id, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeAppend,
        reinterpret_cast<unsigned char*>(states), 2);
    XSync(display, False);
}

} // namespace norvelle
