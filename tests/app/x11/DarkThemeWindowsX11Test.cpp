// Every window the user opens with Theme set to Dark, reached through the tray, the note's
// toolbar and menus as a user reaches them, is drawn dark on the X server; a window open while
// the theme changes follows it. A light window here is one that kept the desktop's look.
#include "account/AuthService.h"
#include "app/AppDelegate.h"
#include "app/x11/TrayAppFixture.h"
#include "clipboard/ClipboardMonitor.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"
#include "platform/Popover.h"
#include "platform/StatusItem.h"
#include "platform/UserDefaults.h"
#include "platform/WindowController.h"
#include "settings/GeneralPane.h"
#include "settings/NorvelleSettingsView.h"
#include "settings/SettingsWindowController.h"
#include "settings/StoredChoicePicker.h"
#include "sticky/CustomColorDisclosure.h"
#include "sticky/HeaderSymbolButton.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace norvelle;
using test::clickAt;
using test::clickOn;

namespace {

constexpr int waitMs = 20000;

// The lightness the X server shows at a window's background: a small patch just inside its
// bottom-left corner, clear of rounded edges, where no control sits.
int backgroundLightness(const QWidget* window)
{
    const QPoint corner = window->mapToGlobal(QPoint(8, window->height() - 12));
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(0, corner.x(), corner.y(), 4, 4).toImage();
    std::vector<int> lightness;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x)
            lightness.push_back(shown.pixelColor(x, y).lightness());
    }
    std::sort(lightness.begin(), lightness.end());
    return lightness[lightness.size() / 2];
}

// Dark, and not the black of a window mapped but not yet drawn.
bool showsDark(const QWidget* window)
{
    if (!window || !window->isVisible())
        return false;
    const int lightness = backgroundLightness(window);
    return lightness > 15 && lightness < 90;
}

bool showsLight(const QWidget* window)
{
    return window && window->isVisible() && backgroundLightness(window) > 180;
}

class DarkThemeWindowsX11Test : public test::TrayAppFixture {
protected:
    void TearDown() override
    {
        ColorPanel::shared().close();
        TrayAppFixture::TearDown();
    }

    void chooseThemeInSettings(const QString& rawValue)
    {
        app->openSettings(QStringLiteral("General"));
        QWidget* window = app->settingsWindowController()->window();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        auto* pane = static_cast<GeneralPane*>(app->settingsWindowController()->view()->currentForm());
        QRadioButton* choice = pane->themePicker()->button(rawValue);
        ASSERT_TRUE(test::waitUntil([&] {
            clickAt(choice->mapToGlobal(QPoint(8, choice->height() / 2)));
            return test::waitUntil([&] { return choice->isChecked(); }, 1000);
        },
            waitMs));
        app->settingsWindowController()->close();
    }

    StickyWindowController* openNote()
    {
        auto note = StickyNote::insert(PersistenceController::shared().viewContext());
        note->setPlainText(QStringLiteral("dark"));
        PersistenceController::shared().viewContext().save();
        app->openSticky(*note);
        StickyWindowController* sticky = app->stickyControllers().controller(note->objectID().uriString());
        EXPECT_TRUE(sticky && QTest::qWaitForWindowExposed(sticky->panel()));
        // Clicks aim where the program believes the window is: wait until the server agrees.
        EXPECT_TRUE(sticky && test::waitUntil([&] {
            return test::serverPosition(sticky->panel()) == sticky->panel()->geometry().topLeft();
        },
                        waitMs));
        return sticky;
    }

    QAbstractButton* pillButton(StickyWindowController& sticky, const QString& name)
    {
        return sticky.toolbarPill()->findChild<QAbstractButton*>(name);
    }
};

} // namespace

