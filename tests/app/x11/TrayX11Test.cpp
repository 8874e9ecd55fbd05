// The tray items as a user meets them: real icons in a real tray (trayer), clicked by xdotool,
// and the clip popover they open.
#include "app/AppDelegate.h"
#include "app/QuitWithUnsavedNotes.h"
#include "app/x11/TrayAppFixture.h"
#include "clipboard/ClipStripList.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/ClipboardStripView.h"
#include "platform/Popover.h"
#include "platform/StatusItem.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "settings/SettingsWindowController.h"
#include "store/NoteSaveFailureNotice.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/FileSizeLimit.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"
#include "ui/UserNotice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
}

void movePointer(QPoint global)
{
    xdotool({"mousemove", QString::number(global.x()), QString::number(global.y())});
}

// Lets the X server and our event loop catch up with what xdotool did.
void settle(int ms = 300)
{
    test::waitUntil([] { return false; }, ms);
}

void clickOn(QWidget& widget, QPoint local)
{
    movePointer(widget.mapToGlobal(local));
    xdotool({"click", "1"});
}

QString storedText()
{
    PersistenceController store;
    const auto notes = store.viewContext().fetch(StickyNote::fetchRequest());
    return notes.size() == 1 ? notes.front()->plainText() : QString();
}

QAbstractButton* button(QMessageBox& box, const QString& text)
{
    for (QAbstractButton* candidate : box.buttons()) {
        if (candidate->text() == text) {
            return candidate;
        }
    }
    return nullptr;
}

// A disk that takes nothing more, for as long as this lives (a file size limit: no root needed).
class FullDisk {
public:
    FullDisk() { test::FileSizeLimit::set(1); }
    ~FullDisk() { test::FileSizeLimit::lift(); }
};

// Counts the quits asked of Qt, which a test program survives.
class QuitCounter : public QObject {
public:
    QuitCounter() { QCoreApplication::instance()->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
            ++quits;
        }
        return false;
    }
    int quits = 0;
};

class TrayTest : public test::TrayAppFixture {
protected:
    // A new note from the tray icon, once it has the keyboard.
    QWidget* newNote()
    {
        movePointer(app->stickyStatusItem()->geometry().center());
        xdotool({"click", "1"});
        QWidget* note = nullptr;
        test::waitUntil([&] {
            QWidget* active = QApplication::activeWindow();
            note = active && active->windowTitle() == "Untitled" ? active : nullptr;
            return note != nullptr;
        },
            waitMs);
        return note;
    }

    void chooseFromTheTrayMenu(const QString& entry)
    {
        movePointer(app->stickyStatusItem()->geometry().center());
        QMenu* menu = app->stickyStatusItem()->contextMenu();
        xdotool({"mousedown", "3"});
        const bool shown = test::waitUntil([&] { return menu->isVisible(); }, waitMs);
        xdotool({"mouseup", "3"});
        ASSERT_TRUE(shown) << "no tray menu";
        settle();
        for (QAction* action : menu->actions()) {
            if (action->text() == entry) {
                clickOn(*menu, menu->actionGeometry(action).center());
            }
        }
    }
};

} // namespace

TEST_F(TrayTest, StickyFromTheStripTakesTheKeyboardForWhatTheUserTypesNext)
{
    test::runProgram("xclip", {"-selection", "clipboard"}, "clip for a note");
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardMonitor().items().size() == 1; }, waitMs));

    movePointer(app->clipStatusItem()->geometry().center());
    xdotool({"click", "1"});
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardPopover() && app->clipboardPopover()->isVisible(); }, waitMs))
        << "the tray click opened no strip";
    Popover* popover = app->clipboardPopover();
    auto* strip = qobject_cast<ClipboardStripView*>(popover->contentWidget());
    ASSERT_TRUE(strip);

    ClipStripList* list = strip->list();
    movePointer(list->mapToGlobal(list->itemRect(0).center()));
    ASSERT_TRUE(test::waitUntil([&] { return !list->stickyButtonRect(0).isEmpty(); }, waitMs));
    movePointer(list->mapToGlobal(list->stickyButtonRect(0).center()));
    settle();
    xdotool({"click", "1"});

    ASSERT_TRUE(test::waitUntil([&] { return app->stickyControllers().count() == 1; }, waitMs));
    EXPECT_TRUE(test::waitUntil([&] { return !popover->isVisible(); }, waitMs));
    QWidget* note = nullptr;
    ASSERT_TRUE(test::waitUntil([&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle() == "clip for a note") {
                note = window;
            }
        }
        return note && note->isActiveWindow();
    },
        waitMs))
        << "the new note never got the keyboard";

    // The note's title follows its text.
    xdotool({"type", "--delay", "20", "typed"});
    EXPECT_TRUE(test::waitUntil([&] { return note->windowTitle().contains("typed"); }, waitMs))
        << note->windowTitle().toStdString();
    EXPECT_TRUE(strip->searchField()->text().isEmpty());
}

