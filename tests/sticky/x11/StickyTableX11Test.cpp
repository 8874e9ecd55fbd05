// A table made and filled in a sticky window on a real X server: the pill's table button is
// clicked and the cell typed into with xdotool; then the program started again over the note.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/UserDefaults.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyControllerTable.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <QTextDocument>
#include <QUuid>

#include <gtest/gtest.h>

#include <csignal>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void clickOn(const QWidget* widget)
{
    const QPoint centre = widget->mapToGlobal(widget->rect().center());
    ASSERT_TRUE(test::xdotool({"mousemove", "--sync", QString::number(centre.x()), QString::number(centre.y()), "click", "1"}));
}

// A new note's window with the keyboard, and a table put in by the pill's button.
void openNoteWithNewTable(PersistenceController& store, StickyControllerTable& table, StickyWindowController*& controller)
{
    auto note = StickyNote::insert(store.viewContext());
    note->setId(QUuid::createUuid());
    note->setTitle("Untitled");
    store.viewContext().save();
    table.openSticky(*note);
    controller = table.controller(note->objectID().uriString());
    ASSERT_TRUE(controller && QTest::qWaitForWindowExposed(controller->panel()));
    ASSERT_TRUE(test::xdotool({"windowactivate", "--sync", QString::number(controller->panel()->winId())}));
    clickOn(controller->toolbarPill()->findChild<QAbstractButton*>("table"));
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText().count(u'\n') == 5; }, waitMs));
}

} // namespace

TEST(StickyTableX11, AWordTypedIntoANewCellStandsAloneLevelWithItsNeighbour)
{
    PersistenceController store {true};
    StickyControllerTable table;
    StickyWindowController* controller = nullptr;
    ASSERT_NO_FATAL_FAILURE(openNoteWithNewTable(store, table, controller));
    const std::shared_ptr<StickyNote> note = controller->note();

    // A note that begins with an empty table has no title: its window is "Untitled".
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

TEST(StickyTableX11, ANoteHoldingOnlyATableKeepsItsPlaceholdersOutOfItsTitleOnceStartedAgain)
{
    {
        PersistenceController store;
        StickyControllerTable table;
        StickyWindowController* controller = nullptr;
        ASSERT_NO_FATAL_FAILURE(openNoteWithNewTable(store, table, controller));
        EXPECT_EQ(controller->note()->title(), "");
    }

    const auto stored = [] {
        PersistenceController store;
        const auto notes = store.viewContext().fetch(StickyNote::fetchRequest());
        return notes.size() == 1 ? std::pair(notes.front()->title(), notes.front()->plainText()) : std::pair(QString(), QString());
    };

    // The program started again over the same store, then quit: its launch fills in the title.
    UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    UserDefaults::standard().synchronize();
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(QCoreApplication::applicationDirPath() + "/../norvelle", {});
    ASSERT_TRUE(program.waitForStarted(waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return !stored().first.isEmpty(); }, waitMs));
    ::kill(pid_t(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(waitMs));

    const auto [title, plainText] = stored();
    EXPECT_FALSE(title.contains(QChar(0x200B))) << title.toStdString();
    EXPECT_EQ(plainText.count(u'\n'), 5) << "the table is still there";
}
