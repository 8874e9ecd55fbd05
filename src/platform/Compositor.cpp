#include "platform/Compositor.h"

#include <QByteArray>
#include <QGuiApplication>

#include <X11/Xlib.h>

namespace norvelle {

bool Compositor::isRunning()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        return false;
    }
    // A compositing manager owns the selection _NET_WM_CM_S<screen> while it runs.
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.constData(), False);
    return XGetSelectionOwner(display, selection) != None;
}

} // namespace norvelle
