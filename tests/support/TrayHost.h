#pragma once

#include <QProcess>

namespace norvelle::test {

// A real system tray on the test's X server (trayer), for tests that click tray icons the way
// a user does. Ends with the object.
class TrayHost {
public:
    TrayHost();
    ~TrayHost();

    // Whether the tray took its place on the display.
    bool isRunning() const { return m_running; }

private:
    QProcess m_process;
    bool m_running = false;
};

} // namespace norvelle::test
