// Sharing a sticky's text on a real X server: the share button, the menu entry and "Copy" are
// clicked with xdotool, and xclip pastes what was copied.
#include "sticky/KeyablePanel.h"
#include "sticky/ShareAnchorButton.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyShareMenu.h"
#include "sticky/StickyWindowController.h"
#include "platform/ShareSheet.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void clickAt(QPoint target)
{
    test::runProgram("xdotool", { "mousemove", QString::number(target.x()), QString::number(target.y()) });
    ASSERT_TRUE(test::waitUntil([&] { return QCursor::pos() == target; }, waitMs));
    test::runProgram("xdotool", { "click", "1" });
}

template <typename Menu>
Menu* shownPopup()
{
    Menu* menu = nullptr;
    test::waitUntil([&] {
        menu = qobject_cast<Menu*>(QApplication::activePopupWidget());
        return menu && menu->isVisible();
    }, waitMs);
    return menu;
}

void clickEntry(QMenu* menu, QAction* action)
{
    ASSERT_TRUE(menu && action);
    clickAt(menu->mapToGlobal(menu->actionGeometry(action).center()));
}

} // namespace

TEST(StickyShareX11, SharedTextCopiedFromTheMenuIsWhatAnotherProgramPastes)
{
    test::runProgram("xclip", { "-selection", "clipboard", "-i" }, "something older");
    PersistenceController store { true };
    auto note = StickyNote::insert(store.viewContext());
    note->setId(QUuid::createUuid());
    note->setPlainText("Weekend\npack the tent\nbuy matches");
    store.viewContext().save();
    StickyWindowController controller;
    controller.stickyID = note->objectID().uriString();
    controller.initWithNote(note);
    controller.panel()->move(300, 200);
    controller.showWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(controller.panel()));

    const QWidget* button = controller.contentView()->headerBar().shareButton();
    clickAt(button->mapToGlobal(button->rect().center()));
    auto* menu = shownPopup<StickyShareMenu>();
    ASSERT_TRUE(menu);
    clickEntry(menu, menu->action("Share Note Text"));
    auto* sheet = shownPopup<ShareSheet>();
    ASSERT_TRUE(sheet);
    clickEntry(sheet, sheet->copyAction());
    EXPECT_EQ(test::runProgram("xclip", { "-o", "-selection", "clipboard" }), "Weekend\n\npack the tent\nbuy matches");
}
