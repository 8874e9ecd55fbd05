// The tray items as a user meets them: real icons in a real tray (trayer), clicked by xdotool,
// and the clip popover they open.
#include "app/AppDelegate.h"
#include "clipboard/ClipStripList.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/ClipboardStripView.h"
#include "platform/Popover.h"
#include "platform/StatusItem.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsWindowController.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"
#include "support/TrayHost.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int kWaitMs = 20000;

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
}

void movePointer(QPoint global)
{
    xdotool({"mousemove", QString::number(global.x()), QString::number(global.y())});
}

// Lets the X server and our event loop catch up with what xdotool did.
void settle(int ms = 300)
{
    test::waitUntil([] { return false; }, ms);
}

class TrayTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tray.isRunning()) << "no tray host";
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        AppServices services = AppServices::live();
        services.startCrashTelemetry = [] {};
        app = std::make_unique<AppDelegate>(services);
        app->applicationDidFinishLaunching();
        ASSERT_TRUE(test::waitUntil([&] {
            const QRect clip = app->clipStatusItem()->geometry();
            const QRect sticky = app->stickyStatusItem()->geometry();
            return !clip.isEmpty() && !sticky.isEmpty() && !clip.intersects(sticky);
        }, kWaitMs)) << "the icons never reached the tray";
        // The tray lays its icons out again as each one arrives.
        settle(500);
    }
    void TearDown() override
    {
        if (app) {
            app->applicationWillTerminate();
        }
    }

    test::TrayHost tray;
    std::unique_ptr<AppDelegate> app;
};

} // namespace

TEST_F(TrayTest, StickyFromTheStripTakesTheKeyboardForWhatTheUserTypesNext)
{
    test::runProgram("xclip", {"-selection", "clipboard"}, "clip for a note");
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardMonitor().items().size() == 1; }, kWaitMs));

    movePointer(app->clipStatusItem()->geometry().center());
    xdotool({"click", "1"});
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardPopover() && app->clipboardPopover()->isVisible(); }, kWaitMs))
        << "the tray click opened no strip";
    Popover* popover = app->clipboardPopover();
    auto* strip = qobject_cast<ClipboardStripView*>(popover->contentWidget());
    ASSERT_TRUE(strip);

    ClipStripList* list = strip->list();
    movePointer(list->mapToGlobal(list->itemRect(0).center()));
    ASSERT_TRUE(test::waitUntil([&] { return !list->stickyButtonRect(0).isEmpty(); }, kWaitMs));
    movePointer(list->mapToGlobal(list->stickyButtonRect(0).center()));
    settle();
    xdotool({"click", "1"});

    ASSERT_TRUE(test::waitUntil([&] { return app->stickyControllers().count() == 1; }, kWaitMs));
    EXPECT_TRUE(test::waitUntil([&] { return !popover->isVisible(); }, kWaitMs));
    QWidget* note = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle() == "clip for a note") {
                note = window;
            }
        }
        return note && note->isActiveWindow();
    }, kWaitMs)) << "the new note never got the keyboard";

    // The note's title follows its text.
    xdotool({"type", "--delay", "20", "typed"});
    EXPECT_TRUE(test::waitUntil([&] { return note->windowTitle().contains("typed"); }, kWaitMs))
        << note->windowTitle().toStdString();
    EXPECT_TRUE(strip->searchField()->text().isEmpty());
}

TEST_F(TrayTest, TheNewStickyIconActsWhenTheButtonGoesUp)
{
    movePointer(app->stickyStatusItem()->geometry().center());
    xdotool({"mousedown", "1"});
    settle(500);
    EXPECT_EQ(app->stickyControllers().count(), 0) << "acted on the press";
    xdotool({"mouseup", "1"});
    EXPECT_TRUE(test::waitUntil([&] { return app->stickyControllers().count() == 1; }, kWaitMs));

    // Pressed over the icon, released elsewhere: no note.
    movePointer(app->stickyStatusItem()->geometry().center());
    xdotool({"mousedown", "1"});
    settle();
    movePointer({400, 400});
    xdotool({"mouseup", "1"});
    settle(500);
    EXPECT_EQ(app->stickyControllers().count(), 1);
}

TEST_F(TrayTest, EachIconIsNamedForTheDesktop)
{
    for (const QString& name : {QStringLiteral("Clipboard"), QStringLiteral("New Sticky Note")}) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--name", "^" + name + "$"});
        search.waitForFinished(kWaitMs);
        EXPECT_EQ(search.readAllStandardOutput().count('\n'), 1) << name.toStdString();
    }
}

TEST_F(TrayTest, SettingsShortcutWorksFromANewSticky)
{
    movePointer(app->stickyStatusItem()->geometry().center());
    xdotool({"click", "1"});
    ASSERT_TRUE(test::waitUntil([&] {
        QWidget* active = QApplication::activeWindow();
        return app->stickyControllers().count() == 1 && active && active->windowTitle() == "Untitled";
    }, kWaitMs)) << "the new note never got the keyboard";

    xdotool({"key", "ctrl+comma"});
    EXPECT_TRUE(test::waitUntil([&] {
        return app->settingsWindowController() && app->settingsWindowController()->window()->isVisible();
    }, kWaitMs));
}

TEST_F(TrayTest, AStripClosedUnderThePointerReopensWithNoRowHovered)
{
    test::runProgram("xclip", {"-selection", "clipboard"}, "hovered clip");
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardMonitor().items().size() == 1; }, kWaitMs));
    const auto openFromTray = [&] {
        movePointer(app->clipStatusItem()->geometry().center());
        xdotool({"click", "1"});
        return test::waitUntil([&] { return app->clipboardPopover() && app->clipboardPopover()->isVisible(); }, kWaitMs);
    };
    ASSERT_TRUE(openFromTray());
    auto* strip = qobject_cast<ClipboardStripView*>(app->clipboardPopover()->contentWidget());
    ASSERT_TRUE(strip);
    ClipStripList* list = strip->list();
    movePointer(list->mapToGlobal(list->itemRect(0).center()));
    ASSERT_TRUE(test::waitUntil([&] { return !list->stickyButtonRect(0).isEmpty(); }, kWaitMs));

    xdotool({"key", "Escape"});
    ASSERT_TRUE(test::waitUntil([&] { return !app->clipboardPopover()->isVisible(); }, kWaitMs));
    ASSERT_TRUE(openFromTray());
    settle();
    EXPECT_EQ(strip->hoveredID(), std::nullopt) << "the pointer is on the tray, not on the row";
    EXPECT_TRUE(list->stickyButtonRect(0).isEmpty());
}
