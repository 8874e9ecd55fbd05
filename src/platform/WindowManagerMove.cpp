#include "platform/WindowManagerMove.h"

#include <QGuiApplication>
#include <QWidget>

#include <X11/Xlib.h>

namespace norvelle {

void WindowManagerMove::cancel(const QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !window.isWindow()) {
        return;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(window.winId());
    event.xclient.message_type = XInternAtom(display, "_NET_WM_MOVERESIZE", False);
    event.xclient.format = 32;
    event.xclient.data.l[2] = 11; // _NET_WM_MOVERESIZE_CANCEL
    event.xclient.data.l[4] = 1; // from an application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

} // namespace norvelle