TEST_F(DarkThemeWindowsX11Test, EveryWindowOpenedInDarkIsDarkAndAnOpenOneFollowsASwitch)
{
    chooseThemeInSettings(QStringLiteral("dark"));

    // The clip strip from the tray.
    test::runProgram("xclip", {"-selection", "clipboard"}, "a clip");
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardMonitor().items().size() == 1; }, waitMs));
    clickAt(app->clipStatusItem()->geometry().center());
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardPopover() && app->clipboardPopover()->isVisible(); }, waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(app->clipboardPopover()); }, waitMs)) << "clip strip";
    QTest::keyClick(app->clipboardPopover(), Qt::Key_Escape);
    ASSERT_TRUE(test::waitUntil([&] { return !app->clipboardPopover()->isVisible(); }, waitMs));

    StickyWindowController* sticky = openNote();
    ASSERT_TRUE(sticky);
    StickyToolbarPill* pill = sticky->toolbarPill();

    // The transparency popover.
    ASSERT_TRUE(test::waitUntil([&] {
        clickOn(pillButton(*sticky, "transparency"));
        return test::waitUntil([&] { return pill->transparencyPopover() && pill->transparencyPopover()->isVisible(); }, 1000);
    },
        waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(pill->transparencyPopover()); }, waitMs)) << "transparency";
    pill->transparencyPopover()->performClose();

    // The colours popover and the colour chooser opened from it.
    ASSERT_TRUE(test::waitUntil([&] {
        clickOn(pillButton(*sticky, "colors"));
        return test::waitUntil([&] { return pill->colorsPopover() && pill->colorsPopover()->isVisible(); }, 1000);
    },
        waitMs));
    Popover* colors = pill->colorsPopover();
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(colors); }, waitMs)) << "colours";
    // Rows the popover rebuilt linger hidden until deleted: the shown one counts.
    const auto shown = [&]<typename Widget>(const QString& name) {
        for (Widget* widget : colors->findChildren<Widget*>(name)) {
            if (widget->isVisible())
                return widget;
        }
        return static_cast<Widget*>(nullptr);
    };
    QColorDialog* chooser = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        if (QAbstractButton* pick = shown.operator()<QAbstractButton>("pickCustomColor"))
            clickOn(pick);
        else if (CustomColorDisclosure* disclosure = shown.operator()<CustomColorDisclosure>(QString()))
            clickOn(disclosure);
        return test::waitUntil([&] {
            chooser = ColorPanel::shared().dialog();
            return chooser && chooser->isVisible() && chooser->windowHandle()->isExposed();
        },
            1000);
    },
        waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(chooser); }, waitMs)) << "colour chooser";

    // Open while the theme changes, both follow it, and come back with it.
    UserDefaults::standard().set(QStringLiteral("norvelle.appearance"), QStringLiteral("light"));
    EXPECT_TRUE(test::waitUntil([&] { return showsLight(chooser); }, waitMs)) << "colour chooser in Light";
    EXPECT_TRUE(test::waitUntil([&] { return showsLight(colors); }, waitMs)) << "colours in Light";
    UserDefaults::standard().set(QStringLiteral("norvelle.appearance"), QStringLiteral("dark"));
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(chooser); }, waitMs)) << "colour chooser back in Dark";
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(colors); }, waitMs)) << "colours back in Dark";
    ColorPanel::shared().close();
    ASSERT_TRUE(test::waitUntil([&] { return !colors->isVisible(); }, waitMs));

    // The trash question from the ⋯ menu: it is looked at from inside its own event loop.
    bool questionShownDark = false;
    QTimer watch;
    watch.setInterval(100);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!question || !question->windowHandle() || !question->windowHandle()->isExposed())
            return;
        questionShownDark = test::waitUntil([&] { return showsDark(question); }, waitMs);
        watch.stop();
        question->reject();
    });
    watch.start();
    ASSERT_TRUE(test::waitUntil([&] {
        clickOn(sticky->contentView()->headerBar().moreButton());
        return test::waitUntil([&] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 1000);
    },
        waitMs));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    for (QAction* action : menu->actions()) {
        if (action->text() == "Move to Trash")
            clickAt(menu->mapToGlobal(menu->actionGeometry(action).center()));
    }
    EXPECT_TRUE(test::waitUntil([&] { return !watch.isActive(); }, waitMs)) << "no trash question";
    EXPECT_TRUE(questionShownDark) << "trash question";

    // Signed out: the first-run window.
    NotificationCenter::defaultCenter().post(AuthService::sessionEndedNotification);
    ASSERT_TRUE(test::waitUntil([&] {
        return app->onboardingWindowController() && app->onboardingWindowController()->window()->isVisible();
    },
        waitMs));
    QWidget* onboarding = app->onboardingWindowController()->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(onboarding));
    EXPECT_TRUE(test::waitUntil([&] { return showsDark(onboarding); }, waitMs)) << "onboarding";
}
