#include "app/AppDelegateFixture.h"

#include "clipboard/ClipStripList.h"
#include "platform/Popover.h"
#include "platform/StatusItem.h"
#include "platform/UserDefaults.h"

#include <QElapsedTimer>
#include <QTest>

using namespace norvelle;
using test::AppDelegateTest;

namespace {

const RunningApplication editor(0x400001, 4242, "Editor");
const RunningApplication terminal(0x500001, 4343, "Terminal");

ClipEntry clip(const QString& text)
{
    return {QUuid::createUuid(), text, std::nullopt, std::nullopt, "Editor", QDateTime::currentDateTimeUtc()};
}

class PasteTest : public AppDelegateTest {
protected:
    PasteTest()
    {
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
    }
};

} // namespace

TEST_F(PasteTest, OpeningTheStripRemembersTheFrontmostOtherProgram)
{
    AppDelegate& app = launch();
    frontmost = editor;
    app.toggleClipboardStrip();
    EXPECT_TRUE(app.clipboardPopover()->isShown());
    EXPECT_EQ(app.pasteTargetApp(), editor);

    // Closing does not look at the frontmost program.
    frontmost = terminal;
    app.toggleClipboardStrip();
    EXPECT_FALSE(app.clipboardPopover()->isShown());
    EXPECT_EQ(app.pasteTargetApp(), editor);

    // Nobody in front: the last target stays.
    frontmost.reset();
    app.toggleClipboardStrip();
    EXPECT_EQ(app.pasteTargetApp(), editor);
}

TEST_F(PasteTest, PastingCopiesClosesActivatesAndTypesAfterADelay)
{
    AppDelegate& app = launch();
    frontmost = editor;
    app.toggleClipboardStrip();

    QElapsedTimer sincePick;
    qint64 keystrokeAfterMs = -1;
    keystrokes.onPaste = [&] { keystrokeAfterMs = sincePick.elapsed(); };
    sincePick.start();
    app.pasteClip(clip("pasted text"));

    EXPECT_EQ(pasteboard.string(), "pasted text");
    EXPECT_FALSE(app.clipboardPopover()->isShown());
    EXPECT_EQ(activated, QList<RunningApplication> {editor});
    EXPECT_EQ(keystrokes.pastes, 0);
    ASSERT_TRUE(test::waitUntil([&] { return keystrokes.pastes == 1; }, 5000));
    EXPECT_GE(keystrokeAfterMs, 140);
    EXPECT_EQ(keystrokes.prompts, 0);

    // Our own write is not a new clip.
    app.clipboardMonitor().poll();
    EXPECT_TRUE(app.clipboardMonitor().items().isEmpty());
}

TEST_F(PasteTest, WithoutKeystrokesTheFirstPickPromptsOnceAndNothingIsTyped)
{
    keystrokes.trusted = false;
    AppDelegate& app = launch();
    app.pasteClip(clip("one"));
    app.pasteClip(clip("two"));
    EXPECT_EQ(keystrokes.prompts, 1);
    EXPECT_EQ(pasteboard.string(), "two");
    nextTurn();
    EXPECT_FALSE(test::waitUntil([&] { return keystrokes.pastes > 0; }, 400));
    EXPECT_TRUE(activated.isEmpty());
}

TEST_F(PasteTest, TheClipStripPastesTheClickedClip)
{
    AppDelegate& app = launch();
    pasteboard.setText("from the list");
    app.clipboardMonitor().poll();
    app.toggleClipboardStrip();
    auto* list = app.clipboardPopover()->findChild<ClipStripList*>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->entries().size(), 1);
    pasteboard.setText("something else");
    QTest::mouseClick(list, Qt::LeftButton, {}, list->itemRect(0).center());
    EXPECT_EQ(pasteboard.string(), "from the list");
    EXPECT_FALSE(app.clipboardPopover()->isShown());
}
