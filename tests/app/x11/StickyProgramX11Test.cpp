// A sticky note as the user gets it: the running program, its new-note hot key pressed by
// xdotool, typing, hiding, moving and quitting through the real X server and window manager.
#include "platform/AppPaths.h"
#include "platform/UserDefaults.h"
#include "sticky/StickyFrameString.h"
#include "sticky/StickyWindowController.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

class StickyProgramX11Test : public testing::Test {
protected:
    StickyProgramX11Test()
    {
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        norvelle::UserDefaults::standard().synchronize();
        m_process.start(QCoreApplication::applicationDirPath() + "/../norvelle", {});
    }
    ~StickyProgramX11Test() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(waitMs);
        }
    }

    // The program's visible windows that carry the note's title.
    QString stickyWindow(const QString& title)
    {
        QString found;
        test::waitUntil([&] {
            found = test::xdotoolOutput({"search", "--all", "--onlyvisible", "--pid", QString::number(m_process.processId()), "--name",
                                            "^" + title + "$"})
                        .section('\n', 0, 0);
            return !found.isEmpty();
        },
            waitMs);
        return found;
    }

    QProcess m_process;
};

} // namespace

TEST_F(StickyProgramX11Test, TheNewNoteHotKeyOpensAFloatingNoteThatKeepsWhatIsTyped)
{
    ASSERT_TRUE(m_process.waitForStarted(waitMs));
    // The first note gets its window: an empty note is titled "Untitled". The key is pressed
    // again only when no window came of the last press (the hot key may not be grabbed yet).
    const auto untitledShown = [&] {
        return !test::xdotoolOutput({"search", "--all", "--onlyvisible", "--pid", QString::number(m_process.processId()), "--name",
                                        "^Untitled$"})
                    .isEmpty();
    };
    ASSERT_TRUE(test::waitUntil([&] {
        test::xdotoolOutput({"key", "super+shift+n"});
        return test::waitUntil(untitledShown, 4000);
    },
        waitMs));
    const QString window = stickyWindow("Untitled");
    ASSERT_FALSE(window.isEmpty());
    QString state;
    EXPECT_TRUE(test::waitUntil([&] {
        state = QString::fromUtf8(test::runProgram("xprop", {"-id", window, "_NET_WM_STATE"}));
        return state.contains("_NET_WM_STATE_ABOVE") && state.contains("_NET_WM_STATE_SKIP_TASKBAR");
    },
        waitMs))
        << state.toStdString();

    test::xdotoolOutput({"windowactivate", "--sync", window});
    test::xdotoolOutput({"type", "--delay", "30", "Shopping"});
    ASSERT_FALSE(stickyWindow("Shopping").isEmpty());

    // Hidden and shown again, the window keeps its text and takes more.
    test::xdotoolOutput({"windowunmap", "--sync", window});
    test::xdotoolOutput({"windowmap", "--sync", window});
    test::xdotoolOutput({"windowactivate", "--sync", window});
    test::xdotoolOutput({"key", "End"});
    test::xdotoolOutput({"type", "--delay", "30", " list"});
    ASSERT_FALSE(stickyWindow("Shopping list").isEmpty());

    test::xdotoolOutput({"windowmove", "--sync", window, "123", "145"});
    // The program has taken the move in once it has stored the new frame.
    EXPECT_TRUE(test::waitUntil([] {
        QFile defaults(AppPaths::configDirectory() + "/defaults.json");
        return defaults.open(QIODevice::ReadOnly) && defaults.readAll().contains("{{123, 145}, ");
    },
        waitMs));

    // Quitting keeps the window open for the next launch, with its text, rich body and frame.
    ::kill(pid_t(m_process.processId()), SIGTERM);
    ASSERT_TRUE(m_process.waitForFinished(waitMs));
    UserDefaults::resetStandard();
    PersistenceController store;
    const auto notes = store.viewContext().fetch(StickyNote::fetchRequest());
    ASSERT_EQ(notes.size(), 1);
    const auto& note = notes.front();
    EXPECT_EQ(note->plainText(), "Shopping list");
    EXPECT_EQ(note->title(), "Shopping list");
    EXPECT_TRUE(note->content().startsWith("{\\rtf"));
    EXPECT_TRUE(note->isWindowOpen());
    const auto frame = UserDefaults::standard().string(StickyWindowController::frameKey(note->objectID().uriString()));
    ASSERT_TRUE(frame);
    const auto rect = StickyFrameString::parse(*frame);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->topLeft(), QPoint(123, 145));
}
