#include "platform/WindowManagerFunctions.h"

#include <QGuiApplication>
#include <QWidget>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace norvelle::WindowManagerFunctions {

namespace {

// _MOTIF_WM_HINTS: flags, functions, decorations, input mode, status.
constexpr long motifFunctionsGiven = 1;
constexpr long motifDecorationsGiven = 2;
constexpr long motifMove = 4;

} // namespace

void moveOnly(QWidget& window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display || !window.isWindow()) {
        return;
    }
    const Window id = Window(window.winId());
    long motifHints[5] = {motifFunctionsGiven | motifDecorationsGiven, motifMove, 0, 0, 0};
    const Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, id, motif, motif, 32, PropModeReplace, reinterpret_cast<unsigned char*>(motifHints), 5);
    // Qt also gives a frameless window KDE's "override" type, under which openbox reads any
    // list of functions as allowing none, not even the move.
    Atom normal = XInternAtom(display, "_NET_WM_WINDOW_TYPE_NORMAL", False);
    XChangeProperty(display, id, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&normal), 1);
    XSync(display, False);
}

} // namespace norvelle::WindowManagerFunctions