TEST_F(TrayTest, TheNewStickyIconActsWhenTheButtonGoesUp)
{
    movePointer(app->stickyStatusItem()->geometry().center());
    xdotool({"mousedown", "1"});
    settle(500);
    EXPECT_EQ(app->stickyControllers().count(), 0) << "acted on the press";
    xdotool({"mouseup", "1"});
    EXPECT_TRUE(test::waitUntil([&] { return app->stickyControllers().count() == 1; }, waitMs));

    // Pressed over the icon, released elsewhere: no note.
    movePointer(app->stickyStatusItem()->geometry().center());
    xdotool({"mousedown", "1"});
    settle();
    movePointer({400, 400});
    xdotool({"mouseup", "1"});
    settle(500);
    EXPECT_EQ(app->stickyControllers().count(), 1);
}

TEST_F(TrayTest, NotesOpenedOneAfterAnotherFromTheIconStepAwayFromEachOtherInsideTheWorkArea)
{
    const QRect icon = app->stickyStatusItem()->geometry();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget* last = nullptr;
    QRect lastFrame;
    for (int opened = 1; opened <= 5; ++opened) {
        // The notes open at the tray's corner: the icon is clicked on the strip of it they leave free.
        movePointer({icon.center().x(), icon.top() + 2});
        xdotool({"click", "1"});
        QWidget* note = nullptr;
        ASSERT_TRUE(test::waitUntil([&] {
            QWidget* active = QApplication::activeWindow();
            note = active && active != last && active->windowTitle() == "Untitled" ? active : nullptr;
            return note && app->stickyControllers().count() == opened;
        },
            waitMs))
            << "note " << opened;
        settle();
        const QRect frame = test::serverGeometry(note);
        EXPECT_TRUE(area.contains(frame)) << "note " << opened << " at " << frame.x() << "," << frame.y();
        EXPECT_NE(frame.topLeft(), lastFrame.topLeft()) << "note " << opened << " lies on the one before";
        last = note;
        lastFrame = frame;
    }
}

TEST_F(TrayTest, EachIconIsNamedForTheDesktop)
{
    for (const QString& name : {QStringLiteral("Clipboard"), QStringLiteral("New Sticky Note")}) {
        QProcess search;
        search.start(QStringLiteral("xdotool"), {"search", "--name", "^" + name + "$"});
        search.waitForFinished(waitMs);
        EXPECT_EQ(search.readAllStandardOutput().count('\n'), 1) << name.toStdString();
    }
}

TEST_F(TrayTest, SettingsShortcutWorksFromANewSticky)
{
    movePointer(app->stickyStatusItem()->geometry().center());
    xdotool({"click", "1"});
    ASSERT_TRUE(test::waitUntil([&] {
        QWidget* active = QApplication::activeWindow();
        return app->stickyControllers().count() == 1 && active && active->windowTitle() == "Untitled";
    },
        waitMs))
        << "the new note never got the keyboard";

    xdotool({"key", "ctrl+comma"});
    EXPECT_TRUE(test::waitUntil([&] {
        return app->settingsWindowController() && app->settingsWindowController()->window()->isVisible();
    },
        waitMs));
}

