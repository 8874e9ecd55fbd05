#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// A program with a top-level window on the X display, as the window manager reports it
// (EWMH). Without an X11 display (offscreen, Wayland without XWayland) there is none.
class RunningApplication {
public:
    RunningApplication(unsigned long window, qint64 processIdentifier, QString localizedName);

    // The program owning the active window (_NET_ACTIVE_WINDOW), if any.
    static std::optional<RunningApplication> frontmost();

    unsigned long window() const { return m_window; }
    // From _NET_WM_PID; 0 when the window does not say.
    qint64 processIdentifier() const { return m_processIdentifier; }
    // A name for people: the WM_CLASS class (e.g. "Firefox"), else its instance part, else the
    // process name; empty when nothing names it.
    QString localizedName() const { return m_localizedName; }

    // Asks the window manager to activate the remembered window (a _NET_ACTIVE_WINDOW client
    // message, sent as a pager would so focus-stealing prevention lets it through). Returns
    // false when there is no display or the window is gone.
    bool activate() const;

    bool operator==(const RunningApplication&) const = default;

private:
    unsigned long m_window;
    qint64 m_processIdentifier;
    QString m_localizedName;
};

} // namespace norvelle
