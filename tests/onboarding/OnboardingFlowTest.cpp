// The onboarding window's page flow, finishing, launch-at-login page and sign-in, driven
// through its buttons and keys.
#include "account/GoogleSignInButton.h"
#include "account/GoogleSignInFixture.h"
#include "onboarding/LaunchAtLoginCard.h"
#include "onboarding/LaunchAtLoginPage.h"
#include "onboarding/OnboardingAccountPage.h"
#include "onboarding/OnboardingPageDots.h"
#include "onboarding/OnboardingSlide.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/AppPaths.h"
#include "platform/LoginItem.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"
#include "ui/PlainButton.h"
#include "ui/TextLabel.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace norvelle {
namespace {

class OnboardingFlowTest : public testing::Test {
protected:
    OnboardingFlowTest()
    {
        controller.onFinish = [this] { ++finishes; };
        controller.showWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(controller.window()));
    }

    OnboardingView& view() { return *controller.view(); }
    static void click(QAbstractButton* button)
    {
        ASSERT_TRUE(button->isVisible());
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }
    void pressReturn() { QTest::keyClick(controller.window(), Qt::Key_Return); }
    bool completed() const { return UserDefaults::standard().boolValue("norvelle.hasCompletedOnboarding"); }

    // A login item the user turned on earlier, with an entry of their own.
    static void enableLoginItemElsewhere()
    {
        QDir().mkpath(AppPaths::autostartDirectory());
        QFile entry(LoginItem::filePath());
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nExec=/opt/mine\n");
    }

    test::GoogleSignInFixture account;
    OnboardingWindowController controller {account.auth, account.google};
    int finishes = 0;
};

