// Real hot keys on the test's X server, pressed by xdotool as another program would.
#include "app/AppDelegate.h"
#include "app/HeldHotKeysNotice.h"
#include "app/HotKeyManager.h"
#include "core/NorvelleShortcutsProfile.h"
#include "platform/MainQueue.h"
#include "platform/Popover.h"
#include "platform/UserDefaults.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsWindowController.h"
#include "settings/ShortcutRow.h"
#include "settings/ShortcutsPane.h"
#include "support/TestHome.h"
#include "ui/TextLabel.h"
#include "ui/UserNotice.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <linux/input-event-codes.h>

#include <algorithm>

namespace norvelle {
namespace {

using Action = NorvelleShortcutAction;

constexpr int waitMs = 20000;

void press(const QString& chord)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), chord}), 0) << chord.toStdString();
}

// A second X client of its own, as another program holding keys would be.
class OtherClient {
public:
    OtherClient()
        : m_display(XOpenDisplay(nullptr))
    {
    }
    ~OtherClient()
    {
        if (m_display) {
            XCloseDisplay(m_display);
        }
    }

    Display* display() const { return m_display; }

    // Grabs the key with exactly `mask`; returns whether the server accepted it.
    bool grab(int evdevKeyCode, unsigned mask)
    {
        refused = false;
        XSync(m_display, False);
        XErrorHandler previous = XSetErrorHandler(recordError);
        XGrabKey(m_display, evdevKeyCode + 8, mask, DefaultRootWindow(m_display), False, GrabModeAsync,
            GrabModeAsync);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return !refused;
    }

    unsigned lockedModifiers() const
    {
        XkbStateRec state {};
        XkbGetState(m_display, XkbUseCoreKbd, &state);
        return state.locked_mods;
    }

private:
    static int recordError(Display*, XErrorEvent* event)
    {
        refused = refused || event->error_code == BadAccess;
        return 0;
    }
    static inline bool refused = false;
    Display* m_display;
};

// Turns a lock key on for the test's length and back off after it.
class LockOn {
public:
    LockOn(OtherClient& client, const QString& key, unsigned mask)
        : m_client(client)
        , m_key(key)
        , m_mask(mask)
    {
        if (!(m_client.lockedModifiers() & m_mask)) {
            press(m_key);
        }
        on = test::waitUntil([this] { return (m_client.lockedModifiers() & m_mask) != 0; }, waitMs);
    }
    ~LockOn()
    {
        if (m_client.lockedModifiers() & m_mask) {
            press(m_key);
        }
        // Later tests type with the lock off.
        EXPECT_TRUE(test::waitUntil([this] { return (m_client.lockedModifiers() & m_mask) == 0; }, waitMs));
    }
    bool on = false;

private:
    OtherClient& m_client;
    QString m_key;
    unsigned m_mask;
};

// A window of ours that notes the keys it is given.
class KeyRecorder : public QWidget {
public:
    QList<int> pressed;
    QList<int> released;

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (!event->isAutoRepeat()) {
            pressed.append(event->key());
        }
    }
    void keyReleaseEvent(QKeyEvent* event) override
    {
        if (!event->isAutoRepeat()) {
            released.append(event->key());
        }
    }
};

class HotKeyX11Test : public testing::Test {
protected:
    HotKeyX11Test()
    {
        manager.onTrigger = [this](Action action) {
            triggered.append(action);
            allOnMainThread = allOnMainThread && MainQueue::isMainThread();
        };
    }

    bool waitForTrigger(Action action)
    {
        return test::waitUntil([&] { return triggered.contains(action); }, waitMs);
    }

    HotKeyManager manager {GlobalHotKeys::system()};
    QList<Action> triggered;
    bool allOnMainThread = true;
};

TEST_F(HotKeyX11Test, ClipboardHotKeyRunsItsActionOnceOnTheMainThread)
{
    manager.registerAll();
    ASSERT_EQ(manager.idToAction().size(), 3u);

    press("super+shift+v");
    ASSERT_TRUE(waitForTrigger(Action::clipboardHistory));
    // A later key as a marker: were the first press handled twice, it would show by then.
    press("super+shift+k");
    ASSERT_TRUE(waitForTrigger(Action::openWorkspace));
    EXPECT_EQ(triggered, (QList<Action> {Action::clipboardHistory, Action::openWorkspace}));
    EXPECT_TRUE(allOnMainThread);
}

