// A shortcut changed in the settings window takes over on the real X server: the new key
// fires, the old one no longer does.
#include "app/AppDelegateFixture.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsWindowController.h"
#include "settings/ShortcutRow.h"
#include "settings/ShortcutsPane.h"
#include "settings/ToggleSwitch.h"
#include "support/PointerDrag.h"
#include "workspace/MainAppWindowController.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>

namespace norvelle::test {
namespace {

using Action = NorvelleShortcutAction;

void press(const QString& chord)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), chord}), 0) << chord.toStdString();
}

class SettingsShortcutsX11Test : public AppDelegateTest {
protected:
    SettingsShortcutsX11Test() { services.hotKeys = &realHotKeys; }

    // The settings window on its Shortcuts pane, shown on the screen; null when it never shows.
    ShortcutsPane* openShortcutsPane()
    {
        app().openSettings(QStringLiteral("Shortcuts"));
        // Once framed, the window is moved to its place: pointer moves wait for it.
        if (!QTest::qWaitForWindowExposed(app().settingsWindowController()->window())
            || !waitUntilPlaced(app().settingsWindowController()->window())) {
            return nullptr;
        }
        return static_cast<ShortcutsPane*>(app().settingsWindowController()->view()->currentForm());
    }

    HotKeyManager realHotKeys {GlobalHotKeys::system()};
};

TEST_F(SettingsShortcutsX11Test, TheNewKeyFiresAndTheOldOneNoLonger)
{
    app();
    QList<Action> fired;
    realHotKeys.onTrigger = [&fired, original = realHotKeys.onTrigger](Action action) {
        fired << action;
        original(action);
    };

    ShortcutsPane* pane = openShortcutsPane();
    ASSERT_NE(pane, nullptr);
    ShortcutRow* row = pane->row(Action::openWorkspace);

    // Default off, then Alt+Super and J, as the user picks them.
    QTest::mouseClick(row->defaultSwitch(), Qt::LeftButton);
    ASSERT_TRUE(row->modifiersPicker()->isVisible());
    QTest::keyClick(row->modifiersPicker(), Qt::Key_Down);
    QTest::keyClick(row->letterPicker(), Qt::Key_J);
    ASSERT_EQ(loadShortcutsProfile().label(Action::openWorkspace), "Alt+Super+J");
    ASSERT_FALSE(pane->alertMessage().has_value());

    press("super+shift+k");
    press("super+alt+j");
    ASSERT_TRUE(waitUntil([&] { return !fired.isEmpty(); }, 20000));
    // Presses arrive in order: the old chord, had it still been ours, would be first.
    QTest::qWait(200);
    EXPECT_EQ(fired, QList<Action> {Action::openWorkspace});
    EXPECT_TRUE(waitUntil([&] { return visible(app().mainAppWindowController()); }));

    // Restoring the defaults gives the old chord back.
    QTest::mouseClick(pane->restoreDefaultsButton(), Qt::LeftButton);
    press("super+alt+j");
    press("super+shift+k");
    ASSERT_TRUE(waitUntil([&] { return fired.size() == 2; }, 20000));
    QTest::qWait(200);
    EXPECT_EQ(fired.size(), 2);
}

// Scrolling the pane with the wheel while the pointer passes over a picker scrolls on and leaves
// the shortcut alone.
TEST_F(SettingsShortcutsX11Test, TheWheelOverAPickerScrollsThePaneAndChangesNoShortcut)
{
    ShortcutsPane* pane = openShortcutsPane();
    ASSERT_NE(pane, nullptr);
    ShortcutRow* row = pane->row(Action::openWorkspace);
    QTest::mouseClick(row->defaultSwitch(), Qt::LeftButton);
    ASSERT_TRUE(row->modifiersPicker()->isVisible());
    const QString before = loadShortcutsProfile().label(Action::openWorkspace);

    QComboBox* picker = row->modifiersPicker();
    ASSERT_TRUE(waitUntil([&] { return picker->visibleRegion().contains(picker->rect().center()); }));
    const QPoint over = picker->mapToGlobal(picker->rect().center());
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(over.x()), QString::number(over.y()), QStringLiteral("click"), QStringLiteral("5")}), 0);
    QTest::qWait(300);
    EXPECT_EQ(loadShortcutsProfile().label(Action::openWorkspace), before);
    EXPECT_EQ(picker->currentIndex(), 0);
}

} // namespace
} // namespace norvelle::test
