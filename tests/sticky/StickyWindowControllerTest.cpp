#include "sticky/StickyWindowController.h"
#include "editor/EditorFonts.h"
#include "editor/RichTextEditor.h"
#include "editor/StickyTextView.h"
#include "platform/UserDefaults.h"
#include "sticky/HeaderSymbolButton.h"
#include "sticky/KeyablePanel.h"
#include "sticky/StickyContentView.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyHeaderBar.h"
#include "sticky/StickyNoteActions.h"
#include "sticky/StickyState.h"
#include "sticky/StickyToolbarPill.h"
#include "store/NoteTitle.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/FakeAppDelegating.h"
#include "support/LogCapture.h"
#include "support/TestHome.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimeZone>
#include <QUuid>

#include <gtest/gtest.h>

#include <limits>

using namespace norvelle;

namespace {

class StickyWindowControllerTest : public testing::Test {
protected:
    PersistenceController store {true};
    ObjectContext& context = store.viewContext();

    std::shared_ptr<StickyNote> savedNote(const QString& text)
    {
        auto note = StickyNote::insert(context);
        note->setId(QUuid::createUuid());
        note->setPlainText(text);
        note->setVersion(3);
        note->setIsWindowOpen(true);
        EXPECT_FALSE(context.save().has_value());
        return note;
    }

    std::unique_ptr<StickyWindowController> controllerFor(const std::shared_ptr<StickyNote>& note,
        const std::optional<QString>& storedFrame = std::nullopt)
    {
        const QString key = note->objectID().uriString();
        if (storedFrame) {
            UserDefaults::standard().set(StickyWindowController::frameKey(key), *storedFrame);
        }
        auto controller = std::make_unique<StickyWindowController>();
        controller->stickyID = key;
        controller->initWithNote(note);
        return controller;
    }

    static QRect screenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    int eventCount(const test::LogCapture& log, const QString& event)
    {
        return int(log.messages().filter("event=" + event + " ").size());
    }
};

} // namespace

TEST_F(StickyWindowControllerTest, OpensAFramelessFloatingPanelWithTheNotesLook)
{
    const auto note = savedNote("Call Ana\nabout Friday");
    note->setPaperColor("#14532D");
    note->setTextureName("grid");
    note->setOpacity(0.5);
    note->setIsPinned(true);
    context.save();
    const auto controller = controllerFor(note);
    KeyablePanel* panel = controller->panel();
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(panel->size(), QSize(280, 340));
    EXPECT_EQ(panel->minimumSize(), QSize(240, 280));
    EXPECT_EQ(controller->editor()->textView().toPlainText(), "Call Ana\nabout Friday");

    const StickyState& state = controller->stickyState();
    EXPECT_EQ(state.paperHex(), "#14532D");
    EXPECT_EQ(state.textureName(), "grid");
    EXPECT_EQ(state.opacity(), 0.5);
    EXPECT_TRUE(state.isDark());
    EXPECT_TRUE(state.isPinned());
    EXPECT_FALSE(state.followsSystemTheme());
    EXPECT_FALSE(controller->hasLoadedSavedFrame());
    // Filling the window is no edit, and the look is not written back.
    EXPECT_EQ(note->version(), 3);
    EXPECT_FALSE(context.hasChanges());
}

