// A sticky window on a real X server with a window manager: where it lands, how it floats and
// how the real pointer moves and resizes it.
#include "platform/ColorPanel.h"
#include "platform/Popover.h"
#include "platform/UserDefaults.h"
#include "sticky/CustomColorDisclosure.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyControllerTable.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QUuid>
#include <QWindow>

#include <gtest/gtest.h>

using namespace norvelle;
using test::clickAt;
using test::clickOn;

namespace {

constexpr int waitMs = 20000;

// What the window manager says of a window, through xprop as another program sees it.
QString windowProperty(WId window, const QString& property)
{
    QProcess xprop;
    const QStringList target = window ? QStringList {QStringLiteral("-id"), QString::number(window)} : QStringList {QStringLiteral("-root")};
    xprop.start(QStringLiteral("xprop"), target + QStringList {property});
    xprop.waitForFinished(waitMs);
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

// The program's windows from the bottom of the window manager's stack to its top.
QList<WId> stackingOrder()
{
    QList<WId> windows;
    const QString listed = windowProperty(0, QStringLiteral("_NET_CLIENT_LIST_STACKING")).section(u'#', 1);
    for (const QString& id : listed.split(u',', Qt::SkipEmptyParts))
        windows.append(WId(id.trimmed().toULongLong(nullptr, 16)));
    return windows;
}

class StickyWindowX11Test : public testing::Test {
protected:
    PersistenceController store {true};
    StickyControllerTable table;
    StickyWindowController* last = nullptr;

    ~StickyWindowX11Test() override { ColorPanel::shared().close(); }

    // Opens a new note with the pointer at `pointer` and, when given, a frame kept from before.
    KeyablePanel* open(QPoint pointer, std::optional<QRect> storedFrame = std::nullopt)
    {
        EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(pointer.x()), QString::number(pointer.y())}), 0);
        EXPECT_TRUE(test::waitUntil([&] { return QCursor::pos() == pointer; }, waitMs));
        auto note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setPlainText("floating");
        store.viewContext().save();
        if (storedFrame) {
            UserDefaults::standard().set(StickyWindowController::frameKey(note->objectID().uriString()),
                StickyFrameString::format(*storedFrame));
        }
        table.openSticky(*note);
        last = table.controller(note->objectID().uriString());
        return last->panel();
    }

    // Waits until the window shows and the window manager has done placing it.
    static bool settled(KeyablePanel* window)
    {
        QRect last;
        int steady = 0;
        return test::waitUntil([&] {
            const QRect now = test::serverGeometry(window);
            steady = window->isVisible() && now == last ? steady + 1 : 0;
            last = now;
            return steady == 5;
        },
            waitMs);
    }

    // Drags the paper beside the header's dots by `offset` and checks the window went with the
    // pointer, on the server and in Qt's own idea of it.
    static void expectDragMovesBy(KeyablePanel* window, QPoint offset)
    {
        const QPoint spot(100, 12);
        ASSERT_FALSE(qobject_cast<QAbstractButton*>(window->childAt(spot)));
        const QPoint start = test::serverPosition(window);
        EXPECT_TRUE(test::drag(
            window, [&] { return test::serverPosition(window) + spot; }, offset,
            [&] { return test::serverPosition(window) == start + offset; }))
            << "from " << start.x() << "," << start.y() << " the window went to " << test::serverPosition(window).x()
            << "," << test::serverPosition(window).y();
        EXPECT_TRUE(test::waitUntil([&] { return window->pos() == start + offset; }, waitMs))
            << "Qt has the window at " << window->pos().x() << "," << window->pos().y();
    }
};

} // namespace

TEST_F(StickyWindowX11Test, OpensCentredUnderThePointerAboveOtherWindows)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint pointer = area.center();
    KeyablePanel* window = open(pointer);
    // The window manager's frame included, the bottom edge ends 40 points below the pointer.
    ASSERT_TRUE(test::waitUntil([&] {
        const QRect frame = window->frameGeometry();
        return window->isVisible() && frame.bottom() + 1 == pointer.y() + 40;
    },
        waitMs))
        << window->frameGeometry().bottom() + 1 - pointer.y();
    const QRect frame = window->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - pointer.x()), 1);
    EXPECT_TRUE(windowProperty(window->winId(), "_NET_WM_STATE").contains("_NET_WM_STATE_ABOVE"));
}

TEST_F(StickyWindowX11Test, StaysInsideTheScreenNearItsCorner)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    KeyablePanel* window = open(area.bottomRight() - QPoint(1, 1));
    const auto frame = [window] { return window->frameGeometry(); };
    EXPECT_TRUE(test::waitUntil([&] {
        return window->isVisible()
            && frame().right() + 1 == area.right() + 1 - 8 && frame().bottom() + 1 == area.bottom() + 1 - 8;
    },
        waitMs))
        << frame().x() << "," << frame().y() << " " << frame().width() << "x" << frame().height();
}

