// The settings file with 10,000 keys (sticky window frames and theme choices of 5,000 notes):
// the time a change takes on the calling (GUI) thread, one at a time and in a burst, and how
// long until the change is on the disk; then the launch's tidying of the keys of notes that
// no longer exist, over a store of 10,000 notes.
//
// A change costs only the in-memory update on the GUI thread: a writer thread puts each batch of
// changes on the disk atomically some milliseconds later.
#include "BenchFigures.h"
#include "platform/UserDefaults.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"
#include "store/StickyWindowKeys.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <thread>
#include <vector>

using namespace norvelle;
using bench::percentile;

namespace {

constexpr int keyCount = 10000;

QString frameKey(int note)
{
    return QStringLiteral("norvelle.sticky.frame.x-norvelle://0B6F2C1E-9A11-4E51-9D0C-3F0A2B7C4D10/StickyNote/p%1").arg(note);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    const QString path = home.filePath("defaults.json");
    {
        UserDefaults filling(path);
        for (int note = 0; note < keyCount / 2; ++note) {
            filling.set(frameKey(note), QStringLiteral("{{120, 340}, {300, 280}}"));
            filling.set(QStringLiteral("norvelle.sticky.followTheme.x-norvelle://0B6F2C1E-9A11-4E51-9D0C-3F0A2B7C4D10/StickyNote/p%1").arg(note), true);
        }
    }
    UserDefaults defaults(path);
    std::printf("settings file: %d keys, %lld bytes\n", keyCount, QFile(path).size());

    // One change at a time, as a window move or a theme switch makes them.
    std::vector<double> single;
    std::vector<double> toDisk;
    for (int run = 0; run < 200; ++run) {
        QElapsedTimer timer;
        timer.start();
        defaults.set(frameKey(run), QStringLiteral("{{%1, 340}, {300, 280}}").arg(run));
        single.push_back(double(timer.nsecsElapsed()) / 1e6);
        defaults.synchronize();
        toDisk.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("one set on the calling thread: median %.4f ms, 99th percentile %.4f ms, worst %.4f ms\n",
        percentile(single, 0.5), percentile(single, 0.99), percentile(single, 1.0));
    std::printf("one set until it is on the disk (writer thread): median %.2f ms, worst %.2f ms\n",
        percentile(toDisk, 0.5), percentile(toDisk, 1.0));

    // A burst, as a bulk delete removing the keys of many notes or a drag saving frames.
    std::vector<double> burst;
    QElapsedTimer whole;
    whole.start();
    for (int i = 0; i < 2000; ++i) {
        QElapsedTimer timer;
        timer.start();
        defaults.set(frameKey(i % (keyCount / 2)), QStringLiteral("{{%1, 1}, {300, 280}}").arg(i));
        burst.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    const double burstMs = double(whole.nsecsElapsed()) / 1e6;
    defaults.synchronize();
    const double burstToDiskMs = double(whole.nsecsElapsed()) / 1e6;
    std::printf("2,000 sets in a burst: median %.4f ms, 99th percentile %.4f ms, worst %.4f ms each; %.1f ms in all, "
                "on the disk %.1f ms after the first\n",
        percentile(burst, 0.5), percentile(burst, 0.99), percentile(burst, 1.0), burstMs, burstToDiskMs);

    // Keys for 5,000 of 10,000 stored notes, and for 5,000 notes deleted elsewhere.
    qputenv("NORVELLE_HOME", home.filePath("home").toLocal8Bit());
    {
        PersistenceController store;
        std::vector<std::shared_ptr<StickyNote>> notes;
        for (int i = 0; i < 15000; ++i) {
            notes.push_back(StickyNote::insert(store.viewContext()));
            notes.back()->setPlainText(QString(1000, QChar('a' + i % 26)));
        }
        store.save();
        for (int i = 0; i < 10000; ++i) {
            const QString key = notes[size_t(i)]->objectID().uriString();
            UserDefaults::standard().set(StickyWindowKeys::frame(key), QStringLiteral("{{1, 2}, {300, 280}}"));
            UserDefaults::standard().set(StickyWindowKeys::followTheme(key), true);
        }
        for (int i = 5000; i < 10000; ++i) {
            store.viewContext().deleteObject(notes[size_t(i)]);
        }
        store.save();
        UserDefaults::standard().synchronize();
    }
    PersistenceController store;
    QElapsedTimer tidy;
    tidy.start();
    StickyWindowKeys::dropThoseOfMissingNotes(store.container());
    std::printf("launch tidying of 20,000 window keys (10,000 of deleted notes) over 10,000 notes: %.1f ms, %lld keys left\n",
        double(tidy.nsecsElapsed()) / 1e6, qlonglong(UserDefaults::standard().keys(QStringLiteral("norvelle.sticky.")).size()));
    tidy.restart();
    StickyWindowKeys::dropThoseOfMissingNotes(store.container());
    std::printf("the same with nothing to drop (10,000 keys of 5,000 notes): %.1f ms\n", double(tidy.nsecsElapsed()) / 1e6);
    return 0;
}
