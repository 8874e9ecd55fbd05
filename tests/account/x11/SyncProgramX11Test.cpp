// Sync as the user meets it: the running program signed in against the loopback server, a
// sticky typed into with xdotool, the server's answers taken in, and the note read back from
// its database file after the program quit.
#include "account/StoredSyncSession.h"
#include "account/SyncCredentialStore.h"
#include "platform/InternetDateTime.h"
#include "platform/UserDefaults.h"
#include "rtf/RichTextCodec.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/LoopbackApiServer.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <csignal>

using namespace norvelle;

namespace {

constexpr int waitMs = 20000;

// A server that keeps each pushed note, answers it as applied and hands out the edits the test
// makes "elsewhere". The answer to the first of two pushes made together comes last, as it may
// on a real network.
class SyncProgramX11Test : public testing::Test {
protected:
    SyncProgramX11Test()
    {
        server.useAsApiBase();
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        const StoredSyncSession session {"user-1", "access-1", "refresh-1", QDateTime::currentDateTimeUtc().addDays(30)};
        EXPECT_FALSE(SyncCredentialStore().save(session, server.baseURL()));
        server.setHandler([this](const test::RecordedRequest& request) -> std::optional<test::ScriptedReply> {
            if (request.path != "/v1/notes/sync") {
                return std::nullopt;
            }
            return answer(request.json());
        });
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        norvelle::UserDefaults::standard().synchronize();
        m_process.start(QCoreApplication::applicationDirPath() + "/../norvelle", {});
    }
    ~SyncProgramX11Test() override
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(waitMs);
        }
    }

    test::ScriptedReply answer(const QJsonObject& body)
    {
        QJsonArray applied;
        for (const QJsonValue& note : body.value("notes").toArray()) {
            QJsonObject copy = note.toObject();
            pushedTexts << copy.value("body").toString();
            noteID = copy.value("id").toString();
            copy.insert("version", ++serverVersion);
            applied.append(copy);
        }
        QJsonArray outgoing;
        if (!editElsewhere.isEmpty() && !noteID.isEmpty()) {
            outgoing.append(QJsonObject {{"id", noteID}, {"version", ++serverVersion}, {"title", editElsewhere.section('\n', 0, 0)},
                {"body", editElsewhere}, {"updatedAt", InternetDateTime::format(QDateTime::currentDateTimeUtc())}});
            editElsewhere.clear();
        }
        test::ScriptedReply reply = test::ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", applied}}}, {"outgoing", outgoing}});
        reply.delayMs = (requestCount++ % 2 == 0) ? 400 : 0;
        return reply;
    }

    QString visibleWindow(const QString& title)
    {
        QString found;
        test::waitUntil([&] {
            found = test::xdotoolOutput({"search", "--all", "--onlyvisible", "--pid", QString::number(m_process.processId()), "--name",
                                            "^" + QRegularExpression::escape(title) + "$"})
                        .section('\n', 0, 0);
            return !found.isEmpty();
        },
            waitMs);
        return found;
    }

    // A new note from the hot key, with the keyboard in it.
    QString newSticky()
    {
        const auto untitledShown = [&] {
            return !test::xdotoolOutput({"search", "--all", "--onlyvisible", "--pid", QString::number(m_process.processId()), "--name",
                                            "^Untitled$"})
                        .isEmpty();
        };
        EXPECT_TRUE(test::waitUntil([&] {
            test::xdotoolOutput({"key", "super+shift+n"});
            return test::waitUntil(untitledShown, 4000);
        },
            waitMs));
        const QString window = visibleWindow("Untitled");
        test::xdotoolOutput({"windowactivate", "--sync", window});
        return window;
    }

    // Once no request came for a second (every late answer is out by then), quits the program
    // the orderly way and reads the one note from its database file.
    std::shared_ptr<StickyNote> quitAndReadTheNote()
    {
        for (qsizetype seen = -1; seen != server.requests().size();) {
            seen = server.requests().size();
            test::waitUntil([] { return false; }, 1000);
        }
        ::kill(pid_t(m_process.processId()), SIGTERM);
        EXPECT_TRUE(m_process.waitForFinished(waitMs));
        UserDefaults::resetStandard();
        m_store = std::make_unique<PersistenceController>();
        const auto notes = m_store->viewContext().fetch(StickyNote::fetchRequest());
        return notes.size() == 1 ? notes.front() : nullptr;
    }

    test::LoopbackApiServer server;
    QStringList pushedTexts;
    QString noteID;
    QString editElsewhere;
    qint64 serverVersion = 100;
    qsizetype requestCount = 0;
    QProcess m_process;
    std::unique_ptr<PersistenceController> m_store;
};

} // namespace