TEST_F(HotKeyX11Test, EveryNewPressFiresAgain)
{
    manager.registerAll();
    press("super+shift+n");
    ASSERT_TRUE(waitForTrigger(Action::newNote));
    press("super+shift+n");
    EXPECT_TRUE(test::waitUntil([&] { return triggered.count(Action::newNote) == 2; }, waitMs));
}

TEST_F(HotKeyX11Test, HoldingTheKeysFiresOnceDespiteAutoRepeat)
{
    manager.registerAll();
    // The server repeats a held key many times a second.
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                  {"keydown", "super+shift+v", "sleep", "1.2", "keyup", "super+shift+v"}),
        0);
    press("super+shift+k");
    ASSERT_TRUE(waitForTrigger(Action::openWorkspace));
    EXPECT_EQ(triggered, (QList<Action> {Action::clipboardHistory, Action::openWorkspace}));
}

TEST_F(HotKeyX11Test, HotKeyLettersTypedIntoOurWindowsReachThemWithTheirReleases)
{
    manager.registerAll();
    KeyRecorder window;
    window.setFocusPolicy(Qt::StrongFocus);
    window.resize(200, 100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    press("k");
    press("shift+v");
    ASSERT_TRUE(test::waitUntil([&] { return window.released.contains(Qt::Key_V); }, waitMs));
    EXPECT_EQ(window.pressed, (QList<int> {Qt::Key_K, Qt::Key_Shift, Qt::Key_V}));
    // xdotool may let Shift go before or after the V.
    QList<int> released = window.released;
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (QList<int> {Qt::Key_K, Qt::Key_V, Qt::Key_Shift}));

    // The hot key itself, press and release, stays ours.
    press("super+shift+k");
    ASSERT_TRUE(waitForTrigger(Action::openWorkspace));
    press("n");
    ASSERT_TRUE(test::waitUntil([&] { return window.released.contains(Qt::Key_N); }, waitMs));
    EXPECT_EQ(window.pressed.count(Qt::Key_K), 1);
    EXPECT_EQ(window.released.count(Qt::Key_K), 1);
    EXPECT_EQ(triggered, QList<Action> {Action::openWorkspace});
}

TEST_F(HotKeyX11Test, AHotKeyWhoseModifiersAreLetGoFirstFiresAgainNextTime)
{
    manager.registerAll();
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                  {"keydown", "super+shift+n", "keyup", "shift", "keyup", "super", "keyup", "n"}),
        0);
    ASSERT_TRUE(waitForTrigger(Action::newNote));
    press("super+shift+n");
    EXPECT_TRUE(test::waitUntil([&] { return triggered.count(Action::newNote) == 2; }, waitMs));
}

TEST_F(HotKeyX11Test, HotKeysFireWithNumLockAndCapsLockOn)
{
    OtherClient client;
    ASSERT_NE(client.display(), nullptr);
    manager.registerAll();

    LockOn numLock(client, "Num_Lock", Mod2Mask);
    ASSERT_TRUE(numLock.on);
    press("super+shift+v");
    ASSERT_TRUE(waitForTrigger(Action::clipboardHistory));

    LockOn capsLock(client, "Caps_Lock", LockMask);
    ASSERT_TRUE(capsLock.on);
    press("super+shift+n");
    ASSERT_TRUE(waitForTrigger(Action::newNote));
    EXPECT_EQ(triggered, (QList<Action> {Action::clipboardHistory, Action::newNote}));
}

TEST_F(HotKeyX11Test, AfterReRegistrationTheOldKeyDoesNothing)
{
    manager.registerAll();
    auto profile = NorvelleShortcutsProfile::defaults();
    profile.clipboardHistory = ActionShortcut {false, ShortcutModifierPreset::commandShift, "x"};
    saveShortcutsProfile(profile);
    manager.registerAll();

    press("super+shift+v");
    press("super+shift+k");
    ASSERT_TRUE(waitForTrigger(Action::openWorkspace));
    EXPECT_EQ(triggered, QList<Action> {Action::openWorkspace}) << "the old clipboard key still fired";

    press("super+shift+x");
    ASSERT_TRUE(waitForTrigger(Action::clipboardHistory));
}