TEST_F(StickyWindowControllerTest, MissingOrBadLookValuesOpenOnTheDefaults)
{
    const auto bare = savedNote("");
    const auto controller = controllerFor(bare);
    EXPECT_EQ(controller->stickyState().paperHex(), "#FDFDF8");
    EXPECT_EQ(controller->stickyState().textureName(), "lined");
    EXPECT_EQ(controller->stickyState().opacity(), 1.0);
    EXPECT_TRUE(controller->stickyState().followsSystemTheme());

    for (const double stored : {0.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        const auto note = savedNote("");
        note->setOpacity(stored);
        EXPECT_EQ(controllerFor(note)->stickyState().opacity(), 1.0) << stored;
    }
    for (const double stored : {0.16, -0.5, 3.0}) {
        const auto note = savedNote("");
        note->setOpacity(stored);
        EXPECT_EQ(controllerFor(note)->stickyState().opacity(), stored);
    }

    const auto odd = savedNote("odd");
    odd->setPaperColor("not a colour");
    const auto oddController = controllerFor(odd);
    EXPECT_FALSE(oddController->stickyState().isDark());
    EXPECT_FALSE(oddController->stickyState().followsSystemTheme());
    // Unreadable paper is drawn white with black ink.
    EXPECT_EQ(oddController->editor()->textColor(), QColor(Qt::black));
}

TEST_F(StickyWindowControllerTest, FollowsTheThemeByStoredChoiceElseByThemePaper)
{
    const auto dark = savedNote("");
    dark->setPaperColor("#2c2c2e");
    EXPECT_TRUE(controllerFor(dark)->stickyState().followsSystemTheme());

    const auto chosen = savedNote("");
    chosen->setPaperColor("#FDFDF8");
    UserDefaults::standard().set(StickyWindowController::followThemeKey(chosen->objectID().uriString()), false);
    EXPECT_FALSE(controllerFor(chosen)->stickyState().followsSystemTheme());

    const auto green = savedNote("");
    green->setPaperColor("#14532D");
    UserDefaults::standard().set(StickyWindowController::followThemeKey(green->objectID().uriString()), true);
    const auto controller = controllerFor(green);
    EXPECT_TRUE(controller->stickyState().followsSystemTheme());
    // Following the theme shows its paper, not the stored one.
    EXPECT_NE(controller->contentView()->effectivePaperHex(), "#14532D");
}

TEST_F(StickyWindowControllerTest, RestoresAUsableSavedFrame)
{
    const QRect area = screenArea();
    const QRect frame(area.x() + 30, area.y() + 40, 300, 310);
    const auto controller = controllerFor(savedNote(""), StickyFrameString::format(frame));
    EXPECT_TRUE(controller->hasLoadedSavedFrame());
    EXPECT_EQ(controller->panel()->pos(), frame.topLeft());
    EXPECT_EQ(controller->panel()->size(), frame.size());
}

TEST_F(StickyWindowControllerTest, UnusableSavedFramesLeaveThePlacingToTheCaller)
{
    for (const char* text : {"{{10, 10}, {0, 340}}", "{{10, 10}, {280, 0}}", "not a frame", "", "{{nan, 1}, {2, 3}}"}) {
        const auto controller = controllerFor(savedNote(""), QString::fromUtf8(text));
        EXPECT_FALSE(controller->hasLoadedSavedFrame()) << text;
        EXPECT_EQ(controller->panel()->size(), QSize(280, 340)) << text;
    }
}

TEST_F(StickyWindowControllerTest, AFrameOffEveryScreenComesBackOnTheScreenWithItsSize)
{
    const QRect area = screenArea();
    const QRect away(area.right() + 5000, area.y(), 320, 360);
    const auto controller = controllerFor(savedNote(""), StickyFrameString::format(away));
    EXPECT_TRUE(controller->hasLoadedSavedFrame());
    EXPECT_EQ(controller->panel()->size(), QSize(320, 360));
    EXPECT_TRUE(area.contains(controller->panel()->geometry()));
}

TEST_F(StickyWindowControllerTest, WithoutAStickyIDNoFrameIsReadOrWritten)
{
    UserDefaults::standard().set(StickyWindowController::frameKey(""), "{{1, 2}, {300, 300}}");
    StickyWindowController controller;
    controller.initWithNote(savedNote(""));
    EXPECT_FALSE(controller.hasLoadedSavedFrame());
    controller.window()->move(50, 60);
    controller.saveFrame();
    EXPECT_EQ(UserDefaults::standard().string(StickyWindowController::frameKey("")), "{{1, 2}, {300, 300}}");
}

TEST_F(StickyWindowControllerTest, MovesAndResizesAreWrittenOnceTheyStop)
{
    const auto controller = controllerFor(savedNote(""));
    const QString key = StickyWindowController::frameKey(controller->stickyID);
    controller->showWindow();
    const QRect area = screenArea();
    controller->panel()->move(area.x() + 11, area.y() + 12);
    controller->panel()->resize(200, 200); // below the minimum
    ASSERT_TRUE(test::waitUntil([&] { return UserDefaults::standard().string(key).has_value(); }));
    const auto saved = StickyFrameString::parse(*UserDefaults::standard().string(key));
    ASSERT_TRUE(saved);
    EXPECT_EQ(*saved, QRect(area.x() + 11, area.y() + 12, 240, 280));
}

TEST_F(StickyWindowControllerTest, EveryEditIsSavedAsALocalChangeAndHandedToSync)
{
    test::LogCapture log;
    const auto note = savedNote("old");
    const auto controller = controllerFor(note);
    const QDateTime before = QDateTime::currentDateTimeUtc();

    // One edit is saved once, body and text together, when the event loop is free.
    controller->editor()->textView().setPlainText("\n  Plans for May  \nbuy seeds\n\n");
    EXPECT_EQ(note->version(), 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(note->version(), 4);
    EXPECT_EQ(note->plainText(), "\n  Plans for May  \nbuy seeds\n\n");
    EXPECT_FALSE(note->content().isEmpty());
    EXPECT_EQ(note->title(), "Plans for May");
    EXPECT_EQ(note->updatedBy(), "local-device");
    EXPECT_GE(note->updatedAt(), before);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(controller->panel()->windowTitle(), "Plans for May");

    controller->editor()->textView().setPlainText(" \t\n");
    QCoreApplication::processEvents();
    EXPECT_EQ(note->title(), "");
    EXPECT_EQ(note->version(), 5);

    controller->editor()->textView().setPlainText(QString(8001, u'x'));
    EXPECT_TRUE(test::waitUntil([&] {
        return eventCount(log, "large_note_detected") == 1 && eventCount(log, "sync_enqueued") >= 1
            && eventCount(log, "note_updated") == 3;
    },
        5000));
    EXPECT_TRUE(log.messages().filter("event=note_updated").last().contains("\"length\": \"8001\""));
}

// A whole first line in the title once crashed the program: the X server refuses a request that long.
TEST_F(StickyWindowControllerTest, ALongFirstLineNamesTheWindowWithItsFirstCharactersOnly)
{
    const QString line = QString(20'000, u'w');
    auto note = savedNote(line);
    note->setTitle(line);
    const auto controller = controllerFor(note);
    const QString shown = QString(NoteTitle::shownCharacters, u'w') + QStringLiteral("\u2026");
    EXPECT_EQ(controller->panel()->windowTitle(), shown);

    controller->editor()->textView().setPlainText(line + QStringLiteral("x\nmore"));
    QCoreApplication::processEvents();
    EXPECT_EQ(note->title().size(), line.size() + 1);
    EXPECT_EQ(controller->panel()->windowTitle(), shown);
}

TEST_F(StickyWindowControllerTest, TypedTextKeepsItsRichBodyAndOldFormattingSurvives)
{
    const auto note = savedNote("first");
    const auto controller = controllerFor(note);
    controller->showWindow();
    StickyTextView& view = controller->editor()->textView();
    view.moveCursor(QTextCursor::End);
    QTest::keyClicks(&view, " line");
    QCoreApplication::processEvents();
    EXPECT_EQ(note->plainText(), "first line");
    const QByteArray body = note->content();
    ASSERT_FALSE(body.isEmpty());
    EXPECT_TRUE(body.startsWith("{\\rtf"));

    // The same note opened again shows its rich body; an unchanged close saves nothing.
    const qint64 version = note->version();
    const auto again = controllerFor(note);
    again->showWindow();
    again->panel()->close();
    EXPECT_EQ(note->version(), version);
    EXPECT_EQ(note->content(), body);
}

TEST_F(StickyWindowControllerTest, TextTypedIntoANewNoteComesBackAtTheSizeItShowedAt)
{
    // The size each character is drawn at, its own or the editor's.
    const auto shownSizes = [](const StickyTextView& view) {
        QList<qreal> sizes;
        const QTextDocument& document = *view.document();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                const qreal size = EditorFonts::size(format).value_or(EditorFonts::size(document.defaultFont()));
                sizes.append(QList<qreal>(it.fragment().length(), size));
            }
        }
        return sizes;
    };
    const auto note = savedNote("");
    const auto controller = controllerFor(note);
    controller->showWindow();
    StickyTextView& view = controller->editor()->textView();
    QTest::keyClicks(&view, "Groceries");
    QTest::keyClick(&view, Qt::Key_Return);
    QTest::keyClicks(&view, "milk and ");
    QTest::keyClick(&view, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClicks(&view, "bread");
    const QList<qreal> typed = shownSizes(view);
    ASSERT_EQ(typed.size(), QStringLiteral("Groceriesmilk and bread").size());
    EXPECT_EQ(typed.count(RichTextEditor::defaultFontSize), typed.size());
    QTest::mouseClick(controller->contentView()->headerBar().closeButton(), Qt::LeftButton);

    const auto again = controllerFor(note);
    again->showWindow();
    EXPECT_EQ(shownSizes(again->editor()->textView()), typed);
}

TEST_F(StickyWindowControllerTest, ClosingSavesAnEditTheEditorHasNotReportedOnce)
{
    const auto note = savedNote("text");
    const auto controller = controllerFor(note);
    controller->showWindow();
    QTextDocument& document = *controller->editor()->textView().document();
    // An edit behind the editor's back, as a pending input method would leave it.
    const QSignalBlocker quiet(&document);
    QTextCursor(&document).insertText("more ");
    const qint64 version = note->version();
    controller->panel()->close();
    EXPECT_EQ(note->version(), version + 1);
    EXPECT_EQ(note->plainText(), "more text");
}

TEST_F(StickyWindowControllerTest, ABodyTheEditorCannotReadWholeIsKeptUntilTheUserEdits)
{
    QByteArray blob;
    for (int n = 0; n < 512; ++n) {
        blob.append(char((n * 7919 + 13) % 256));
    }
    const QByteArray bodies[] = {
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Hello \\b wor",
        blob,
        "{\\rtf1\\ansi Hello{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a}\\par world}",
        "{\\rtf1\\ansi{\\header\\pard Page head\\par}Hello\\par world}",
        "{\\rtf1\\ansi Hello{\\footnote\\pard A note below\\par}\\par world}",
    };
    test::LogCapture log;
    std::vector<std::shared_ptr<StickyNote>> notes;
    const QDateTime updated = QDateTime::fromSecsSinceEpoch(1700000000, QTimeZone::utc());
    for (const QByteArray& body : bodies) {
        const auto note = savedNote("Hello\nworld");
        note->setUpdatedAt(updated);
        note->setContent(body);
        context.save();
        notes.push_back(note);

        // Opened, shown, clicked into and closed: no edit, so nothing is written or pushed.
        auto controller = controllerFor(note);
        controller->showWindow();
        QTest::mouseClick(controller->editor()->textView().viewport(), Qt::LeftButton, {}, QPoint(30, 20));
        QTest::qWait(50);
        controller->panel()->close();
        // The same at quit, with the window still open.
        controller = controllerFor(note);
        controller->showWindow();
        controller.reset();
        EXPECT_EQ(note->content(), body);
        EXPECT_EQ(note->plainText(), "Hello\nworld");
        EXPECT_EQ(note->version(), 3);
        EXPECT_EQ(note->updatedAt(), updated);
    }
    // No save ran, so nothing was handed to sync either.
    EXPECT_EQ(eventCount(log, "note_updated"), 0);

    // A typed letter is an edit: the note is saved as shown.
    for (const auto& note : notes) {
        const auto controller = controllerFor(note);
        controller->showWindow();
        controller->editor()->textView().moveCursor(QTextCursor::End);
        QTest::keyClicks(&controller->editor()->textView(), "s");
        QCoreApplication::processEvents();
        EXPECT_GT(note->version(), 3);
        EXPECT_TRUE(note->plainText().endsWith("s"));
        EXPECT_TRUE(note->content().startsWith("{\\rtf1"));
    }
}

TEST_F(StickyWindowControllerTest, TextureIsStoredAtOnceAndOpacityOnceItStands)
{
    const auto note = savedNote("");
    const auto controller = controllerFor(note);
    StickyState& state = controller->stickyState();

    state.setTextureName("dot");
    EXPECT_EQ(note->textureName(), "dot");
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(note->version(), 3);

    // A drag's steps: none is written while it goes on, only where it stops.
    for (double opacity = 1.0; opacity >= 0.4; opacity -= 0.1) {
        state.setOpacity(opacity);
    }
    EXPECT_EQ(note->opacity(), 1.0);
    ASSERT_TRUE(test::waitUntil([&] { return note->opacity() != 1.0; }, 20000));
    EXPECT_NEAR(note->opacity(), state.opacity(), 1e-9);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(note->version(), 3);
}

TEST_F(StickyWindowControllerTest, PinningIsAVersionedChange)
{
    const auto note = savedNote("");
    const auto controller = controllerFor(note);
    controller->actions().togglePin();
    EXPECT_TRUE(note->isPinned());
    EXPECT_TRUE(controller->stickyState().isPinned());
    controller->actions().togglePin();
    EXPECT_FALSE(note->isPinned());
    EXPECT_EQ(note->version(), 5);
    EXPECT_EQ(note->updatedBy(), "local-device");
}

TEST_F(StickyWindowControllerTest, ClosingMarksTheNoteClosedSavesTheFrameAndLeavesTheTable)
{
    test::FakeAppDelegating app;
    const auto note = savedNote("");
    const auto controller = controllerFor(note);
    const QString key = controller->stickyID;
    app.openWindows = {key};
    controller->showWindow();
    const QRect area = screenArea();
    controller->panel()->move(area.x() + 20, area.y() + 30);

    controller->panel()->close();
    EXPECT_FALSE(note->isWindowOpen());
    EXPECT_FALSE(context.hasChanges());
    // Nothing changed in the editor: no save of the text.
    EXPECT_EQ(note->version(), 3);
    EXPECT_EQ(app.calls, QStringList({"forgetStickyWindow:" + key}));
    const auto saved = StickyFrameString::parse(*UserDefaults::standard().string(StickyWindowController::frameKey(key)));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->topLeft(), QPoint(area.x() + 20, area.y() + 30));
    EXPECT_EQ(saved->size(), QSize(280, 340));
}

TEST_F(StickyWindowControllerTest, ClosingWritesAPendingOpacityAndNothingAfterwards)
{
    const auto note = savedNote("text");
    auto controller = controllerFor(note);
    controller->showWindow();
    controller->stickyState().setOpacity(0.6);
    controller->panel()->close();
    EXPECT_EQ(note->opacity(), 0.6);
    EXPECT_FALSE(note->isWindowOpen());

    controller->stickyState().setOpacity(0.3);
    QTest::qWait(StickyWindowController::opacitySaveDelayMs + 100);
    controller.reset();
    EXPECT_EQ(note->opacity(), 0.6);
    EXPECT_FALSE(note->isWindowOpen());
}

TEST_F(StickyWindowControllerTest, QuittingWithTheWindowOpenKeepsItOpenWithItsLastState)
{
    const auto note = savedNote("text");
    auto controller = controllerFor(note);
    const QString key = controller->stickyID;
    controller->showWindow();
    const QRect area = screenArea();
    controller->panel()->move(area.x() + 50, area.y() + 60);
    controller->stickyState().setOpacity(0.7);

    // The table deletes its open controllers this way when the delegate goes at quit.
    controller.reset();
    EXPECT_TRUE(note->isWindowOpen());
    EXPECT_EQ(note->opacity(), 0.7);
    const std::optional<QString> stored = UserDefaults::standard().string(StickyWindowController::frameKey(key));
    ASSERT_TRUE(stored);
    const auto saved = StickyFrameString::parse(*stored);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->topLeft(), QPoint(area.x() + 50, area.y() + 60));
}

TEST_F(StickyWindowControllerTest, TheHeaderDotsAndStarActOnTheWindowAndNote)
{
    test::FakeAppDelegating app;
    const auto note = savedNote("text");
    const auto controller = controllerFor(note);
    controller->showWindow();
    StickyContentView* content = controller->contentView();
    // Header, editor and the toolbar's place stack down the whole window.
    EXPECT_EQ(content->headerBar().geometry(), QRect(0, 0, 280, 36));
    EXPECT_EQ(controller->editor()->geometry(), QRect(0, 36, 280, 340 - 36 - 52));
    EXPECT_EQ(controller->toolbarPill()->parentWidget()->geometry(), QRect(0, 340 - 52, 280, 52));

    QTest::mouseClick(content->headerBar().pinButton(), Qt::LeftButton);
    EXPECT_TRUE(note->isPinned());
    QTest::mouseClick(content->headerBar().closeButton(), Qt::LeftButton);
    EXPECT_FALSE(controller->panel()->isVisible());
    EXPECT_FALSE(note->isWindowOpen());
    EXPECT_EQ(app.calls, QStringList({"forgetStickyWindow:" + controller->stickyID}));
}
