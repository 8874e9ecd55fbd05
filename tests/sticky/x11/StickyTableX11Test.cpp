// A table made and filled in a sticky window on a real X server: the pill's table button is
// clicked and the cell typed into with xdotool.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyControllerTable.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QTest>
#include <QTextDocument>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void clickOn(const QWidget* widget)
{
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    ASSERT_TRUE(test::xdotool({"mousemove", "--sync", QString::number(centre.x()), QString::number(centre.y()), "click", "1"}));
}

} // namespace

TEST(StickyTableX11, AWordTypedIntoANewCellStandsAloneLevelWithItsNeighbour)
{
    PersistenceController store { true };
    StickyControllerTable table;
    auto note = StickyNote::insert(store.viewContext());
    note->setId(QUuid::createUuid());
    note->setTitle("Untitled");
    store.viewContext().save();
    table.openSticky(*note);
    StickyWindowController* controller = table.controller(note->objectID().uriString());
    ASSERT_TRUE(controller && QTest::qWaitForWindowExposed(controller->panel()));
    ASSERT_TRUE(test::xdotool({"windowactivate", "--sync", QString::number(controller->panel()->winId())}));

    // A note that begins with an empty table has no title: its window is "Untitled".
    clickOn(controller->toolbarPill()->findChild<QAbstractButton*>("table"));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().count(u'\n') == 5; }, waitMs));
    EXPECT_EQ(note->title(), "");
    EXPECT_EQ(controller->panel()->windowTitle(), "Untitled");

    ASSERT_TRUE(test::xdotool({"type", "--delay", "30", "Supercalifragilistic"}));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().contains("Supercalifragilistic"); }, waitMs));
    const QStringList lines = note->plainText().split(u'\n');
    EXPECT_EQ(lines.value(1), "Supercalifragilistic");
    EXPECT_EQ(lines.value(2), QString(QChar(0x200B)));
    EXPECT_EQ(note->title(), "Supercalifragilistic");
    EXPECT_EQ(controller->panel()->windowTitle(), "Supercalifragilistic");

    // The word starts on the cell's first line, level with the empty cell beside it.
    StickyTextView& view = controller->editor()->textView();
    QTextCursor word(view.document());
    word.setPosition(int(note->plainText().indexOf("Super")) + 1);
    QTextCursor neighbour(view.document());
    neighbour.setPosition(int(lines.value(0).size() + lines.value(1).size()) + 2);
    EXPECT_EQ(view.cursorRect(word).top(), view.cursorRect(neighbour).top());
}
