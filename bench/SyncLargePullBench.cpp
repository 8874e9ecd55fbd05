// A valid pull of 200,000 small notes (about 33 MB) of this note database, 2,000 of them held
// here, served by a separate process over loopback: how long it takes, the longest the
// program's event loop is held while it arrives and is applied, and the resident size before,
// at its peak and a few seconds after.
//
//     SyncLargePullBench [--workspace] [--notes N] [--local N]
//
// --workspace pulls with the workspace window open; --notes sets the notes pulled and --local
// how many of them this database holds (each of those is changed by the pull).
//
// Why the window keeps answering: the notes are applied about 20 ms of work at a time, the ones
// the store knows looked up 128 at a time, and each parsed note let go once written in; the
// workspace takes the pull's notes into its lists once they are all in. Every thread allocates
// from one heap, so what the parsing thread freed is given back too.
#include "SyncServices.h"
#include "support/ProcessMemory.h"

#include "account/NotesSyncService.h"
#include "platform/FreedMemory.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/LoopbackApiServer.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace norvelle;

namespace {

int noteCount = 200000;
int localNoteCount = 2000;
bool withWorkspace = false;

void readOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--workspace") == 0) {
            withWorkspace = true;
        } else if (std::strcmp(argv[i], "--notes") == 0 && i + 1 < argc) {
            noteCount = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--local") == 0 && i + 1 < argc) {
            localNoteCount = std::atoi(argv[++i]);
        }
    }
}

[[noreturn]] void serve(int argc, char** argv, int storePipe, int portPipe)
{
    QCoreApplication app(argc, argv);
    char prefix[256] = {};
    if (::read(storePipe, prefix, sizeof(prefix) - 1) <= 0) {
        _exit(1);
    }
    QJsonArray outgoing;
    for (int i = 0; i < noteCount; ++i) {
        outgoing.append(QJsonObject {{"id", QString::fromUtf8(prefix) + QString::number(i + 1)},
            {"version", qint64(i + 1)}, {"title", QStringLiteral("Note %1").arg(i)}, {"body", QString(40, QChar('n'))},
            {"updatedAt", "2030-01-01T00:00:00.000Z"}});
    }
    test::LoopbackApiServer server;
    server.replyAlways("/v1/notes/sync",
        test::ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", QJsonArray()}}}, {"outgoing", outgoing}}));
    const QByteArray base = server.baseURL().toString().toUtf8();
    (void)::write(portPipe, base.constData(), size_t(base.size()));
    ::close(portPipe);
    app.exec();
    _exit(0);
}

// The notes held here as they were before any pull, so that each run changes them all again.
void makeLocalNotesOlder(PersistenceController& store)
{
    for (const std::shared_ptr<StickyNote>& note : store.viewContext().fetch(StickyNote::fetchRequest())) {
        note->setTitle(QStringLiteral("Mine"));
        note->setUpdatedAt(QDateTime::currentDateTimeUtc().addDays(-1));
    }
    store.save();
}

void settle(int ms)
{
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

} // namespace

int main(int argc, char** argv)
{
    readOptions(argc, argv);
    int storePipe[2];
    int portPipe[2];
    if (::pipe(storePipe) != 0 || ::pipe(portPipe) != 0) {
        return 1;
    }
    const pid_t server = ::fork();
    if (server == 0) {
        serve(argc, argv, storePipe[0], portPipe[1]);
    }

    // As the program does at start.
    returnFreedMemoryAsItGoes();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    UserDefaults::resetStandard();

    PersistenceController store;
    QString prefix;
    for (int i = 0; i < localNoteCount; ++i) {
        auto note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setTitle(QStringLiteral("Mine %1").arg(i));
        note->setUpdatedAt(QDateTime::currentDateTimeUtc().addDays(-1));
        prefix = note->objectID().uriString();
    }
    store.save();
    // The notes' addresses in this database, less the row number.
    const QByteArray sent = prefix.left(prefix.lastIndexOf('p') + 1).toUtf8();
    (void)::write(storePipe[1], sent.constData(), size_t(sent.size()));
    char base[256] = {};
    if (::read(portPipe[0], base, sizeof(base) - 1) <= 0) {
        return 1;
    }
    UserDefaults::standard().set("norvelle.api.baseURL", QString::fromUtf8(base));
    bench::SyncServices services(home.path(), store);
    WorkspaceFoldersStore folders;
    std::unique_ptr<WorkspaceView> workspace;
    if (withWorkspace) {
        workspace = std::make_unique<WorkspaceView>(
            store.viewContext(), folders, [] { return true; }, [] { return std::optional<QString>(); });
        workspace->resize(1100, 680);
        workspace->show();
        settle(500);
    }
    // With the workspace open, a pull ends once its lists show the pulled notes.
    int listsTakenIn = 0;
    if (workspace) {
        QObject::connect(&workspace->index(), &WorkspaceNoteIndex::notesChanged, [&] { ++listsTakenIn; });
    }

    int failures = 0;
    for (int run = 1; run <= 3; ++run) {
        if (run > 1) {
            makeLocalNotesOlder(store);
            settle(1000);
        }
        UserDefaults::standard().set(storedSettings::sinceGlobalVersionKey, 0);
        const long before = test::kilobytes("VmRSS:");
        test::resetPeak();
        QElapsedTimer pulling;
        pulling.start();
        QElapsedTimer sinceTick;
        qint64 longestHold = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestHold = std::max(longestHold, sinceTick.restart());
        });
        bool done = false;
        std::optional<ServiceError> outcome;
        sinceTick.start();
        ticker.start(5);
        services.sync.syncNow([&](const std::optional<ServiceError>& failure) {
            outcome = failure;
            done = true;
        });
        const int listsBefore = listsTakenIn;
        while (!done) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        ticker.stop();
        const qint64 pulled = pulling.elapsed();
        while (workspace && listsTakenIn == listsBefore) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        const qint64 took = pulling.elapsed();
        const long peak = test::kilobytes("VmHWM:");
        settle(3000);
        const long after = test::kilobytes("VmRSS:");
        const qint64 since = UserDefaults::standard().integer(storedSettings::sinceGlobalVersionKey);
        const QString listed = workspace ? QStringLiteral(" (%1 s with the lists showing them)").arg(took / 1000.0, 0, 'f', 2) : QString();
        std::printf("run %d, pull of %d notes (%d held here)%s: %s in %.2f s%s, since-version %lld; longest hold %lld ms "
                    "(target <= 100 ms); resident before %.1f MB, peak %.1f MB, 3 s after %.1f MB (%+.1f MB)\n",
            run, noteCount, localNoteCount, withWorkspace ? ", workspace open" : "",
            outcome ? qPrintable(outcome->debugDescription()) : "ok", pulled / 1000.0, qPrintable(listed), static_cast<long long>(since),
            static_cast<long long>(longestHold), before / 1024.0, peak / 1024.0, after / 1024.0, (after - before) / 1024.0);
        if (outcome || since != noteCount || longestHold > 100 || after - before > 10 * 1024) {
            ++failures;
        }
    }
    std::printf("every pull held the loop at most 100 ms and gave its memory back: %s\n", failures ? "NO" : "yes");
    ::kill(server, SIGTERM);
    ::waitpid(server, nullptr, 0);
    return failures ? 1 : 0;
}
