// A real paste under X11: another program's text field has the keyboard, the clipboard hot key
// (pressed by xdotool) opens the strip, and picking a clip types it into that field.
#include "app/AppDelegate.h"
#include "clipboard/ClipEntry.h"
#include "clipboard/ClipboardMonitor.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/Popover.h"
#include "platform/RunningApplication.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSaveFile>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;
const char* const targetFileVariable = "NORVELLE_PASTE_TARGET_FILE";

// The other program: this same executable started with targetFileVariable set becomes a
// window with one line edit that writes what it holds to that file, before any test runs.
const bool runsAsPasteTarget = [] {
    const QString file = qEnvironmentVariable(targetFileVariable);
    if (file.isEmpty()) {
        return false;
    }
    static int argc = 1;
    static char name[] = "paste-target";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QLineEdit field;
    field.setWindowTitle("Paste target");
    field.resize(400, 40);
    QObject::connect(&field, &QLineEdit::textChanged, [file](const QString& text) {
        QSaveFile out(file);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(text.toUtf8());
            out.commit();
        }
    });
    field.show();
    // Asks for the keyboard as a pager would until it has it, past focus-stealing prevention.
    QTimer activation;
    QObject::connect(&activation, &QTimer::timeout, [&] {
        if (field.isActiveWindow()) {
            activation.stop();
        } else {
            RunningApplication(field.winId(), QCoreApplication::applicationPid(), "").activate();
        }
    });
    activation.start(100);
    QTimer::singleShot(60000, &app, &QApplication::quit);
    std::exit(app.exec());
}();

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool isFrontmost(qint64 pid)
{
    const auto frontmost = RunningApplication::frontmost();
    return frontmost && frontmost->processIdentifier() == pid;
}

// The program's own services on the test desktop, past the first-run window.
AppServices desktopServices()
{
    UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    AppServices services = AppServices::live();
    services.startCrashTelemetry = [] {};
    // The test desktop has no tray host; the strip opens at the pointer all the same.
    services.isTrayAvailable = [] { return true; };
    return services;
}

class PasteTarget {
public:
    explicit PasteTarget(const QString& file)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(targetFileVariable, file);
        m_process.setProcessEnvironment(environment);
        m_process.start(QCoreApplication::applicationFilePath(), {});
    }
    ~PasteTarget()
    {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    qint64 pid() const { return m_process.processId(); }

private:
    QProcess m_process;
};

} // namespace

TEST(PasteIntoAnotherProgram, HotKeyThenPickTypesTheClipIntoTheRememberedField)
{
    ASSERT_FALSE(runsAsPasteTarget);
    const QString out = test::TestHomeListener::home() + "/pasted.txt";
    PasteTarget target(out);
    ASSERT_TRUE(test::waitUntil([&] { return target.pid() > 0 && isFrontmost(target.pid()); }, waitMs))
        << "the text field never got the keyboard";

    AppDelegate app(desktopServices());
    app.applicationDidFinishLaunching();
    ASSERT_TRUE(test::waitUntil([&] { return isFrontmost(target.pid()); }, waitMs));

    ASSERT_EQ(QProcess::execute("xdotool", {"key", "super+shift+v"}), 0);
    ASSERT_TRUE(test::waitUntil([&] { return app.clipboardPopover() && app.clipboardPopover()->isVisible(); }, waitMs))
        << "the hot key did not open the strip";
    ASSERT_TRUE(app.pasteTargetApp());
    EXPECT_EQ(app.pasteTargetApp()->processIdentifier(), target.pid());

    const ClipEntry clip {QUuid::createUuid(), "Pasted by Norvelle 42", std::nullopt, std::nullopt, "Test",
        QDateTime::currentDateTimeUtc()};
    app.pasteClip(clip);
    EXPECT_TRUE(test::waitUntil([&] { return readFile(out) == clip.text; }, waitMs))
        << "the field holds \"" << readFile(out).toStdString() << "\"";
    EXPECT_FALSE(app.clipboardPopover()->isVisible());
    app.applicationWillTerminate();
}

// The user writes in a note of ours after having pasted into another program: the strip opened
// over the note pastes into the note, not into the program used before.
TEST(PasteIntoAnotherProgram, AStripOpenedOverANoteOfOursPastesIntoThatNote)
{
    ASSERT_FALSE(runsAsPasteTarget);
    const QString out = test::TestHomeListener::home() + "/pasted.txt";
    PasteTarget target(out);
    ASSERT_TRUE(test::waitUntil([&] { return target.pid() > 0 && isFrontmost(target.pid()); }, waitMs));

    AppDelegate app(desktopServices());
    app.applicationDidFinishLaunching();
    ASSERT_TRUE(test::waitUntil([&] { return isFrontmost(target.pid()); }, waitMs));
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "super+shift+v"}), 0);
    ASSERT_TRUE(test::waitUntil([&] { return app.clipboardPopover() && app.clipboardPopover()->isVisible(); }, waitMs));
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "super+shift+v"}), 0);
    ASSERT_TRUE(test::waitUntil([&] { return !app.clipboardPopover()->isVisible(); }, waitMs));

    ASSERT_EQ(QProcess::execute("xdotool", {"key", "super+shift+n"}), 0);
    ASSERT_TRUE(test::waitUntil([&] {
        return QApplication::activeWindow() && QApplication::activeWindow()->findChild<RichTextEditor*>()
            && isFrontmost(QCoreApplication::applicationPid());
    },
        waitMs))
        << "the new note never got the keyboard";
    app.clipboardMonitor().setItems({ClipEntry {QUuid::createUuid(), "Into the note", std::nullopt, std::nullopt,
        "Test", QDateTime::currentDateTimeUtc()}});

    ASSERT_EQ(QProcess::execute("xdotool", {"key", "super+shift+v"}), 0);
    ASSERT_TRUE(test::waitUntil([&] { return app.clipboardPopover()->isVisible(); }, waitMs));
    ASSERT_EQ(QProcess::execute("xdotool", {"key", "Return"}), 0);

    const auto noteText = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (const auto* editor = window->findChild<RichTextEditor*>()) {
                return editor->textView().toPlainText();
            }
        }
        return QString();
    };
    EXPECT_TRUE(test::waitUntil([&] { return noteText() == "Into the note"; }, waitMs))
        << "the note holds \"" << noteText().toStdString() << "\"";
    EXPECT_EQ(readFile(out), "") << "the clip went to the program used before";
    app.applicationWillTerminate();
}
