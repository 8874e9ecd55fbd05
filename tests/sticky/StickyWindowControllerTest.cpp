#include "platform/UserDefaults.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyWindow.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/FakeAppDelegating.h"
#include "support/LogCapture.h"
#include "support/TestHome.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

class StickyWindowControllerTest : public testing::Test {
protected:
    PersistenceController store { true };
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
};

} // namespace

TEST_F(StickyWindowControllerTest, ShowsTheNoteInAFloatingToolWindow)
{
    const auto note = savedNote("Call Ana\nabout Friday");
    const auto controller = controllerFor(note);
    StickyWindow* window = controller->stickyWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(window->editor().toPlainText(), "Call Ana\nabout Friday");
    EXPECT_EQ(window->size(), QSize(280, 340));
    EXPECT_EQ(window->editor().palette().color(QPalette::Base), QColor("#FDFDF8"));
    EXPECT_FALSE(controller->hasLoadedSavedFrame());
    // Filling the window is no edit.
    EXPECT_EQ(note->version(), 3);
}

TEST_F(StickyWindowControllerTest, DarkPaperGetsLightInkAndUnreadablePaperTheDefault)
{
    const auto dark = savedNote("night");
    dark->setPaperColor("#2C2C2E");
    const auto darkController = controllerFor(dark);
    const QPalette darkPalette = darkController->stickyWindow()->editor().palette();
    EXPECT_EQ(darkPalette.color(QPalette::Base), QColor("#2C2C2E"));
    EXPECT_GT(darkPalette.color(QPalette::Text).lightnessF(), 0.5);

    const auto odd = savedNote("odd");
    odd->setPaperColor("not a colour");
    const QPalette oddPalette = controllerFor(odd)->stickyWindow()->editor().palette();
    EXPECT_EQ(oddPalette.color(QPalette::Base), QColor("#FDFDF8"));
    EXPECT_LT(oddPalette.color(QPalette::Text).lightnessF(), 0.5);
}

TEST_F(StickyWindowControllerTest, RestoresAUsableSavedFrame)
{
    const QRect area = screenArea();
    const QRect frame(area.x() + 30, area.y() + 40, 300, 310);
    const auto controller = controllerFor(savedNote(""), StickyFrameString::format(frame));
    EXPECT_TRUE(controller->hasLoadedSavedFrame());
    EXPECT_EQ(controller->stickyWindow()->pos(), frame.topLeft());
    EXPECT_EQ(controller->stickyWindow()->size(), frame.size());
}

TEST_F(StickyWindowControllerTest, UnusableSavedFramesLeaveThePlacingToTheCaller)
{
    for (const char* text : { "{{10, 10}, {0, 340}}", "{{10, 10}, {280, 0}}", "not a frame", "" }) {
        const auto controller = controllerFor(savedNote(""), QString::fromUtf8(text));
        EXPECT_FALSE(controller->hasLoadedSavedFrame()) << text;
        EXPECT_EQ(controller->stickyWindow()->size(), QSize(280, 340)) << text;
    }

    // Off every screen: not applied, but its size is kept for the new place.
    const QRect area = screenArea();
    const QRect away(area.right() + 5000, area.y(), 320, 360);
    const auto controller = controllerFor(savedNote(""), StickyFrameString::format(away));
    EXPECT_FALSE(controller->hasLoadedSavedFrame());
    EXPECT_EQ(controller->stickyWindow()->size(), QSize(320, 360));
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

TEST_F(StickyWindowControllerTest, EveryEditIsSavedAsALocalChangeAndHandedToSync)
{
    test::LogCapture log;
    const auto note = savedNote("old");
    const auto controller = controllerFor(note);
    const QDateTime before = QDateTime::currentDateTimeUtc();

    QPlainTextEdit& editor = controller->stickyWindow()->editor();
    editor.setPlainText("\n  Plans for May  \nbuy seeds");
    EXPECT_EQ(note->version(), 4);
    EXPECT_EQ(note->plainText(), "\n  Plans for May  \nbuy seeds");
    EXPECT_EQ(note->title(), "Plans for May");
    EXPECT_EQ(note->updatedBy(), "local-device");
    EXPECT_GE(note->updatedAt(), before);
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(controller->stickyWindow()->windowTitle(), "Plans for May");

    editor.appendPlainText(QString(8001, u'x'));
    EXPECT_EQ(note->version(), 5);
    EXPECT_TRUE(test::waitUntil([&] {
        const QString all = log.messages().join('\n');
        return all.contains("event=large_note_detected") && all.contains("event=sync_enqueued");
    }, 5000));
}

TEST_F(StickyWindowControllerTest, ClosingMarksTheNoteClosedSavesTheFrameAndLeavesTheTable)
{
    test::FakeAppDelegating app;
    const auto note = savedNote("text");
    const auto controller = controllerFor(note);
    const QString key = controller->stickyID;
    app.openWindows = { key };
    controller->showWindow();
    const QRect area = screenArea();
    controller->stickyWindow()->move(area.x() + 20, area.y() + 30);

    controller->stickyWindow()->close();
    EXPECT_FALSE(note->isWindowOpen());
    EXPECT_FALSE(context.hasChanges());
    EXPECT_EQ(app.calls, QStringList({ "forgetStickyWindow:" + key }));
    const auto saved = StickyFrameString::parse(*UserDefaults::standard().string(StickyWindowController::frameKey(key)));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->topLeft(), QPoint(area.x() + 20, area.y() + 30));
    EXPECT_EQ(saved->size(), QSize(280, 340));
}

TEST_F(StickyWindowControllerTest, AMoveJustBeforeTheProcessEndsIsStillSaved)
{
    const auto note = savedNote("text");
    auto controller = controllerFor(note);
    const QString key = controller->stickyID;
    controller->showWindow();
    const QRect area = screenArea();
    controller->stickyWindow()->move(area.x() + 50, area.y() + 60);

    // The table deletes its open controllers this way when the delegate goes at quit.
    controller.reset();
    const std::optional<QString> stored = UserDefaults::standard().string(StickyWindowController::frameKey(key));
    ASSERT_TRUE(stored);
    const auto saved = StickyFrameString::parse(*stored);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->topLeft(), QPoint(area.x() + 50, area.y() + 60));
}