TEST_F(TrayTest, SettingsFromTheTrayMenuOpensCentredInTheWorkAreaEachTime)
{
    for (int opening = 1; opening <= 2; ++opening) {
        chooseFromTheTrayMenu("Settings…");
        ASSERT_TRUE(test::waitUntil([&] {
            return app->settingsWindowController() && app->settingsWindowController()->window()->isVisible();
        },
            waitMs));
        QWidget* window = app->settingsWindowController()->window();
        const QRect area = window->screen()->availableGeometry();
        // Framed, as the window manager has it: its title bar is part of what is centred.
        QRect frame;
        const auto centred = [&] {
            frame = test::serverFrame(window);
            const QPoint offset = frame.center() - area.center();
            return frame.height() > window->height() && std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1;
        };
        EXPECT_TRUE(test::waitUntil(centred, waitMs))
            << "opening " << opening << ": the frame is at " << frame.x() << "," << frame.y() << " " << frame.width()
            << "x" << frame.height() << " in a work area of " << area.width() << "x" << area.height();
        EXPECT_TRUE(area.contains(frame)) << "opening " << opening;
        window->close();
        ASSERT_TRUE(test::waitUntil([window] { return !window->isVisible(); }, waitMs));
    }
}

TEST_F(TrayTest, AStripClosedUnderThePointerReopensWithNoRowHovered)
{
    test::runProgram("xclip", {"-selection", "clipboard"}, "hovered clip");
    ASSERT_TRUE(test::waitUntil([&] { return app->clipboardMonitor().items().size() == 1; }, waitMs));
    const auto openFromTray = [&] {
        movePointer(app->clipStatusItem()->geometry().center());
        xdotool({"click", "1"});
        return test::waitUntil([&] { return app->clipboardPopover() && app->clipboardPopover()->isVisible(); }, waitMs);
    };
    ASSERT_TRUE(openFromTray());
    auto* strip = qobject_cast<ClipboardStripView*>(app->clipboardPopover()->contentWidget());
    ASSERT_TRUE(strip);
    ClipStripList* list = strip->list();
    movePointer(list->mapToGlobal(list->itemRect(0).center()));
    ASSERT_TRUE(test::waitUntil([&] { return !list->stickyButtonRect(0).isEmpty(); }, waitMs));

    xdotool({"key", "Escape"});
    ASSERT_TRUE(test::waitUntil([&] { return !app->clipboardPopover()->isVisible(); }, waitMs));
    ASSERT_TRUE(openFromTray());
    settle();
    EXPECT_EQ(strip->hoveredID(), std::nullopt) << "the pointer is on the tray, not on the row";
    EXPECT_TRUE(list->stickyButtonRect(0).isEmpty());
}

TEST_F(TrayTest, TypingGoesOnIntoTheNoteWhileTheDiskIsFullAndIsSavedOnceItHasRoom)
{
    QWidget* note = newNote();
    ASSERT_TRUE(note) << "the new note never got the keyboard";
    // In the middle of the screen, where a box left to itself opens.
    const QPoint middle = note->screen()->availableGeometry().center() - note->rect().center();
    xdotool({"windowmove", "--sync", QString::number(note->winId()), QString::number(middle.x()), QString::number(middle.y())});
    xdotool({"type", "--delay", "20", "Start"});
    ASSERT_TRUE(test::waitUntil([] { return storedText() == "Start"; }, waitMs));

    auto fullDisk = std::make_optional<FullDisk>();
    xdotool({"type", "--delay", "20", " "});
    QPointer<QMessageBox> notice;
    ASSERT_TRUE(test::waitUntil([&] {
        notice = UserNotice::showing(NoteSaveFailureNotice::topic);
        return notice && notice->windowHandle() && notice->windowHandle()->isExposed();
    },
        waitMs))
        << "no notice of the failed save";
    // The window manager has had its chance to hand the notice the keyboard.
    settle(500);
    EXPECT_FALSE(notice->frameGeometry().intersects(note->frameGeometry())) << "the notice hides the note";
    // A space or a Return in what follows would answer a box that had the keyboard.
    xdotool({"type", "--delay", "20", "abcdefghijklmnopqrstuvwxyz more"});
    xdotool({"key", "Return"});
    xdotool({"type", "--delay", "20", "next line"});
    EXPECT_TRUE(test::waitUntil([&] { return note->windowTitle() == "Start abcdefghijklmnopqrstuvwxyz more"; }, waitMs))
        << note->windowTitle().toStdString();
    EXPECT_TRUE(note->isActiveWindow());
    EXPECT_TRUE(notice->isVisible());

    // Nothing more is typed: what the window holds reaches the disk once it has room, and the
    // notice goes.
    fullDisk.reset();
    EXPECT_TRUE(test::waitUntil([] { return storedText() == "Start abcdefghijklmnopqrstuvwxyz more\nnext line"; },
        waitMs))
        << storedText().toStdString();
    EXPECT_TRUE(test::waitUntil([&] { return !notice; }, waitMs)) << "the notice stays once every note is saved";
}