TEST_F(HotKeyX11Test, AKeyAnotherProgramHoldsIsRefusedAndTheOthersStillFire)
{
    OtherClient other;
    ASSERT_NE(other.display(), nullptr);
    ASSERT_TRUE(other.grab(KEY_N, Mod4Mask | ShiftMask));

    manager.registerAll();
    EXPECT_EQ(manager.idToAction(),
        (std::map<quint32, Action> {{1, Action::openWorkspace}, {3, Action::clipboardHistory}}));

    press("super+shift+n");
    press("super+shift+k");
    press("super+shift+v");
    ASSERT_TRUE(waitForTrigger(Action::clipboardHistory));
    EXPECT_EQ(triggered, (QList<Action> {Action::openWorkspace, Action::clipboardHistory}));
}

// Started while another program holds its clipboard shortcut, the program says so, and so does
// the Shortcuts pane; the combination the user then picks instead works, and is not told about.
TEST(ProgramHotKeysX11, AShortcutAnotherProgramHoldsIsToldAndTheOneChosenInsteadWorks)
{
    OtherClient other;
    ASSERT_NE(other.display(), nullptr);
    ASSERT_TRUE(other.grab(KEY_V, Mod4Mask | ShiftMask));
    UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    AppServices services = AppServices::live();
    services.startCrashTelemetry = [] {};
    services.isTrayAvailable = [] { return true; };
    AppDelegate app(services);
    app.applicationDidFinishLaunching();

    QMessageBox* notice = UserNotice::showing(HeldHotKeysNotice::topic);
    ASSERT_NE(notice, nullptr) << "the held shortcut was kept quiet";
    EXPECT_TRUE(notice->text().contains("Shift+Super+V (Clipboard history)")) << notice->text().toStdString();
    notice->close();
    app.openSettings(QStringLiteral("Shortcuts"));
    auto* pane = static_cast<ShortcutsPane*>(app.settingsWindowController()->view()->currentForm());
    const TextLabel* active = pane->row(Action::clipboardHistory)->activeLabel();
    EXPECT_EQ(active->text(), "Active: none — another program uses Shift+Super+V");

    NorvelleShortcutsProfile profile = loadShortcutsProfile();
    profile.setShortcut(Action::clipboardHistory, {false, ShortcutModifierPreset::commandOption, "v"});
    saveShortcutsProfile(profile);
    EXPECT_TRUE(test::waitUntil([] { return !UserNotice::showing(HeldHotKeysNotice::topic); }, waitMs));
    EXPECT_EQ(active->text(), "Active: Alt+Super+V");
    press("super+alt+v");
    EXPECT_TRUE(test::waitUntil([&] { return app.clipboardPopover() && app.clipboardPopover()->isVisible(); }, waitMs));
    app.applicationWillTerminate();
}

TEST(GlobalHotKeysX11, ARefusedRegistrationLeavesNoneOfItsGrabsBehind)
{
    OtherClient holder;
    ASSERT_TRUE(holder.grab(KEY_J, Mod4Mask | ShiftMask | LockMask));

    const auto registration = GlobalHotKeys::system().registerHotKey(KEY_J, GlobalHotKeys::super | GlobalHotKeys::shift, 42);
    EXPECT_EQ(registration.error, HotKeyError::heldByAnotherProgram);

    // Were the variants that did succeed still held, a third client could not take them.
    OtherClient third;
    EXPECT_TRUE(third.grab(KEY_J, Mod4Mask | ShiftMask));
    EXPECT_TRUE(third.grab(KEY_J, Mod4Mask | ShiftMask | Mod2Mask));
}

TEST(GlobalHotKeysX11, UnregisteringReleasesTheKey)
{
    const auto registration = GlobalHotKeys::system().registerHotKey(KEY_G, GlobalHotKeys::super | GlobalHotKeys::alt, 7);
    ASSERT_TRUE(registration.succeeded());
    OtherClient other;
    EXPECT_FALSE(other.grab(KEY_G, Mod4Mask | Mod1Mask));
    GlobalHotKeys::system().unregisterHotKey(registration.ref);
    EXPECT_TRUE(other.grab(KEY_G, Mod4Mask | Mod1Mask));
}

} // namespace
} // namespace norvelle
