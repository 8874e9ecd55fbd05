#include "app/AppDelegate.h"
#include "platform/FreedMemory.h"
#include "platform/SingleInstanceGuard.h"
#include "platform/TerminationSignals.h"
#include "ui/SchemePalette.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

int main(int argc, char** argv)
{
    norvelle::TerminationSignals::holdUntilHandled();
    norvelle::returnFreedMemoryAsItGoes();
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

    // Until the main loop runs, quit() does nothing: a request that comes while the launch waits
    // in a dialog of its own closes that dialog and is carried out once the launch returns.
    bool launched = false;
    bool quitRequested = false;
    const auto requestQuit = [&launched, &quitRequested] {
        quitRequested = true;
        if (launched) {
            QApplication::quit();
        } else if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialog->reject();
        }
    };
    norvelle::TerminationSignals termination;
    QObject::connect(&termination, &norvelle::TerminationSignals::terminationRequested, &app, requestQuit);
    // Logging out of the desktop ends the program the same orderly way.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &app,
        [requestQuit] { QTimer::singleShot(0, qApp, requestQuit); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &delegate, [&delegate] { delegate.applicationWillTerminate(); });

    if (!delegate.applicationDidFinishLaunching()) {
        return 1;
    }
    launched = true;
    if (quitRequested) {
        QTimer::singleShot(0, qApp, [] { QApplication::quit(); });
    }
    return QApplication::exec();
}