TEST_F(StickyWindowX11Test, DraggingThePaperMovesTheWindowWithThePointer)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    // Opened fresh, under the pointer.
    KeyablePanel* fresh = open(area.center());
    ASSERT_TRUE(settled(fresh));
    expectDragMovesBy(fresh, QPoint(-150, -90));

    // Reopened where it was left.
    KeyablePanel* kept = open(area.center(), QRect(area.topLeft() + QPoint(60, 50), QSize(300, 360)));
    ASSERT_TRUE(settled(kept));
    EXPECT_EQ(test::serverPosition(kept), area.topLeft() + QPoint(60, 50));
    expectDragMovesBy(kept, QPoint(130, 80));

    // Reopened where it was left hanging off the screen's corner, wherever the window manager
    // lets it show.
    KeyablePanel* hanging = open(area.center(), QRect(area.bottomRight() - QPoint(150, 100), QSize(300, 360)));
    ASSERT_TRUE(settled(hanging));
    expectDragMovesBy(hanging, QPoint(-300, -300));
}

TEST_F(StickyWindowX11Test, AQuickClickOnThePaperLeavesTheWindowWhereItIs)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    KeyablePanel* window = open(area.center(), QRect(area.topLeft() + QPoint(200, 150), QSize(300, 360)));
    ASSERT_TRUE(settled(window));
    const QPoint start = test::serverPosition(window);
    const QPoint spot(100, 12);
    for (int click = 0; click < 3; ++click) {
        test::quickClickThenClickElsewhere(start + spot, start + spot + QPoint(150, 40));
        EXPECT_EQ(test::serverPosition(window), start) << "after click " << click;
    }
    expectDragMovesBy(window, QPoint(-80, 60));

    // The same on the right edge, which resizes.
    const QRect frame = test::serverGeometry(window);
    const QPoint edge(window->width() - 2, window->height() / 2);
    test::quickClickThenClickElsewhere(frame.topLeft() + edge, frame.topLeft() + edge + QPoint(120, 30));
    EXPECT_EQ(test::serverGeometry(window), frame);
}

TEST_F(StickyWindowX11Test, DraggingAnEdgeOrCornerResizesTheWindow)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    KeyablePanel* window = open(area.center(), QRect(area.topLeft() + QPoint(80, 60), QSize(300, 360)));
    ASSERT_TRUE(settled(window));
    // Each drag starts from a point inside the band and inside the rounded paper.
    const auto resize = [window](std::function<QPoint(QSize)> grip, QPoint offset, std::function<QRect(QRect)> expected) {
        const QRect start = test::serverGeometry(window);
        const QRect wanted = expected(start);
        EXPECT_TRUE(test::drag(
            window, [&] { return test::serverPosition(window) + grip(window->size()); }, offset,
            [&] { return test::serverGeometry(window) == wanted; }))
            << "the window is at " << test::serverGeometry(window).x() << "," << test::serverGeometry(window).y() << " "
            << test::serverGeometry(window).width() << "x" << test::serverGeometry(window).height();
        EXPECT_TRUE(test::waitUntil([&] { return window->geometry() == wanted; }, waitMs));
    };
    resize([](QSize size) { return QPoint(size.width() - 2, size.height() / 2); }, QPoint(60, 0),
        [](QRect frame) { return frame.adjusted(0, 0, 60, 0); });
    resize([](QSize size) { return QPoint(size.width() / 2, size.height() - 2); }, QPoint(0, 40),
        [](QRect frame) { return frame.adjusted(0, 0, 0, 40); });
    resize([](QSize size) { return QPoint(size.width() - 6, size.height() - 6); }, QPoint(30, 20),
        [](QRect frame) { return frame.adjusted(0, 0, 30, 20); });
    // The top-left corner grows the window up and left, its far corner staying put.
    resize([](QSize) { return QPoint(5, 5); }, QPoint(-40, -30), [](QRect frame) { return frame.adjusted(-40, -30, 0, 0); });
}

TEST_F(StickyWindowX11Test, TheColourPanelOpenedFromANoteShowsAboveIt)
{
    KeyablePanel* window = open(QGuiApplication::primaryScreen()->availableGeometry().center());
    ASSERT_TRUE(settled(window));
    StickyToolbarPill* pill = last->toolbarPill();
    clickOn(pill->findChild<QAbstractButton*>("colors"));
    ASSERT_TRUE(test::waitUntil([&] { return pill->colorsPopover() && pill->colorsPopover()->isVisible(); }, waitMs));
    const auto find = [pill](const QString& name) { return pill->colorsPopover()->findChild<QPushButton*>(name); };
    auto* disclosure = pill->colorsPopover()->findChild<CustomColorDisclosure*>();
    ASSERT_TRUE(disclosure);
    clickOn(disclosure);
    ASSERT_TRUE(test::waitUntil([&] { return find("pickCustomColor") && find("pickCustomColor")->isVisible(); }, waitMs));
    test::waitUntil([] { return false; }, 300);
    clickOn(find("pickCustomColor"));
    ASSERT_TRUE(test::waitUntil([] {
        const QColorDialog* shown = ColorPanel::shared().dialog();
        return shown && shown->isVisible() && shown->windowHandle()->isExposed();
    },
        waitMs));
    QColorDialog* panel = ColorPanel::shared().dialog();
    EXPECT_TRUE(test::waitUntil([&] {
        const QList<WId> order = stackingOrder();
        return order.contains(window->winId()) && order.indexOf(panel->winId()) > order.indexOf(window->winId());
    },
        waitMs))
        << "the panel is below the note";
}
