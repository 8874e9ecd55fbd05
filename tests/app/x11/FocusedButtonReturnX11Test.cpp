// Return pressed by xdotool: on a button or link the keyboard has reached it does what that
// control does; in a field, or with no button chosen, it runs the window's default action.
#include "app/AppDelegateFixture.h"
#include "onboarding/LaunchAtLoginPage.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/LoginItem.h"
#include "support/KeyboardTab.h"
#include "support/PointerDrag.h"
#include "ui/PlainButton.h"
#include "workspace/MainAppWindowController.h"
#include "workspace/NewFolderSheet.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceSidebar.h"
#include "workspace/WorkspaceView.h"

#include <QPointer>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace norvelle::test {
namespace {

constexpr int waitMs = 20000;

class FocusedButtonReturnX11Test : public AppDelegateTest {
protected:
    // Brings `window` to the front with the keyboard, as a pager would.
    static bool takeKeyboard(QWidget* window)
    {
        return window && waitUntil([window] {
            if (!window->isActiveWindow()) {
                xdotool({"windowactivate", QString::number(window->winId())});
                waitUntil([] { return false; }, 100);
            }
            return window->isActiveWindow();
        },
                   waitMs);
    }

    // Tabs, at least once, until the focus is on `control`; false when it never gets there.
    static bool tabTo(QWidget& window, const QWidget* control)
    {
        for (int step = 0; step < 16; ++step) {
            if (!pressTab(window).control) {
                return false;
            }
            if (window.focusWidget() == control) {
                return true;
            }
        }
        return false;
    }

    // The first-run window of a fresh launch; finishing drops it and its view.
    struct OnboardingWindow {
        QPointer<QWidget> window;
        QPointer<OnboardingView> view;

        bool reaches(int page) const
        {
            return waitUntil([&] { return view && view->page() == page; }, waitMs);
        }
        std::string where() const
        {
            return view ? "on page " + std::to_string(view->page()) : std::string("finished");
        }
    };

    OnboardingWindow launchOnboarding()
    {
        launch();
        OnboardingWindowController* controller = delegate->onboardingWindowController();
        if (!controller || !takeKeyboard(controller->window())) {
            return {};
        }
        return {controller->window(), controller->view()};
    }

    // Return from the first slide to the launch-at-login page.
    static bool continueWithReturn(const OnboardingWindow& onboarding)
    {
        for (int page = 1; page < OnboardingView::accountPage; ++page) {
            if (!xdotool({"key", "Return"}) || !onboarding.reaches(page)) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(FocusedButtonReturnX11Test, OnboardingReturnPressesTheLinkOrBackTheKeyboardReached)
{
    OnboardingWindow onboarding = launchOnboarding();
    ASSERT_TRUE(onboarding.window);
    ASSERT_TRUE(continueWithReturn(onboarding));

    // The sign-in link goes on to the account page; the default would have finished.
    ASSERT_TRUE(tabTo(*onboarding.window, onboarding.view->launchAtLoginPage()->signInLink()));
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(onboarding.reaches(OnboardingView::accountPage)) << onboarding.where();
    EXPECT_FALSE(visible(delegate->mainAppWindowController()));

    // Back, on the account page, where Return has no default to fall back on.
    ASSERT_TRUE(tabTo(*onboarding.window, onboarding.view->backButton()));
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(onboarding.reaches(OnboardingView::accountPage - 1)) << onboarding.where();

    ASSERT_TRUE(tabTo(*onboarding.window, onboarding.view->launchAtLoginPage()->finishButton()));
    ASSERT_TRUE(xdotool({"key", "Return"}));
    EXPECT_TRUE(waitUntil([&] { return visible(delegate->mainAppWindowController()); }, waitMs));
}

// Continue hides on the launch-at-login page; Return there is still its finish button, which
// applies the card (off: the login item goes), not Skip, which would leave it.
TEST_F(FocusedButtonReturnX11Test, ReturnThroughToTheLaunchAtLoginPageFinishesThere)
{
    for (const bool tabbedToContinue : {false, true}) {
        ASSERT_FALSE(LoginItem::setEnabled(true));
        OnboardingWindow onboarding = launchOnboarding();
        ASSERT_TRUE(onboarding.window);
        if (tabbedToContinue) {
            ASSERT_TRUE(tabTo(*onboarding.window, onboarding.view->continueButton()));
        }
        ASSERT_TRUE(continueWithReturn(onboarding));
        ASSERT_TRUE(xdotool({"key", "Return"}));
        EXPECT_TRUE(waitUntil([&] { return visible(delegate->mainAppWindowController()); }, waitMs))
            << "tabbed: " << tabbedToContinue << ", " << onboarding.where();
        EXPECT_FALSE(LoginItem::status() == LoginItem::Status::enabled)
            << "the login item stayed, as Skip leaves it; tabbed: " << tabbedToContinue;
        delegate.reset();
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", false);
    }
}

TEST_F(FocusedButtonReturnX11Test, ReturnOnTheNewFolderSheetsCancelCreatesNoFolder)
{
    app().openMainWindow();
    WorkspaceView* workspace = app().mainAppWindowController()->workspaceView();
    ASSERT_TRUE(takeKeyboard(app().mainAppWindowController()->window()));
    workspace->sidebar()->newFolderButton()->click();
    QPointer<NewFolderSheet> sheet = workspace->newFolderSheet();
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(takeKeyboard(sheet.data()));
    const auto receipts = [] {
        const QList<WorkspaceFoldersStore::UserFolder>& folders = WorkspaceFoldersStore::shared().userFolders();
        return std::count_if(folders.begin(), folders.end(),
            [](const WorkspaceFoldersStore::UserFolder& folder) { return folder.displayName == "Receipts"; });
    };
    const auto before = receipts();

    ASSERT_TRUE(xdotool({"key", "ctrl+a"}));
    ASSERT_TRUE(xdotool({"type", "--delay", "20", "Receipts"}));
    QPushButton* cancel = nullptr;
    for (QPushButton* button : sheet->findChildren<QPushButton*>()) {
        if (button->text() == "Cancel") {
            cancel = button;
        }
    }
    ASSERT_TRUE(cancel);
    ASSERT_TRUE(tabTo(*sheet, cancel));
    ASSERT_TRUE(xdotool({"key", "Return"}));
    EXPECT_TRUE(waitUntil([&] { return !sheet || !sheet->isVisible(); }, waitMs));
    EXPECT_EQ(receipts(), before);
}

} // namespace
} // namespace norvelle::test
