#include "platform/SelectionOwnerProbe.h"

#include "platform/ApplicationDisplay.h"

#include <QSocketNotifier>

#include <X11/Xlib.h>

namespace norvelle {

SelectionOwnerProbe::SelectionOwnerProbe(QObject* parent)
    : QObject(parent)
    , m_display(openApplicationDisplay())
{
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] {
        // An answer Xlib read along with something else is not announced by the socket.
        readEvents();
        if (m_requestor) {
            finish(false);
        }
    });
    if (auto* display = static_cast<Display*>(m_display)) {
        m_clipboard = XInternAtom(display, "CLIPBOARD", False);
        m_targets = XInternAtom(display, "TARGETS", False);
        m_property = XInternAtom(display, "NORVELLE_OWNER_PROBE", False);
        m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(static_cast<Display*>(m_display)),
            QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &SelectionOwnerProbe::readEvents);
    }
}

SelectionOwnerProbe::~SelectionOwnerProbe()
{
    m_notifier.reset();
    if (m_display) {
        XCloseDisplay(static_cast<Display*>(m_display));
    }
}

void SelectionOwnerProbe::ask(QObject* context, std::function<void(bool)> done, int timeoutMs)
{
    auto* display = static_cast<Display*>(m_display);
    if (!display) {
        done(true);
        return;
    }
    m_done = nullptr;
    // Windows take turns, so a late answer to a dropped request cannot pass for this one; none
    // is destroyed, as an owner answering it late would fail on a window that is gone.
    unsigned long& window = m_requestors[m_nextRequestor];
    m_nextRequestor = (m_nextRequestor + 1) % m_requestors.size();
    if (!window) {
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    }
    m_requestor = window;
    m_context = context;
    m_done = std::move(done);
    XConvertSelection(display, m_clipboard, m_targets, m_property, m_requestor, CurrentTime);
    XFlush(display);
    m_timeout.start(timeoutMs);
}

void SelectionOwnerProbe::readEvents()
{
    auto* display = static_cast<Display*>(m_display);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != SelectionNotify) {
            continue;
        }
        if (event.xselection.property != None) {
            XDeleteProperty(display, event.xselection.requestor, event.xselection.property);
        }
        if (m_requestor && event.xselection.requestor == m_requestor) {
            finish(true);
        }
    }
}

void SelectionOwnerProbe::finish(bool answered)
{
    m_timeout.stop();
    m_requestor = 0;
    const auto done = std::exchange(m_done, nullptr);
    if (done && m_context) {
        done(answered);
    }
}

} // namespace norvelle
