// The program as a process: one copy per user, an orderly exit on the termination signals, and
// the network code it loads only when it goes online.
#include "account/StoredSyncSession.h"
#include "account/SyncCredentialStore.h"
#include "objectstore/SqliteConnection.h"
#include "platform/SingleInstanceGuard.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/LoopbackApiServer.h"
#include "support/PointerDrag.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/stat.h>
#include <utility>
#include <vector>

#include <sqlite3.h>

namespace {

constexpr int waitMs = 20000;

QString programPath()
{
    return QCoreApplication::applicationDirPath() + "/../norvelle";
}

class RunningProgram {
public:
    explicit RunningProgram(QString program = programPath())
        : m_program(std::move(program))
    {
        norvelle::UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        norvelle::UserDefaults::standard().synchronize();
        m_process.start(m_program, {});
    }
    ~RunningProgram()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(waitMs);
        }
    }
    QProcess& process() { return m_process; }

    // A second launch returns at once once this copy listens for it. Until then a second
    // launch would become the running copy itself, so it is only tried once the socket answers.
    bool isListening()
    {
        QLocalSocket probe;
        probe.connectToServer(norvelle::SingleInstanceGuard::defaultSocketPath());
        if (!probe.waitForConnected(100)) {
            return false;
        }
        probe.disconnectFromServer();
        QProcess later;
        later.start(m_program, {});
        return later.waitForFinished(waitMs) && later.exitStatus() == QProcess::NormalExit && later.exitCode() == 0
            && m_process.state() == QProcess::Running;
    }

private:
    QString m_program;
    QProcess m_process;
};

// Visible windows on the display whose title is exactly `title`; all of them for no title.
int windowsTitled(const QString& title)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", title.isEmpty() ? QString() : "^" + title + "$"});
    search.waitForFinished(waitMs);
    return int(search.readAllStandardOutput().split('\n').count() - 1);
}

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
}

// A new note from the hot key, with `text` typed into it (its title once saved).
void newStickyWithText(const QString& text)
{
    const int untitled = windowsTitled(QStringLiteral("Untitled"));
    xdotool({"key", "super+shift+n"});
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(QStringLiteral("Untitled")) > untitled; }, waitMs));
    // The new window has the keyboard once the window manager has activated it.
    ASSERT_TRUE(norvelle::test::waitUntil([] {
        return norvelle::test::xdotoolOutput({"getactivewindow", "getwindowname"}).trimmed() == "Untitled";
    },
        waitMs));
    xdotool({"type", "--delay", "20", text});
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(text) == 1; }, waitMs)) << text.toStdString();
}

// A stored session from `server`, which answers every pull with nothing new.
void signInAt(norvelle::test::LoopbackApiServer& server)
{
    server.useAsApiBase();
    server.replyAlways("/v1/notes/sync", norvelle::test::ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", QJsonArray()}}}, {"outgoing", QJsonArray()}}));
    const norvelle::StoredSyncSession session {"user-1", "access-1", "refresh-1", QDateTime::currentDateTimeUtc().addDays(30)};
    ASSERT_FALSE(norvelle::SyncCredentialStore().save(session, server.baseURL()));
}

} // namespace

TEST(ProcessLife, StickiesOpenAtTheTerminationSignalAreSavedAndTheNextLaunchOpensNone)
{
    {
        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, waitMs));
        newStickyWithText(QStringLiteral("first sticky"));
        newStickyWithText(QStringLiteral("second sticky"));

        ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
        ASSERT_TRUE(program.process().waitForFinished(waitMs));
        EXPECT_EQ(program.process().exitCode(), 0);
    }
    EXPECT_EQ(windowsTitled(QStringLiteral("first sticky")), 0);
    {
        norvelle::PersistenceController store;
        QStringList texts;
        for (const auto& note : store.viewContext().fetch(norvelle::StickyNote::fetchRequest())) {
            texts << note->plainText();
        }
        texts.sort();
        EXPECT_EQ(texts, QStringList({"first sticky", "second sticky"}));
    }

    RunningProgram relaunched;
    ASSERT_TRUE(relaunched.process().waitForStarted(waitMs));
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return relaunched.isListening(); }, waitMs));
    // The launch is over once it answers; give a late window time to map all the same.
    QThread::msleep(1500);
    EXPECT_EQ(windowsTitled(QStringLiteral("first sticky")), 0);
    EXPECT_EQ(windowsTitled(QStringLiteral("second sticky")), 0);
}

