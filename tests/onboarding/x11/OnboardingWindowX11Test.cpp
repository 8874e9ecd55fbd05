// The onboarding window on a real X server with a window manager: it moves by its background,
// its close is refused, and it never holds up the program's quit.
#include "onboarding/OnboardingView.h"
#include "onboarding/OnboardingWindowController.h"
#include "ui/PlainButton.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace norvelle {
namespace {

constexpr int waitMs = 20000;

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

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
    }, waitMs);
}

// Counts the presses a widget receives, so a drag goes on only once its press has landed.
class PressCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        presses += event->type() == QEvent::MouseButtonPress;
        return false;
    }
};

void movePointer(QPoint to)
{
    xdotool({"mousemove", "--sync", QString::number(to.x()), QString::number(to.y())});
}

// Where the X server has the window: the window manager tells the program only once a move ends.
QPoint serverPosition(QWidget* window)
{
    QProcess query;
    query.start(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", QString::number(window->winId())});
    query.waitForFinished(waitMs);
    QPoint position(-1, -1);
    for (const QByteArray& line : query.readAllStandardOutput().split('\n')) {
        if (line.startsWith("X=")) {
            position.setX(line.mid(2).toInt());
        } else if (line.startsWith("Y=")) {
            position.setY(line.mid(2).toInt());
        }
    }
    return position;
}

// Presses the left button at `where()` until `target` has the press; a pointer that a window
// manager still settling in leaves elsewhere gets another try.
bool pressOn(QWidget* target, const std::function<QPoint()>& where)
{
    PressCounter counter;
    target->installEventFilter(&counter);
    for (int attempt = 0; attempt < 5 && counter.presses == 0; ++attempt) {
        if (attempt > 0) {
            xdotool({"mouseup", "1"});
            xdotool({"windowactivate", "--sync", QString::number(target->window()->winId())});
        }
        // The pointer comes in over the window, as a hand on the mouse brings it.
        movePointer(where() - QPoint(4, 4));
        QTest::qWait(50);
        movePointer(where());
        QTest::qWait(50);
        xdotool({"mousedown", "1"});
        test::waitUntil([&counter] { return counter.presses > 0; }, 3000);
    }
    target->removeEventFilter(&counter);
    return counter.presses > 0;
}

// Drags with the real pointer from `where()` by `offset` and lets go once the window sits at
// `target` or the tries run out; returns whether it got there. The window manager follows the
// pointer only from when it has taken the move request, so the pointer is nudged at the end
// until it has.
bool drag(QWidget* pressed, const std::function<QPoint()>& where, QPoint offset, QPoint target)
{
    if (!pressOn(pressed, where)) {
        xdotool({"mouseup", "1"});
        return false;
    }
    QWidget* window = pressed->window();
    const QPoint from = where();
    const auto arrived = [&] { return serverPosition(window) == target; };
    for (int step = 1; step <= 10; ++step) {
        movePointer(from + offset * step / 10);
        QTest::qWait(20);
    }
    bool done = test::waitUntil(arrived, 300);
    for (int nudge = 0; !done && nudge < 8; ++nudge) {
        movePointer(from + offset + QPoint(1, 1));
        movePointer(from + offset);
        done = test::waitUntil(arrived, 300);
    }
    xdotool({"mouseup", "1"});
    return done;
}

TEST(OnboardingWindowX11, TheWindowManagersCloseIsRefusedWhereAPlainWindowCloses)
{
    // The same key closes an ordinary window, so the close request does arrive.
    QWidget plain;
    plain.resize(200, 200);
    ASSERT_TRUE(showAndFocus(&plain));
    ASSERT_TRUE(xdotool({"key", "alt+F4"}));
    ASSERT_TRUE(test::waitUntil([&] { return !plain.isVisible(); }, waitMs));

    OnboardingWindowController controller;
    int finishes = 0;
    controller.onFinish = [&finishes] { ++finishes; };
    ASSERT_TRUE(showAndFocus(controller.window()));
    ASSERT_TRUE(xdotool({"key", "alt+F4"}));
    QTest::qWait(500);
    EXPECT_TRUE(controller.window()->isVisible());
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
    EXPECT_TRUE(drag(window, [&] { return serverPosition(window) + spot; }, offset, start + offset));
    EXPECT_TRUE(test::waitUntil([&] { return window->pos() == start + offset; }, waitMs))
        << "the window is at " << window->pos().x() << "," << window->pos().y();

    const QPoint dropped = window->pos();
    PlainButton* next = controller.view()->continueButton();
    EXPECT_FALSE(drag(next, [&] { return serverPosition(window) + next->mapTo(window, next->rect().center()); }, offset,
        dropped + offset));
    EXPECT_EQ(serverPosition(window), dropped);
    EXPECT_EQ(window->pos(), dropped);
}

} // namespace
} // namespace norvelle
