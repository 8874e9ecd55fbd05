// An open sticky whose note a sync answer changes: the window follows the server's text and
// the user's next keystroke lands where the caret was, on that text.
#include "account/SyncFixture.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyWindowController.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

struct OpenSticky : test::SyncFixture {
    std::shared_ptr<StickyNote> milk = note("Milk", QDateTime::currentDateTimeUtc().addSecs(-60));
    std::unique_ptr<StickyWindowController> controller = [this] {
        auto made = std::make_unique<StickyWindowController>();
        made->initWithNote(milk);
        return made;
    }();

    StickyTextView& view() { return controller->editor()->textView(); }
    void placeCaret(int position)
    {
        QTextCursor cursor = view().textCursor();
        cursor.setPosition(position);
        view().setTextCursor(cursor);
    }
    void takeIn(const QString& text, const QDateTime& at)
    {
        std::optional<bool> saved;
        sync.applySyncResponse({},
            {SyncPOSTResponse::RemoteNoteDTO {milk->objectID().uriString(), 7, text, text, InternetDateTime::format(at)}},
            [&](bool done) { saved = done; });
        ASSERT_TRUE(test::waitUntil([&] { return saved.has_value(); }, 10000));
        ASSERT_TRUE(*saved);
    }
};

} // namespace

TEST(StickySyncedText, TheOpenWindowShowsTheServersTextAndTheNextKeystrokeAddsToIt)
{
    OpenSticky s;
    s.placeCaret(2);
    s.takeIn("Milk and bread", QDateTime::currentDateTimeUtc());

    EXPECT_EQ(s.view().toPlainText(), "Milk and bread");
    EXPECT_EQ(s.controller->panel()->windowTitle(), "Milk and bread");
    EXPECT_EQ(s.view().textCursor().position(), 2);
    QTest::keyClicks(&s.view(), "x");
    QCoreApplication::processEvents();
    EXPECT_EQ(s.milk->plainText(), "Mixlk and bread");
    EXPECT_EQ(s.milk->updatedBy(), "local-device");

    // A shorter text keeps the caret inside it.
    s.placeCaret(15);
    s.takeIn("Tea", QDateTime::currentDateTimeUtc().addSecs(1));
    EXPECT_EQ(s.view().toPlainText(), "Tea");
    EXPECT_EQ(s.view().textCursor().position(), 3);
}

TEST(StickySyncedText, AnAnswerWithTheSameOrOlderTextLeavesTheEditorAsItIs)
{
    OpenSticky s;
    QTest::keyClicks(&s.view(), "!");
    QCoreApplication::processEvents();
    const QTextDocument* document = s.view().document();
    s.placeCaret(3);

    s.takeIn(s.milk->plainText(), s.milk->updatedAt());
    s.takeIn("Milk from before", s.milk->updatedAt().addMSecs(-1));
    EXPECT_EQ(s.view().document(), document);
    EXPECT_EQ(s.view().toPlainText(), s.milk->plainText());
    EXPECT_EQ(s.view().textCursor().position(), 3);
}