TEST_F(OnboardingFlowTest, TheWindowIsAFixedCentredFramelessSquareOfItsSize)
{
    QWidget* window = controller.window();
    EXPECT_EQ(window->size(), QSize(560, 640));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE((window->geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(OnboardingFlowTest, ContinueAndBackWalkThePagesWithTheirControls)
{
    const QStringList titles {"Welcome to Norvelle", "Never lose a copy again", "Sticky notes that stay put",
        "In sync, everywhere"};
    for (int page = 0; page < OnboardingView::pageCount; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(view().page(), page);
        EXPECT_EQ(view().backButton()->isVisible(), page > 0);
        EXPECT_EQ(view().continueButton()->isVisible(), page <= OnboardingView::lastSlide);
        EXPECT_EQ(view().skipButton()->isVisible(), page < OnboardingView::accountPage);
        EXPECT_EQ(view().dots()->count(), 6);
        EXPECT_EQ(view().dots()->current(), page);
        if (page <= OnboardingView::lastSlide) {
            EXPECT_EQ(view().slide(page)->title(), titles[page]);
            EXPECT_TRUE(view().slide(page)->isVisible());
            click(view().continueButton());
        } else if (page == 4) {
            EXPECT_TRUE(view().launchAtLoginPage()->isVisible());
            click(view().launchAtLoginPage()->signInLink());
        } else {
            EXPECT_TRUE(view().accountPageView()->isVisible());
        }
    }
    for (int page = OnboardingView::accountPage; page > 0; --page) {
        click(view().backButton());
        EXPECT_EQ(view().page(), page - 1);
    }
    EXPECT_EQ(finishes, 0);
    EXPECT_FALSE(completed());
}

TEST_F(OnboardingFlowTest, ReturnContinuesOnTheSlidesAndFinishesOnTheLaunchPage)
{
    for (int page = 1; page <= 4; ++page) {
        pressReturn();
        EXPECT_EQ(view().page(), page);
    }
    pressReturn();
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(completed());
    EXPECT_FALSE(controller.window()->isVisible());
}

TEST_F(OnboardingFlowTest, SkipFinishesOnceFromAnyPageAndClosesTheWindow)
{
    click(view().continueButton());
    click(view().continueButton());
    click(view().skipButton());
    EXPECT_TRUE(completed());
    EXPECT_EQ(finishes, 1);
    EXPECT_FALSE(controller.window()->isVisible());
}

TEST_F(OnboardingFlowTest, ClosingTheWindowOtherwiseRecordsNothing)
{
    controller.close();
    EXPECT_FALSE(controller.window()->isVisible());
    EXPECT_FALSE(completed());
    EXPECT_EQ(finishes, 0);
}

TEST_F(OnboardingFlowTest, TheLaunchPageAppliesTheCardOnlyThroughItsTwoButtons)
{
    view().setPage(4);
    LaunchAtLoginPage* page = view().launchAtLoginPage();
    EXPECT_FALSE(page->card()->isChecked());
    click(page->card());
    EXPECT_TRUE(page->card()->isChecked());
    EXPECT_FALSE(QFile::exists(LoginItem::filePath()));
    // Back and Skip leave the desktop as it was.
    click(view().backButton());
    view().setPage(4);
    EXPECT_FALSE(QFile::exists(LoginItem::filePath()));

    click(page->finishButton());
    EXPECT_EQ(LoginItem::status(), LoginItem::Status::enabled);
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(completed());
}

TEST_F(OnboardingFlowTest, TheCardLeftOffTurnsOffALoginItemThatWasOn)
{
    enableLoginItemElsewhere();
    view().setPage(4);
    click(view().launchAtLoginPage()->signInLink());
    EXPECT_EQ(view().page(), OnboardingView::accountPage);
    EXPECT_FALSE(QFile::exists(LoginItem::filePath()));
    EXPECT_EQ(finishes, 0);
}

TEST_F(OnboardingFlowTest, SkipOnTheLaunchPageLeavesTheLoginItemAsItWas)
{
    enableLoginItemElsewhere();
    view().setPage(4);
    click(view().skipButton());
    EXPECT_TRUE(QFile::exists(LoginItem::filePath()));
    EXPECT_EQ(finishes, 1);
}

TEST_F(OnboardingFlowTest, ARefusedLoginItemStillFinishes)
{
    // A file where the autostart folder belongs.
    QDir().mkpath(QFileInfo(AppPaths::autostartDirectory()).absolutePath());
    QFile blocker(AppPaths::autostartDirectory());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    view().setPage(4);
    click(view().launchAtLoginPage()->card());
    click(view().launchAtLoginPage()->finishButton());
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(completed());
}

TEST_F(OnboardingFlowTest, SigningInByEmailFromTheLaunchPageStoresTheSessionAndFinishesOnce)
{
    account.server.reply("/v1/auth/email/login", test::LoopbackApiServer::tokens("access-onboarding"));
    account.server.reply("/v1/devices/register", test::ScriptedReply::json(200, {}));
    for (int page = 0; page <= OnboardingView::lastSlide; ++page) {
        click(view().continueButton());
    }
    click(view().launchAtLoginPage()->signInLink());
    OnboardingAccountPage* page = view().accountPageView();
    ASSERT_TRUE(page->isVisible());
    QTest::mouseClick(page->emailField(), Qt::LeftButton);
    QTest::keyClicks(page->emailField(), "ada@example.com");
    QTest::mouseClick(page->passwordField(), Qt::LeftButton);
    QTest::keyClicks(page->passwordField(), "correct horse");
    click(page->submitButton());

    ASSERT_TRUE(test::waitUntil([this] { return finishes > 0; }, 5000));
    EXPECT_EQ(finishes, 1);
    EXPECT_TRUE(completed());
    EXPECT_FALSE(controller.window()->isVisible());
    const std::optional<StoredSyncSession> stored = SyncCredentialStore(account.folder).load();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->accessToken, "access-onboarding");
    EXPECT_EQ(account.server.requests("/v1/auth/email/login").value(0).json().value("password"), "correct horse");
    // The sign-in page's choice on the launch page left the login item alone.
    EXPECT_FALSE(QFile::exists(LoginItem::filePath()));
    QTest::qWait(50);
    EXPECT_EQ(finishes, 1);
}

TEST_F(OnboardingFlowTest, SigningInWithGoogleFinishesAndARefusedEmailDoesNot)
{
    view().setPage(OnboardingView::accountPage);
    OnboardingAccountPage* page = view().accountPageView();
    account.server.reply("/v1/auth/email/login", test::ScriptedReply::json(401, {}));
    page->emailField()->setText("ada@example.com");
    page->passwordField()->setText("wrong password");
    click(page->submitButton());
    ASSERT_TRUE(test::waitUntil([page] { return !page->isBusy(); }, 5000));
    EXPECT_EQ(finishes, 0);
    EXPECT_FALSE(completed());
    EXPECT_TRUE(controller.window()->isVisible());

    click(page->googleButton());
    ASSERT_TRUE(test::waitUntil([this] { return finishes > 0; }, 5000));
    EXPECT_TRUE(completed());
    EXPECT_FALSE(controller.window()->isVisible());
    EXPECT_TRUE(SyncCredentialStore(account.folder).load());
}

TEST_F(OnboardingFlowTest, ARefusedSignInShowsItsWholeMessageUnderTheForm)
{
    account.server.reply("/v1/auth/email/login", test::ScriptedReply::json(401, {}));
    view().setPage(OnboardingView::accountPage);
    OnboardingAccountPage* page = view().accountPageView();
    QTest::mouseClick(page->emailField(), Qt::LeftButton);
    QTest::keyClicks(page->emailField(), "ada@example.com");
    QTest::mouseClick(page->passwordField(), Qt::LeftButton);
    QTest::keyClicks(page->passwordField(), "12345678");
    click(page->submitButton());
    ASSERT_TRUE(test::waitUntil([page] { return !page->isBusy(); }, 5000));
    QTest::qWait(20);

    QLabel* error = page->errorLabel();
    ASSERT_TRUE(error->isVisible());
    const int needed = error->heightForWidth(error->width());
    EXPECT_GT(needed, QFontMetrics(error->font()).height()) << error->text().toStdString();
    EXPECT_GE(error->height(), needed);
    // Nothing below it is pushed over it.
    EXPECT_GE(page->switchLink()->geometry().top(), error->geometry().bottom());
}

TEST(OnboardingController, FinishingAfterTheControllerIsGoneDoesNothing)
{
    test::GoogleSignInFixture account;
    auto controller = std::make_unique<OnboardingWindowController>(account.auth, account.google);
    OnboardingView* view = controller->view();
    view->setParent(nullptr);
    controller.reset();
    view->skipButton()->click();
    EXPECT_FALSE(UserDefaults::standard().boolValue("norvelle.hasCompletedOnboarding"));
    delete view;
}

} // namespace
} // namespace norvelle
