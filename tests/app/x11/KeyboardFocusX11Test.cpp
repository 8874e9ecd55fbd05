// The keyboard as the only pointer: Tab pressed by xdotool through the program's windows, in the
// light and the dark look, the keys that close Settings, and how a disabled switch reads.
#include "app/x11/TrayAppFixture.h"
#include "platform/Popover.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsWindowController.h"
#include "settings/SyncPane.h"
#include "settings/ToggleSwitch.h"
#include "support/KeyboardTab.h"
#include "support/PointerDrag.h"
#include "support/RenderedImage.h"
#include "workspace/MainAppWindowController.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

class KeyboardFocusX11Test : public test::TrayAppFixture {
protected:
    // Brings `window` to the front with the keyboard, as a pager would.
    static bool takeKeyboard(QWidget* window)
    {
        return window && test::waitUntil([window] {
            if (!window->isActiveWindow()) {
                test::xdotool({"windowactivate", QString::number(window->winId())});
                test::waitUntil([] { return false; }, 100);
            }
            return window->isActiveWindow();
        },
                   waitMs);
    }

    QWidget* settingsWindow()
    {
        app->openSettings();
        QWidget* window = app->settingsWindowController()->window();
        return takeKeyboard(window) ? window : nullptr;
    }
};

} // namespace

TEST_F(KeyboardFocusX11Test, EachTabMarksTheControlItReachesInEveryWindowAndLook)
{
    for (const char* look : {"light", "dark"}) {
        UserDefaults::standard().set("norvelle.appearance", QString::fromLatin1(look));
        const std::function<QWidget*()> openers[] = {
            [&] { app->openMainWindow(); return app->mainAppWindowController()->window(); },
            [&] { return settingsWindow(); },
            [&]() -> QWidget* { app->toggleClipboardStrip(); return app->clipboardPopover(); },
        };
        for (const auto& open : openers) {
            QWidget* window = open();
            ASSERT_TRUE(takeKeyboard(window)) << look;
            for (int press = 1; press <= 8; ++press) {
                const test::TabStep step = test::pressTab(*window);
                ASSERT_TRUE(step.control) << look << " " << window->windowTitle().toStdString() << ": Tab " << press << " moved nothing";
                EXPECT_TRUE(step.marked) << look << " " << window->windowTitle().toStdString() << ": Tab " << press << " left "
                                         << step.control->metaObject()->className() << " unmarked";
            }
            window->close();
            ASSERT_TRUE(test::waitUntil([window] { return !window->isVisible(); }, waitMs));
        }
    }
}

TEST_F(KeyboardFocusX11Test, EscapeAndCtrlWCloseSettings)
{
    for (const char* keys : {"Escape", "ctrl+w"}) {
        QWidget* window = settingsWindow();
        ASSERT_TRUE(window);
        test::xdotool({"key", keys});
        EXPECT_TRUE(test::waitUntil([window] { return !window->isVisible(); }, 5000)) << keys;
        window->close();
    }
}

TEST_F(KeyboardFocusX11Test, TheSignedOutAutomaticSyncSwitchReadsAsDisabledInBothLooks)
{
    for (const char* look : {"light", "dark"}) {
        UserDefaults::standard().set("norvelle.appearance", QString::fromLatin1(look));
        QWidget* window = settingsWindow();
        ASSERT_TRUE(window);
        NorvelleSettingsView* view = app->settingsWindowController()->view();
        view->setPane(SettingsPane::sync);
        ToggleSwitch* automatic = static_cast<SyncPane*>(view->form(SettingsPane::sync))->autoSyncSwitch();
        ASSERT_FALSE(automatic->isEnabled());
        ASSERT_TRUE(automatic->isChecked()) << "on by default: the case that looked live";
        test::waitUntil([] { return false; }, 200);
        const test::RenderedImage drawn(automatic->grab().toImage());
        EXPECT_EQ(drawn.countPixels(QRect(QPoint(0, 0), drawn.logicalSize()), test::RenderedImage::bluish), 0) << look;
        window->close();
    }
}