// Wrapped at word boundaries, a megabyte with no place to break a line held the program for
// minutes: no hot key, no quit, and a kill lost the text. Laid out whole, ten megabytes held it
// for seconds.
TEST(ProcessLife, TenMegabytesOnOneLinePastedIntoANewStickyAreShownKeptWholeAndTheProgramAnswers)
{
    QByteArray line(10'000'000, 'a');
    for (qsizetype i = 0; i < line.size(); ++i) {
        line[i] = char('a' + (i * 7919) % 26);
    }
    {
        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, waitMs));
        norvelle::test::runProgram("xclip", {"-selection", "clipboard"}, line);
        xdotool({"key", "super+shift+n"});
        ASSERT_TRUE(norvelle::test::waitUntil([] {
            return norvelle::test::xdotoolOutput({"getactivewindow", "getwindowname"}).trimmed() == "Untitled";
        },
            waitMs));
        xdotool({"key", "ctrl+v"});
        // The clip strip opens meanwhile (how soon is HugeLineBench's to measure).
        const int shown = windowsTitled(QString());
        xdotool({"key", "super+shift+v"});
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(QString()) > shown; }, waitMs));
        xdotool({"key", "Escape"});
        // Named by the line's first characters once the paste is saved.
        const QString title = QString::fromLatin1(line.left(300)) + QStringLiteral("\u2026");
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(title) == 1; }, waitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, waitMs));

        ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
        ASSERT_TRUE(program.process().waitForFinished(waitMs));
    }
    norvelle::PersistenceController store;
    const auto notes = store.viewContext().fetch(norvelle::StickyNote::fetchRequest());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes.front()->plainText(), QString::fromLatin1(line));
}

TEST(ProcessLife, ALockedNoteStoreIsExplainedAndTheProgramEndsCleanlyLeavingItAsItIs)
{
    {
        norvelle::PersistenceController store;
        norvelle::StickyNote::insert(store.viewContext())->setTitle(QStringLiteral("kept"));
        store.save();
    }
    sqlite3* lock = nullptr;
    ASSERT_EQ(sqlite3_open(norvelle::PersistenceController::storePath().toUtf8().constData(), &lock), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(lock, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    RunningProgram program;
    ASSERT_TRUE(program.process().waitForStarted(waitMs));
    // Each of the two loads waits out the lock's busy time before the explanation shows.
    ASSERT_TRUE(norvelle::test::waitUntil([] { return windowsTitled(QStringLiteral("Norvelle")) == 1; }, 3 * waitMs / 2));
    EXPECT_EQ(program.process().state(), QProcess::Running);
    xdotool({"search", "--onlyvisible", "--name", "^Norvelle$", "windowactivate"});
    ASSERT_TRUE(norvelle::test::waitUntil([] {
        return norvelle::test::xdotoolOutput({"getactivewindow", "getwindowname"}).trimmed() == "Norvelle";
    },
        waitMs));
    xdotool({"key", "Return"});
    ASSERT_TRUE(program.process().waitForFinished(waitMs));
    EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.process().exitCode(), 1);

    sqlite3_exec(lock, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(lock);
    norvelle::PersistenceController store;
    ASSERT_FALSE(store.loadError());
    EXPECT_EQ(store.viewContext().fetch(norvelle::StickyNote::fetchRequest()).at(0)->title(), "kept");
    EXPECT_TRUE(QDir(norvelle::PersistenceController::storeDirectory()).entryList({"*.broken-*"}, QDir::AllEntries).isEmpty());
}

// A store file that cannot be a store is kept aside for an empty one: the user learns where.
TEST(ProcessLife, ANoteStoreSetAsideIsToldAtLaunchNamingTheFileKeptAside)
{
    const QString folder = norvelle::PersistenceController::storeDirectory();
    const QString path = norvelle::PersistenceController::storePath();
    const std::vector<std::pair<const char*, std::function<bool()>>> spoilers = {
        {"random bytes", [&] {
             QFile file(path);
             QByteArray bytes(8192, '\0');
             for (qsizetype i = 0; i < bytes.size(); ++i) {
                 bytes[i] = char((i * 7919 + 13) % 251);
             }
             return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
         }},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }},
        {"a directory", [&] { return QDir().mkdir(path); }},
        {"a link to /dev/zero", [&] { return QFile::link(QStringLiteral("/dev/zero"), path); }},
    };
    for (const auto& [name, spoil] : spoilers) {
        ASSERT_TRUE(QDir(folder).removeRecursively() && QDir().mkpath(folder)) << name;
        ASSERT_TRUE(spoil()) << name;

        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        // The notice, next to the workspace that opens too (no tray here) with the same name.
        EXPECT_TRUE(norvelle::test::waitUntil([] { return windowsTitled(QStringLiteral("Norvelle")) == 2; }, waitMs)) << name;
        EXPECT_EQ(QDir(folder).entryList({"Norvelle.sqlite.broken-*"}, QDir::AllEntries | QDir::System).size(), 1) << name;

        ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
        ASSERT_TRUE(program.process().waitForFinished(waitMs)) << name;
    }
}

