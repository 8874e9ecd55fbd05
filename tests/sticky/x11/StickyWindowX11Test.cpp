// A sticky window on a real X server with a window manager: where it lands and how it floats.
#include "sticky/StickyControllerTable.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/TestHome.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

// What the window manager says of a window, through xprop as another program sees it.
QString windowProperty(WId window, const QString& property)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), { QStringLiteral("-id"), QString::number(window), property });
    xprop.waitForFinished(waitMs);
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

class StickyWindowX11Test : public testing::Test {
protected:
    PersistenceController store { true };
    StickyControllerTable table;

    KeyablePanel* open(QPoint pointer)
    {
        EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), { QStringLiteral("mousemove"), QString::number(pointer.x()),
                                                                  QString::number(pointer.y()) }), 0);
        EXPECT_TRUE(test::waitUntil([&] { return QCursor::pos() == pointer; }, waitMs));
        auto note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setPlainText("floating");
        store.viewContext().save();
        table.openSticky(*note);
        return table.controller(note->objectID().uriString())->panel();
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
    }, waitMs)) << window->frameGeometry().bottom() + 1 - pointer.y();
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
    }, waitMs)) << frame().x() << "," << frame().y() << " " << frame().width() << "x" << frame().height();
}
