#include "platform/RunningApplication.h"

#include <QFile>
#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace norvelle {

namespace {

// Qt's own connection: its error handler already swallows errors such as BadWindow for a
// window that vanished between two requests.
Display* display()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The first 32-bit item of a window's property, if it has one of `type`.
std::optional<unsigned long> cardinalProperty(Display* dpy, Window window, const char* name, Atom type)
{
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* value = nullptr;
    const int status = XGetWindowProperty(dpy, window, XInternAtom(dpy, name, False), 0, 1, False, type,
        &actualType, &actualFormat, &count, &remaining, &value);
    std::optional<unsigned long> result;
    if (status == Success && value && actualType == type && actualFormat == 32 && count == 1) {
        result = *reinterpret_cast<unsigned long*>(value);
    }
    if (value) {
        XFree(value);
    }
    return result;
}

QString processName(qint64 pid)
{
    if (pid <= 0) {
        return {};
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromUtf8(comm.readAll()).trimmed() : QString {};
}

QString className(Display* dpy, Window window)
{
    XClassHint hint {nullptr, nullptr};
    if (!XGetClassHint(dpy, window, &hint)) {
        return {};
    }
    QString name = QString::fromUtf8(hint.res_class).trimmed();
    if (name.isEmpty()) {
        name = QString::fromUtf8(hint.res_name).trimmed();
    }
    XFree(hint.res_name);
    XFree(hint.res_class);
    return name;
}

bool windowExists(Display* dpy, Window window)
{
    XWindowAttributes attributes;
    return window != None && XGetWindowAttributes(dpy, window, &attributes) != 0;
}

} // namespace

RunningApplication::RunningApplication(unsigned long window, qint64 processIdentifier, QString localizedName)
    : m_window(window)
    , m_processIdentifier(processIdentifier)
    , m_localizedName(std::move(localizedName))
{
}

std::optional<RunningApplication> RunningApplication::frontmost()
{
    Display* dpy = display();
    if (!dpy) {
        return std::nullopt;
    }
    const auto active = cardinalProperty(dpy, DefaultRootWindow(dpy), "_NET_ACTIVE_WINDOW", XA_WINDOW);
    if (!active || *active == None || !windowExists(dpy, *active)) {
        return std::nullopt;
    }
    const qint64 pid = qint64(cardinalProperty(dpy, *active, "_NET_WM_PID", XA_CARDINAL).value_or(0));
    QString name = className(dpy, *active);
    if (name.isEmpty()) {
        name = processName(pid);
    }
    return RunningApplication(*active, pid, name);
}

bool RunningApplication::activate() const
{
    Display* dpy = display();
    if (!dpy || !windowExists(dpy, m_window)) {
        return false;
    }
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = m_window;
    event.xclient.message_type = XInternAtom(dpy, "_NET_ACTIVE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2; // source: a pager, acting for the user
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = 0;
    const Status sent = XSendEvent(dpy, DefaultRootWindow(dpy), False,
        SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(dpy);
    return sent != 0;
}

} // namespace norvelle