// A -wal or -shm that is not a file holds no log: it is kept aside, the user is told, and the
// notes open as they are, with the last saves a sound log beside them still holds.
TEST(ProcessLife, AStoreCompanionThatIsNotAFileIsSetAsideAndTheNotesOpen)
{
    const QString folder = norvelle::PersistenceController::storeDirectory();
    const QString path = norvelle::PersistenceController::storePath();
    struct Spoiler {
        const char* name;
        QString suffix;
        std::function<bool(const QString&)> spoil;
    };
    const std::vector<Spoiler> spoilers = {
        {"a directory for the log", "-wal", [](const QString& file) { return QDir().mkdir(file); }},
        {"a link to /dev/zero for the log", "-wal", [](const QString& file) { return QFile::link(QStringLiteral("/dev/zero"), file); }},
        {"a FIFO for the index", "-shm", [](const QString& file) { return ::mkfifo(QFile::encodeName(file).constData(), 0600) == 0; }},
        {"a directory for the index", "-shm", [](const QString& file) { return QDir().mkdir(file); }},
    };
    for (const auto& [name, suffix, spoil] : spoilers) {
        ASSERT_TRUE(QDir(folder).removeRecursively() && QDir().mkpath(folder)) << name;
        {
            norvelle::PersistenceController store;
            norvelle::StickyNote::insert(store.viewContext())->setTitle(QString::fromLatin1(name));
            store.save();
            // Beside a bad index, the note stays in the log only.
            if (suffix == "-shm") {
                store.container().mainConnection().leaveFilesAsTheyAreOnClose();
            }
        }
        QFile::remove(path + suffix);
        ASSERT_TRUE(spoil(path + suffix)) << name;

        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        // The notice, next to the workspace that opens too (no tray here) with the same name.
        EXPECT_TRUE(norvelle::test::waitUntil([] { return windowsTitled(QStringLiteral("Norvelle")) == 2; }, waitMs)) << name;
        const QStringList aside = QDir(folder).entryList({"Norvelle.sqlite.broken-*"}, QDir::AllEntries | QDir::System);
        ASSERT_EQ(aside.size(), 1) << name;
        EXPECT_TRUE(aside.front().endsWith(suffix)) << name;
        const QFileInfo kept(folder + "/" + aside.front());
        EXPECT_TRUE(kept.isSymLink() || (kept.exists() && !kept.isFile())) << name;
        ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
        ASSERT_TRUE(program.process().waitForFinished(waitMs)) << name;

        // The program's own log and index are regular files: the next launch keeps them.
        norvelle::PersistenceController store;
        ASSERT_FALSE(store.loadError()) << name;
        EXPECT_TRUE(store.companionsSetAside().isEmpty()) << name;
        EXPECT_TRUE(store.filesSetAside().isEmpty()) << name;
        const auto notes = store.viewContext().fetch(norvelle::StickyNote::fetchRequest());
        ASSERT_EQ(notes.size(), 1u) << name;
        EXPECT_EQ(notes.front()->title(), QString::fromLatin1(name));
    }
}

// The launch waits in its dialog for the user; a request to end the program does not wait.
TEST(ProcessLife, EachSignalEndsTheProgramWhileItExplainsAStoreItCannotOpen)
{
    // A file where the store's folder should be: no store can be made.
    const QString folder = norvelle::PersistenceController::storeDirectory();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(folder).path()));
    {
        QFile file(folder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("kept") == 4);
    }
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([] { return windowsTitled(QStringLiteral("Norvelle")) == 1; }, waitMs)) << signalNumber;

        ::kill(static_cast<pid_t>(program.process().processId()), signalNumber);
        ASSERT_TRUE(program.process().waitForFinished(waitMs)) << signalNumber;
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << signalNumber;
    }
    QFile file(folder);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "kept");
}

