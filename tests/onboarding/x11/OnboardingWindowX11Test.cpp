// The onboarding window on a real X server with a window manager: the window manager may only
// move it, it moves by its background, its close is refused however it comes, and it never
// holds up the program's quit; Return sends the account page's form; Tab and Space reach every
// button.
#include "account/GoogleSignInFixture.h"
#include "onboarding/OnboardingAccountPage.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/OnboardingWindowController.h"
#include "platform/UserDefaults.h"
#include "support/KeyboardTab.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"
#include "ui/KeyboardFocusMark.h"
#include "ui/PlainButton.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

#include <X11/Xlib.h>

namespace norvelle {
namespace {

using test::drag;
using test::serverPosition;
using test::xdotool;

constexpr int waitMs = 20000;

// Shows the window and asks for the keyboard as a pager would, past focus-stealing
// prevention, until it has it.
bool showAndFocus(QWidget* window)
{
    // A window mapped while the window manager is still settling in can stay unmapped.
    for (int attempt = 0; !window->isVisible() || !QTest::qWaitForWindowExposed(window, 3000); ++attempt) {
        if (attempt == 4) {
            return false;
        }
        window->hide();
        window->show();
    }
    return test::waitUntil([window] {
        if (!window->isActiveWindow()) {
            xdotool({"windowactivate", QString::number(window->winId())});
            QTest::qWait(100);
        }
        return window->isActiveWindow();
    },
        waitMs);
}

// A property of the window as another program reads it from the X server.
QString windowProperty(const QWidget* window, const QString& name)
{
    return QString::fromUtf8(test::runProgram(QStringLiteral("xprop"), {"-id", QString::number(window->winId()), name}));
}

// WM_DELETE_WINDOW straight to the window, past the window manager.
void sendDeleteWindow(QWidget* window)
{
    Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
    XEvent message {};
    message.xclient.type = ClientMessage;
    message.xclient.window = Window(window->winId());
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, Window(window->winId()), False, NoEventMask, &message);
    XFlush(display);
}

TEST(OnboardingWindowX11, TheWindowManagerOffersOnlyAMoveAndACloseThatComesAnywayIsRefused)
{
    // The same key closes an ordinary window.
    QWidget plain;
    plain.resize(200, 200);
    ASSERT_TRUE(showAndFocus(&plain));
    ASSERT_TRUE(xdotool({"key", "alt+F4"}));
    ASSERT_TRUE(test::waitUntil([&] { return !plain.isVisible(); }, waitMs));

    OnboardingWindowController controller;
    int finishes = 0;
    controller.onFinish = [&finishes] { ++finishes; };
    QWidget* window = controller.window();
    ASSERT_TRUE(showAndFocus(window));
    // Functions and decorations given: move only, no frame.
    EXPECT_TRUE(windowProperty(window, "_MOTIF_WM_HINTS").endsWith("= 0x3, 0x4, 0x0, 0x0, 0x0\n"))
        << windowProperty(window, "_MOTIF_WM_HINTS").toStdString();
    const QString allowed = windowProperty(window, "_NET_WM_ALLOWED_ACTIONS");
    EXPECT_TRUE(allowed.contains("_NET_WM_ACTION_MOVE")) << allowed.toStdString();
    EXPECT_FALSE(allowed.contains("_NET_WM_ACTION_RESIZE")) << allowed.toStdString();
    EXPECT_FALSE(allowed.contains("_NET_WM_ACTION_MAXIMIZE")) << allowed.toStdString();
    // Openbox offers a close whatever the hints say.
    ASSERT_TRUE(xdotool({"key", "alt+F4"}));
    // A close asked of the window itself, past the window manager.
    sendDeleteWindow(window);
    QTest::qWait(500);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(UserDefaults::standard().boolValue("norvelle.hasCompletedOnboarding"));
    EXPECT_EQ(finishes, 0);
}

TEST(OnboardingWindowX11, TheProgramStillQuitsWhileTheOnboardingShows)
{
    const QString program = QCoreApplication::applicationDirPath() + "/../norvelle";
    ASSERT_TRUE(QFile::exists(program));
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(waitMs));
    const auto onboardingShows = [] {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Norvelle$"});
        return search.waitForFinished(waitMs) && search.exitCode() == 0;
    };
    ASSERT_TRUE(test::waitUntil(onboardingShows, waitMs));
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    EXPECT_TRUE(process.waitForFinished(waitMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(waitMs);
    }
}

TEST(OnboardingWindowX11, DraggingTheBackgroundMovesTheWindowAndDraggingAButtonDoesNot)
{
    OnboardingWindowController controller;
    QWidget* window = controller.window();
    ASSERT_TRUE(showAndFocus(window));
    ASSERT_TRUE(test::waitUntil([window] { return serverPosition(window) == window->pos(); }, waitMs));
    const QPoint start = serverPosition(window);
    const QPoint offset(120, 70);

    // A bare spot beside the welcome slide.
    const QPoint spot(30, 470);
    ASSERT_FALSE(qobject_cast<QAbstractButton*>(window->childAt(spot)));
    // Points on screen come from the server too: Qt's own mapping can lag behind the placement.
    EXPECT_TRUE(drag(
        window, [&] { return serverPosition(window) + spot; }, offset,
        [&] { return serverPosition(window) == start + offset; }));
    EXPECT_TRUE(test::waitUntil([&] { return window->pos() == start + offset; }, waitMs))
        << "the window is at " << window->pos().x() << "," << window->pos().y();

    const QPoint dropped = window->pos();
    PlainButton* next = controller.view()->continueButton();
    EXPECT_FALSE(drag(
        next, [&] { return serverPosition(window) + next->mapTo(window, next->rect().center()); }, offset,
        [&] { return serverPosition(window) == dropped + offset; }));
    EXPECT_EQ(serverPosition(window), dropped);
    EXPECT_EQ(window->pos(), dropped);
}

TEST(OnboardingWindowX11, AQuickClickOnTheBackgroundLeavesTheWindowWhereItIs)
{
    OnboardingWindowController controller;
    QWidget* window = controller.window();
    ASSERT_TRUE(showAndFocus(window));
    ASSERT_TRUE(test::waitUntil([window] { return serverPosition(window) == window->pos(); }, waitMs));
    const QPoint start = serverPosition(window);
    const QPoint spot(30, 470);
    for (int click = 0; click < 3; ++click) {
        test::quickClickThenClickElsewhere(start + spot, start + spot + QPoint(150, 40));
        EXPECT_EQ(serverPosition(window), start) << "after click " << click;
    }
}

TEST(OnboardingWindowX11, ReturnInThePasswordFieldSendsTheFormOnceItCanBeSent)
{
    test::GoogleSignInFixture account;
    account.server.reply("/v1/auth/email/login", test::LoopbackApiServer::tokens("access-e"));
    OnboardingWindowController controller(account.auth, account.google);
    int finishes = 0;
    controller.onFinish = [&finishes] { ++finishes; };
    QWidget* window = controller.window();
    controller.view()->setPage(OnboardingView::accountPage);
    ASSERT_TRUE(showAndFocus(window));
    OnboardingAccountPage* page = controller.view()->accountPageView();
    const auto clickInto = [window](QLineEdit* field) {
        const QPoint spot = serverPosition(window) + field->mapTo(window, field->rect().center());
        return xdotool({"mousemove", "--sync", QString::number(spot.x()), QString::number(spot.y()), "click", "1"})
            && test::waitUntil([field] { return field->hasFocus(); }, waitMs);
    };
    const auto type = [](const QLineEdit* field, const QString& text) {
        return xdotool({"type", "--delay", "20", text})
            && test::waitUntil([field, text] { return field->text().endsWith(text); }, waitMs);
    };

    ASSERT_TRUE(clickInto(page->emailField()));
    ASSERT_TRUE(type(page->emailField(), "ada@example.com"));
    ASSERT_TRUE(clickInto(page->passwordField()));
    ASSERT_TRUE(type(page->passwordField(), "1234567"));
    // Seven characters: the form cannot be sent, and Return sends nothing.
    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(type(page->passwordField(), "8"));
    EXPECT_FALSE(page->isBusy());
    EXPECT_TRUE(account.server.requests("/v1/auth/email/login").isEmpty());
    EXPECT_EQ(page->passwordField()->text(), "12345678");

    ASSERT_TRUE(xdotool({"key", "Return"}));
    ASSERT_TRUE(test::waitUntil([&] { return finishes == 1; }, waitMs));
    const QList<test::RecordedRequest> sent = account.server.requests("/v1/auth/email/login");
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent.first().json().value("email").toString(), "ada@example.com");
    EXPECT_EQ(sent.first().json().value("password").toString(), "12345678");
}

