// The note database with 10,000 notes of about 1 KB of text each (and their rich body):
// opening the store and fetching every note newest first, and saving one changed note.
#include "BenchFigures.h"
#include "objectstore/ObjectContext.h"
#include "store/PersistenceController.h"
#include "store/StickyNote.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace norvelle;
using bench::percentile;

namespace {

constexpr int noteCount = 10000;

void fillStore()
{
    PersistenceController controller;
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-400);
    for (int i = 0; i < noteCount; ++i) {
        auto note = StickyNote::insert(controller.viewContext());
        const QString text = QStringLiteral("Note %1\n").arg(i) + QString(1000, QChar('a' + i % 26));
        note->setId(QUuid::createUuid());
        note->setTitle(QStringLiteral("Note %1").arg(i));
        note->setPlainText(text);
        note->setContent("{\\rtf1\\ansi\\deff0 " + text.toUtf8() + "}");
        note->setCreatedAt(start.addSecs(i * 60));
        note->setUpdatedAt(start.addSecs(i * 3600 % 9999991));
        note->setPaperColor("#FDFDF8");
        note->setTextureName("lined");
        note->setVersion(1);
        note->setPermissions("Private");
    }
    controller.save();
}

} // namespace

int main()
{
    QTemporaryDir home;
    qputenv("NORVELLE_HOME", home.path().toLocal8Bit());
    fillStore();

    std::vector<double> openAndFetch;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        PersistenceController controller;
        const auto notes = controller.viewContext().fetch(StickyNote::fetchRequestNewestFirst());
        openAndFetch.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (int(notes.size()) != noteCount) {
            std::fprintf(stderr, "fetched %zu notes, expected %d\n", notes.size(), noteCount);
            return 1;
        }
    }

    PersistenceController controller;
    const auto notes = controller.viewContext().fetch(StickyNote::fetchRequestNewestFirst());
    std::vector<double> saves;
    for (int run = 0; run < 2000; ++run) {
        const auto& note = notes[size_t(run * 7 % noteCount)];
        QElapsedTimer timer;
        timer.start();
        note->setPlainText(note->plainText() + QChar('x'));
        note->setUpdatedAt(QDateTime::currentDateTimeUtc());
        note->setVersion(note->version() + 1);
        note->setUpdatedBy("local-device");
        controller.viewContext().save();
        saves.push_back(double(timer.nsecsElapsed()) / 1e3);
    }

    std::printf("StoreBench: %d notes of about 1 KB text (plus the rich body)\n", noteCount);
    std::printf("  open + fetch all, newest first: median %.1f ms (target < 150 ms), over %zu runs\n",
        percentile(openAndFetch, 0.5), openAndFetch.size());
    std::printf("  one changed note's save:        median %.0f us, p99 %.0f us (target median < 1 ms), over %zu saves\n",
        percentile(saves, 0.5), percentile(saves, 0.99), saves.size());
    return 0;
}
