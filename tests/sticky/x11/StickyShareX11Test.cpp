// Sharing a sticky's text on a real X server: the share button, the menu entry and "Copy" are
// clicked with xdotool, and xclip pastes what was copied.
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/ShareSheet.h"
#include "sticky/KeyablePanel.h"
#include "sticky/ShareAnchorButton.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyShareMenu.h"
#include "sticky/StickySharing.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void clickAt(QPoint target)
{
    test::runProgram("xdotool", {"mousemove", QString::number(target.x()), QString::number(target.y())});
    ASSERT_TRUE(test::waitUntil([&] { return QCursor::pos() == target; }, waitMs));
    test::runProgram("xdotool", {"click", "1"});
}

template <typename Menu>
Menu* shownPopup()
{
    Menu* menu = nullptr;
    test::waitUntil([&] {
        menu = qobject_cast<Menu*>(QApplication::activePopupWidget());
        return menu && menu->isVisible();
    },
        waitMs);
    return menu;
}

void clickEntry(QMenu* menu, QAction* action)
{
    ASSERT_TRUE(menu && action);
    clickAt(menu->mapToGlobal(menu->actionGeometry(action).center()));
}

// Share button, "Share Note Text", then "Copy", as the user clicks them.
void copySharedText(StickyWindowController& controller)
{
    const QWidget* button = controller.contentView()->headerBar().shareButton();
    clickAt(button->mapToGlobal(button->rect().center()));
    auto* menu = shownPopup<StickyShareMenu>();
    ASSERT_TRUE(menu);
    clickEntry(menu, menu->action("Share Note Text"));
    auto* sheet = shownPopup<ShareSheet>();
    ASSERT_TRUE(sheet);
    clickEntry(sheet, sheet->copyAction());
}

// A note with `text` in its window at a known place, the clipboard holding something older.
class StickyShareX11 : public testing::Test {
protected:
    void open(const QString& text)
    {
        test::runProgram("xclip", {"-selection", "clipboard", "-i"}, "something older");
        note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setPlainText(text);
        store.viewContext().save();
        controller.stickyID = note->objectID().uriString();
        controller.initWithNote(note);
        controller.panel()->move(300, 200);
        controller.showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(controller.panel()));
    }

    PersistenceController store {true};
    std::shared_ptr<StickyNote> note;
    StickyWindowController controller;
};

} // namespace

TEST_F(StickyShareX11, SharedTextCopiedFromTheMenuIsWhatAnotherProgramPastes)
{
    open("Weekend\npack the tent\nbuy matches");

    copySharedText(controller);
    EXPECT_EQ(test::runProgram("xclip", {"-o", "-selection", "clipboard"}), "Weekend\n\npack the tent\nbuy matches");
}

TEST_F(StickyShareX11, ACheckedListIsSharedAndStoredWithItsMarkers)
{
    open(QStringLiteral("Packing\n\u25CB tent\n\u25CB matches"));

    // The user ticks the first box with the pointer.
    StickyTextView& view = controller.editor()->textView();
    QTextCursor box(view.document());
    box.setPosition(8);
    clickAt(view.viewport()->mapToGlobal(view.cursorRect(box).center() + QPoint(4, 0)));
    const QString expected = QStringLiteral("Packing\n\u25CF tent\n\u25CB matches");
    ASSERT_TRUE(test::waitUntil([&] { return note->plainText() == expected; }, waitMs)) << note->plainText().toStdString();

    copySharedText(controller);
    EXPECT_EQ(QString::fromUtf8(test::runProgram("xclip", {"-o", "-selection", "clipboard"})),
        QStringLiteral("Packing\n\n\u25CF tent\n\u25CB matches"));

    // The shared rich-text document holds the markers as the characters they are.
    const QList<ShareItem> items = controller.sharing().shareItems(ShareKind::richText);
    ASSERT_EQ(items.size(), 1);
    QFile rtf(QDir(std::get<QUrl>(items.front()).toLocalFile()).filePath("TXT.rtf"));
    ASSERT_TRUE(rtf.open(QIODevice::ReadOnly));
    const QByteArray written = rtf.readAll();
    EXPECT_TRUE(written.contains("\\u9679?")) << written.toStdString();
    EXPECT_TRUE(written.contains("\\u9675?"));
    EXPECT_FALSE(written.contains("\\u-4?"));
}
