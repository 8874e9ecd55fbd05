// Note sync against a loopback server: a pull that brings 10,000 changed notes (about 1 KB of
// text each) into a note database of 10,000 notes, applied and saved; and the round trip of one
// push.
#include "SyncServices.h"

#include "account/NotesSyncService.h"
#include "platform/InternetDateTime.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "support/LoopbackApiServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace norvelle;

namespace {

constexpr int noteCount = 10000;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void waitFor(const bool& done)
{
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());

    PersistenceController store;
    QStringList ids;
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-30);
    for (int i = 0; i < noteCount; ++i) {
        auto note = StickyNote::insert(store.viewContext());
        note->setId(QUuid::createUuid());
        note->setTitle(QStringLiteral("Note %1").arg(i));
        note->setPlainText(QString(1000, QChar('a' + i % 26)));
        note->setUpdatedAt(start.addSecs(i));
        note->setVersion(1);
        ids << note->objectID().uriString();
    }
    store.save();

    test::LoopbackApiServer server;
    server.useAsApiBase();
    bench::SyncServices services(home.path(), store);
    NotesSyncService& sync = services.sync;
    const test::RecordingTracker& tracker = services.tracker;

    std::vector<double> pulls;
    for (int run = 0; run < 5; ++run) {
        QJsonArray outgoing;
        const QString updatedAt = InternetDateTime::format(QDateTime::currentDateTimeUtc().addSecs(run + 1));
        for (int i = 0; i < noteCount; ++i) {
            outgoing.append(QJsonObject {{"id", ids[i]}, {"version", qint64(run * noteCount + i + 2)},
                {"title", QStringLiteral("Remote %1").arg(i)}, {"body", QString(1000, QChar('A' + (i + run) % 26))},
                {"updatedAt", updatedAt}});
        }
        server.replyAlways("/v1/notes/sync",
            test::ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", QJsonArray()}}}, {"outgoing", outgoing}}));
        bool done = false;
        QElapsedTimer timer;
        timer.start();
        sync.syncNow([&](const std::optional<ServiceError>&) { done = true; });
        waitFor(done);
        pulls.push_back(timer.nsecsElapsed() / 1e6);
    }

    server.replyAlways("/v1/notes/sync",
        test::ScriptedReply::json(200, {{"applied", QJsonObject {{"applied", QJsonArray()}}}, {"outgoing", QJsonArray()}}));
    std::vector<double> pushes;
    for (int run = 0; run < 51; ++run) {
        bool done = false;
        QElapsedTimer timer;
        timer.start();
        sync.pushNote(ids[run], 5, "title", "body", QDateTime::currentDateTimeUtc(), [&] { done = true; });
        waitFor(done);
        pushes.push_back(timer.nsecsElapsed() / 1e6);
    }

    const auto events = tracker.events();
    const bool allOk = events.size() == 5 + 51
        && std::all_of(events.begin(), events.end(), [](const auto& event) { return event.first.endsWith("_ok"); });
    std::printf("sync pull of %d changed notes, applied and saved: median %.1f ms (target < 2000 ms)\n", noteCount, median(pulls));
    std::printf("sync push round trip on loopback: median %.2f ms (target < 20 ms)\n", median(pushes));
    std::printf("every exchange succeeded: %s\n", allOk ? "yes" : "NO");

    return allOk ? 0 : 1;
}
