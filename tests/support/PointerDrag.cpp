#include "support/PointerDrag.h"

#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QCursor>
#include <QProcess>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace norvelle::test {

namespace {

constexpr int waitMs = 20000;

// Counts the presses a window receives, so a drag goes on only once its press has landed.
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

} // namespace

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QString xdotoolOutput(const QStringList& arguments)
{
    return QString::fromUtf8(runProgram(QStringLiteral("xdotool"), arguments)).trimmed();
}

void clickAt(QPoint point)
{
    movePointer(point);
    xdotool({"click", "1"});
}

void clickOn(const QWidget* widget)
{
    clickAt(widget->mapToGlobal(widget->rect().center()));
}

void movePointer(QPoint to)
{
    // xdotool's --sync waits for a motion, which a move to where the pointer already is never
    // brings: it would sit out its 15 s timeout.
    const QStringList position {QString::number(to.x()), QString::number(to.y())};
    if (QCursor::pos() == to)
        xdotool(QStringList {"mousemove"} + position);
    else
        xdotool(QStringList {"mousemove", "--sync"} + position);
}

void quickClickThenClickElsewhere(QPoint at, QPoint elsewhere)
{
    movePointer(at);
    QTest::qWait(100);
    xdotool({"click", "1"});
    QTest::qWait(300);
    movePointer(elsewhere);
    xdotool({"click", "1"});
    QTest::qWait(300);
}

QRect serverGeometry(const QWidget* window)
{
    // xwininfo's absolute corner: xdotool counts a window manager's frame offset twice.
    QProcess query;
    query.start(QStringLiteral("xwininfo"), {"-id", QString::number(window->winId())});
    query.waitForFinished(waitMs);
    QRect geometry(-1, -1, 0, 0);
    for (const QByteArray& line : query.readAllStandardOutput().split('\n')) {
        const QByteArray field = line.trimmed();
        const int value = field.mid(field.indexOf(':') + 1).trimmed().toInt();
        if (field.startsWith("Absolute upper-left X:")) {
            geometry.moveLeft(value);
        } else if (field.startsWith("Absolute upper-left Y:")) {
            geometry.moveTop(value);
        } else if (field.startsWith("Width:")) {
            geometry.setWidth(value);
        } else if (field.startsWith("Height:")) {
            geometry.setHeight(value);
        }
    }
    return geometry;
}

QRect serverFrame(const QWidget* window)
{
    const QByteArray extents
        = runProgram(QStringLiteral("xprop"), {"-id", QString::number(window->winId()), "_NET_FRAME_EXTENTS"});
    const QList<QByteArray> sides = extents.mid(extents.indexOf('=') + 1).split(',');
    if (!extents.contains('=') || sides.size() != 4) {
        return {};
    }
    const auto side = [&sides](int index) { return sides[index].trimmed().toInt(); };
    return serverGeometry(window).adjusted(-side(0), -side(2), side(1), side(3));
}

QPoint serverPosition(const QWidget* window)
{
    return serverGeometry(window).topLeft();
}

bool waitUntilPlaced(const QWidget* window)
{
    return waitUntil([window] {
        return window->frameGeometry() != window->geometry() && serverPosition(window) == window->geometry().topLeft();
    },
        waitMs);
}

bool pressOn(QWidget* target, const std::function<QPoint()>& where)
{
    // Watched on the window: a press that starts a resize never reaches the widget under it.
    QWindow* window = target->window()->windowHandle();
    PressCounter counter;
    window->installEventFilter(&counter);
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
        waitUntil([&counter] { return counter.presses > 0; }, 3000);
    }
    window->removeEventFilter(&counter);
    return counter.presses > 0;
}

bool drag(QWidget* pressed, const std::function<QPoint()>& where, QPoint offset, const std::function<bool()>& arrived)
{
    if (!pressOn(pressed, where)) {
        xdotool({"mouseup", "1"});
        return false;
    }
    const QPoint from = where();
    for (int step = 1; step <= 10; ++step) {
        movePointer(from + offset * step / 10);
        QTest::qWait(20);
    }
    bool done = waitUntil(arrived, 300);
    for (int nudge = 0; !done && nudge < 8; ++nudge) {
        movePointer(from + offset + QPoint(1, 1));
        movePointer(from + offset);
        done = waitUntil(arrived, 300);
    }
    xdotool({"mouseup", "1"});
    return done;
}

} // namespace norvelle::test