TEST(ProcessLife, AFailedSaveIsToldAndTheTextInTheWindowIsSavedWithTheNextEdit)
{
    RunningProgram program;
    ASSERT_TRUE(program.process().waitForStarted(waitMs));
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, waitMs));
    newStickyWithText(QStringLiteral("draft"));

    // Another program holds the store's write lock: the next save waits, then fails.
    sqlite3* lock = nullptr;
    ASSERT_EQ(sqlite3_open(norvelle::PersistenceController::storePath().toUtf8().constData(), &lock), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(lock, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    // (The workspace, opened by the second launch that found this one, bears the same name.)
    const int named = windowsTitled(QStringLiteral("Norvelle"));
    xdotool({"type", "X"});
    EXPECT_TRUE(norvelle::test::waitUntil([&] { return windowsTitled(QStringLiteral("Norvelle")) == named + 1; }, waitMs));
    sqlite3_exec(lock, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(lock);

    // The sticky may take its new name a moment after the notice shows: activate once it has it.
    ASSERT_TRUE(norvelle::test::waitUntil([] {
        QProcess::execute(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^draftX$", "windowactivate"});
        return norvelle::test::xdotoolOutput({"getactivewindow", "getwindowname"}).trimmed() == "draftX";
    },
        waitMs));
    xdotool({"key", "End", "type", "Y"});
    ASSERT_TRUE(norvelle::test::waitUntil([] { return windowsTitled(QStringLiteral("draftXY")) == 1; }, waitMs));
    ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
    ASSERT_TRUE(program.process().waitForFinished(waitMs));

    norvelle::PersistenceController store;
    ASSERT_FALSE(store.loadError());
    EXPECT_EQ(store.viewContext().fetch(norvelle::StickyNote::fetchRequest()).at(0)->plainText(), "draftXY");
}

TEST(ProcessLife, SecondLaunchHandsOverAndEachSignalEndsTheProgramCleanly)
{
    ASSERT_TRUE(QFile::exists(programPath()));
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        RunningProgram program;
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, waitMs));

        ::kill(static_cast<pid_t>(program.process().processId()), signalNumber);
        ASSERT_TRUE(program.process().waitForFinished(waitMs)) << signalNumber;
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit) << signalNumber;
        EXPECT_EQ(program.process().exitCode(), 0) << signalNumber;
    }
}

TEST(ProcessLife, WithAStoredSessionTheProgramLoadsItsNetworkCodeAndPulls)
{
    norvelle::test::LoopbackApiServer server;
    server.useAsApiBase();
    const norvelle::StoredSyncSession session {"user-1", "access-1", "refresh-1", QDateTime::currentDateTimeUtc().addDays(30)};
    ASSERT_FALSE(norvelle::SyncCredentialStore().save(session, server.baseURL()));

    RunningProgram program;
    ASSERT_TRUE(program.process().waitForStarted(waitMs));
    EXPECT_TRUE(norvelle::test::waitUntil([&] { return !server.requests().isEmpty(); }, waitMs));
    EXPECT_EQ(server.requests().value(0).header("authorization"), "Bearer access-1");
}

// The build folder a copied program came from may hold anyone's file by the module's name.
TEST(ProcessLife, ACopiedProgramLoadsItsNetworkCodeOnlyFromBesideItself)
{
    norvelle::test::LoopbackApiServer server;
    ASSERT_NO_FATAL_FAILURE(signInAt(server));
    const QString folder = norvelle::test::TestHomeListener::home() + "/elsewhere";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString copy = folder + "/norvelle";
    ASSERT_TRUE(QFile::copy(programPath(), copy));

    {
        // Without the module beside it, the pull at quit cannot go out, and the program still
        // ends as it should.
        RunningProgram program(copy);
        ASSERT_TRUE(program.process().waitForStarted(waitMs));
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.isListening(); }, waitMs));
        ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
        ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.process().state() == QProcess::NotRunning; }, waitMs));
        EXPECT_EQ(program.process().exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.process().exitCode(), 0);
        EXPECT_EQ(server.requests().size(), 0);
    }

    ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + "/../libnorvelle-network.so", folder + "/libnorvelle-network.so"));
    RunningProgram program(copy);
    ASSERT_TRUE(program.process().waitForStarted(waitMs));
    EXPECT_TRUE(norvelle::test::waitUntil([&] { return !server.requests("/v1/notes/sync").isEmpty(); }, waitMs));
}

TEST(ProcessLife, ThePullAtQuitReachesTheServer)
{
    norvelle::test::LoopbackApiServer server;
    ASSERT_NO_FATAL_FAILURE(signInAt(server));

    RunningProgram program;
    ASSERT_TRUE(program.process().waitForStarted(waitMs));
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return server.requests("/v1/notes/sync").size() == 1; }, waitMs));
    ::kill(static_cast<pid_t>(program.process().processId()), SIGTERM);
    // The server keeps answering while the program ends.
    ASSERT_TRUE(norvelle::test::waitUntil([&] { return program.process().state() == QProcess::NotRunning; }, waitMs));
    EXPECT_TRUE(norvelle::test::waitUntil([&] { return server.requests("/v1/notes/sync").size() == 2; }, waitMs));
    EXPECT_EQ(program.process().exitCode(), 0);
}
