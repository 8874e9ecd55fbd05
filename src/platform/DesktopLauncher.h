#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace norvelle {

// Hands things to the desktop's own programs. Both report whether the hand-off started.
class DesktopLauncher {
public:
    virtual ~DesktopLauncher() = default;

    // The real one: the desktop's opener (xdg-open) and detached processes.
    static DesktopLauncher& system();

    // Opens a file, folder or web address in the program the desktop chose for it.
    virtual bool openUrl(const QUrl& url) = 0;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

} // namespace norvelle