TEST_F(TrayTest, SettingsAFullDiskRefusedAreWrittenOnceItHasRoomAndAQuitMeanwhileSaysSo)
{
    QWidget* note = newNote();
    ASSERT_TRUE(note) << "the new note never got the keyboard";
    UserDefaults& defaults = UserDefaults::standard();
    const auto frameKey = [&] { return defaults.keys(storedSettings::stickyFramePrefix).value(0); };
    const auto storedFrame = [&] { return UserDefaults(defaults.filePath()).string(frameKey()); };
    auto fullDisk = std::make_optional<FullDisk>();
    // Moved away from the tray: the note's place is a setting.
    xdotool({"windowmove", "--sync", QString::number(note->winId()), "400", "300"});
    ASSERT_TRUE(test::waitUntil([&] {
        const std::optional<QString> frame = defaults.string(frameKey());
        return frame && frame->contains("400");
    },
        waitMs));
    settle(500);
    ASSERT_NE(storedFrame(), defaults.string(frameKey())) << "the disk took the setting";

    QuitCounter quitCounter;
    chooseFromTheTrayMenu("Quit Norvelle");
    ASSERT_TRUE(test::waitUntil([] { return QuitWithUnsavedNotes::asking() && QuitWithUnsavedNotes::asking()->isVisible(); },
        waitMs))
        << "quit without a word";
    QMessageBox* question = QuitWithUnsavedNotes::asking();
    EXPECT_EQ(question->text(), "Some settings could not be saved.");
    settle();
    QAbstractButton* keep = button(*question, "Keep Norvelle Running");
    clickOn(*keep, keep->rect().center());
    ASSERT_TRUE(test::waitUntil([] { return !QuitWithUnsavedNotes::asking(); }, waitMs));
    EXPECT_EQ(quitCounter.quits, 0);

    // Nothing more changes: the settings held reach the disk once it has room.
    fullDisk.reset();
    EXPECT_TRUE(test::waitUntil([&] { return storedFrame() == defaults.string(frameKey()); }, waitMs))
        << storedFrame().value_or("none").toStdString();
}

TEST_F(TrayTest, QuitFromTheTrayWhileSavesFailAsksAndQuitsOnceTheNotesAreSaved)
{
    QWidget* note = newNote();
    ASSERT_TRUE(note) << "the new note never got the keyboard";
    QuitCounter quitCounter;
    auto fullDisk = std::make_optional<FullDisk>();
    xdotool({"type", "--delay", "20", "Unsaved"});
    ASSERT_TRUE(test::waitUntil([&] { return note->windowTitle() == "Unsaved"; }, waitMs));
    // The new note opened under the pointer, over the tray.
    xdotool({"windowmove", "--sync", QString::number(note->winId()), "400", "300"});

    chooseFromTheTrayMenu("Quit Norvelle");
    const auto asked = [](QMessageBox* other) {
        return test::waitUntil([&] {
            QMessageBox* question = QuitWithUnsavedNotes::asking();
            return question && question != other && question->isVisible();
        },
            waitMs);
    };
    ASSERT_TRUE(asked(nullptr)) << "quit without a word";
    QMessageBox* question = QuitWithUnsavedNotes::asking();
    EXPECT_EQ(question->text(), "Some notes could not be saved.");

    // Tried again on a disk still full: asked again.
    settle();
    QAbstractButton* retry = button(*question, "Try Again");
    clickOn(*retry, retry->rect().center());
    ASSERT_TRUE(asked(question));

    fullDisk.reset();
    question = QuitWithUnsavedNotes::asking();
    settle();
    retry = button(*question, "Try Again");
    clickOn(*retry, retry->rect().center());
    // Qt quits only a running event loop: the click is answered inside one, which the quit ends.
    QTimer hang;
    hang.setSingleShot(true);
    QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    hang.start(waitMs);
    EXPECT_EQ(QCoreApplication::exec(), 0) << "no quit once the notes were saved";
    EXPECT_EQ(quitCounter.quits, 1);
    EXPECT_EQ(storedText(), "Unsaved");
}
