#include "app/AppDelegate.h"
#include "platform/SingleInstanceGuard.h"
#include "platform/TerminationSignals.h"
#include "ui/SchemePalette.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    norvelle::TerminationSignals::holdUntilHandled();
    // Global hot keys, the clipboard monitor and the paste keystroke speak X11: under a Wayland
    // session run through XWayland unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Norvelle");
    QApplication::setOrganizationName("Norvelle");
    QApplication::setQuitOnLastWindowClosed(false);
    norvelle::keepDesktopPlaceholdersReadable();

    norvelle::SingleInstanceGuard instance;
    if (!instance.claim()) {
        return 0;
    }

    norvelle::AppDelegate delegate;
    QObject::connect(&instance, &norvelle::SingleInstanceGuard::reopenRequested, &delegate,
        [&delegate] { delegate.applicationShouldHandleReopen(delegate.hasVisibleWindows()); });

    norvelle::TerminationSignals termination;
    QObject::connect(&termination, &norvelle::TerminationSignals::terminationRequested, &app,
        [] { QApplication::quit(); });
    // Logging out of the desktop ends the program the same orderly way.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
        [] { QTimer::singleShot(0, qApp, [] { QApplication::quit(); }); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, [&delegate] { delegate.applicationWillTerminate(); });

    if (!delegate.applicationDidFinishLaunching()) {
        return 1;
    }
    return QApplication::exec();
}