TEST(OnboardingWindowX11, TabReachesBackAndSkipWithAMarkAndSpacePressesThem)
{
    markKeyboardFocus();
    OnboardingWindowController controller;
    int finishes = 0;
    controller.onFinish = [&finishes] { ++finishes; };
    OnboardingView* view = controller.view();
    view->setPage(2);
    QWidget* window = controller.window();
    ASSERT_TRUE(showAndFocus(window));

    // Tab until the focus is on `button`, each step marked on screen; then Space presses it.
    const auto press = [&](QAbstractButton* button) {
        for (int step = 0; step < 12 && window->focusWidget() != button; ++step) {
            const test::TabStep tab = test::pressTab(*window);
            if (!tab.control) {
                return false;
            }
            EXPECT_TRUE(tab.marked) << tab.control->metaObject()->className() << " reached without a mark";
        }
        return window->focusWidget() == button && xdotool({"key", "space"});
    };
    ASSERT_TRUE(press(view->backButton()));
    EXPECT_TRUE(test::waitUntil([view] { return view->page() == 1; }, waitMs));
    ASSERT_TRUE(press(view->skipButton()));
    EXPECT_TRUE(test::waitUntil([&finishes] { return finishes == 1; }, waitMs));
}

} // namespace
} // namespace norvelle