TEST_F(SyncProgramX11Test, EachKeystrokeIsPushedOnceWithItsTextAndTheNoteKeepsWhatWasTyped)
{
    ASSERT_TRUE(m_process.waitForStarted(waitMs));
    newSticky();
    test::xdotoolOutput({"type", "--delay", "60", "Seeds"});
    ASSERT_FALSE(visibleWindow("Seeds").isEmpty());

    const auto note = quitAndReadTheNote();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText(), "Seeds");
    EXPECT_EQ(note->title(), "Seeds");
    // No push goes out with the text as it was before the keystroke that started it.
    EXPECT_EQ(pushedTexts.removeDuplicates(), 0) << pushedTexts.join('|').toStdString();
    EXPECT_EQ(pushedTexts.value(pushedTexts.size() - 1), "Seeds");
}

TEST_F(SyncProgramX11Test, AnEditMadeElsewhereShowsInTheOpenStickyAndTheNextKeystrokeAddsToIt)
{
    ASSERT_TRUE(m_process.waitForStarted(waitMs));
    const QString window = newSticky();
    test::xdotoolOutput({"type", "--delay", "60", "Milk"});
    ASSERT_FALSE(visibleWindow("Milk").isEmpty());
    ASSERT_TRUE(test::waitUntil([&] { return !noteID.isEmpty(); }, waitMs));

    // The answer to the next push brings the other device's text.
    editElsewhere = QStringLiteral("Oat milk and bread");
    test::xdotoolOutput({"type", "--delay", "60", "!"});
    ASSERT_FALSE(visibleWindow("Oat milk and bread").isEmpty());

    test::xdotoolOutput({"windowactivate", "--sync", window});
    test::xdotoolOutput({"key", "ctrl+End"});
    test::xdotoolOutput({"type", "--delay", "60", "?"});
    ASSERT_FALSE(visibleWindow("Oat milk and bread?").isEmpty());

    const auto note = quitAndReadTheNote();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText(), "Oat milk and bread?");
    EXPECT_EQ(pushedTexts.value(pushedTexts.size() - 1), "Oat milk and bread?");
}

TEST_F(SyncProgramX11Test, AnEditMadeElsewhereLeavesTheFormattingOfTheLinesItDidNotTouch)
{
    ASSERT_TRUE(m_process.waitForStarted(waitMs));
    const QString window = newSticky();
    test::xdotoolOutput({"type", "--delay", "60", "Plan"});
    test::xdotoolOutput({"key", "Return", "ctrl+b"});
    test::xdotoolOutput({"type", "--delay", "60", "Bold"});
    ASSERT_TRUE(test::waitUntil([&] { return pushedTexts.value(pushedTexts.size() - 1) == "Plan\nBold"; }, waitMs));

    // The other device changed the first line and added one.
    editElsewhere = QStringLiteral("Plan B\nBold\nfrom the phone");
    test::xdotoolOutput({"key", "ctrl+Home", "End"});
    test::xdotoolOutput({"type", "--delay", "60", "!"});
    ASSERT_FALSE(visibleWindow("Plan B").isEmpty());

    test::xdotoolOutput({"windowactivate", "--sync", window});
    test::xdotoolOutput({"key", "ctrl+End"});
    test::xdotoolOutput({"type", "--delay", "60", "?"});
    ASSERT_TRUE(test::waitUntil([&] { return pushedTexts.value(pushedTexts.size() - 1) == "Plan B\nBold\nfrom the phone?"; }, waitMs));

    const auto note = quitAndReadTheNote();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->plainText(), "Plan B\nBold\nfrom the phone?");
    const std::unique_ptr<QTextDocument> body = RichTextCodec::readRtf(note->content());
    ASSERT_TRUE(body);
    const QTextCursor bold = body->find("Bold");
    ASSERT_FALSE(bold.isNull());
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    EXPECT_NE(body->find("Plan B").charFormat().fontWeight(), QFont::Bold);
}
