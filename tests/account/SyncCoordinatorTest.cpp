#include "account/SyncCoordinator.h"
#include "account/NotesSyncService.h"

#include "platform/UserDefaults.h"
#include "support/FakeNotesSyncService.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

using namespace norvelle;

namespace {

struct Coordinator {
    test::RecordingTracker tracker;
    int syncs = 0;
    std::unique_ptr<SyncCoordinator> coordinator = std::make_unique<SyncCoordinator>(tracker, [this] { ++syncs; });

    // Lets the queue finish its work and the main thread run what it handed back.
    void settle()
    {
        coordinator.reset();
        QCoreApplication::processEvents();
    }

    QStringList counts(const QString& event) const
    {
        QStringList out;
        for (const auto& [name, metadata] : tracker.events()) {
            if (name == event) {
                out << metadata.value("count");
            }
        }
        return out;
    }
};

} // namespace

TEST(SyncCoordinator, OnlyARepeatOfTheLastIdentifierIsSkipped)
{
    Coordinator c;
    c.coordinator->enqueue("a");
    c.coordinator->enqueue("a");
    c.coordinator->enqueue("b");
    c.coordinator->enqueue("a");
    c.settle();
    EXPECT_EQ(c.counts("sync_enqueued"), (QStringList {"1", "2", "3"}));
}

TEST(SyncCoordinator, FlushReportsTheCountAndStartsOneSync)
{
    Coordinator c;
    c.coordinator->flush();
    c.coordinator->enqueue("a");
    c.coordinator->enqueue("b");
    c.coordinator->enqueue("c");
    c.coordinator->flush();
    c.coordinator->flush();
    c.settle();
    EXPECT_EQ(c.counts("sync_flushed"), QStringList {"3"});
    EXPECT_EQ(c.syncs, 1);
}

TEST(NotesSyncService, SwitchStopsTheSyncOnlyWhenItReadsAsFalse)
{
    const struct {
        QVariant stored;
        bool runs;
    } cases[] = {
        {QVariant(), true},
        {true, true},
        {false, false},
        {qlonglong(0), true},
        {0.0, true},
        {qlonglong(2), true},
        {QString("no"), true},
        {QVariantList {}, true},
    };
    for (const auto& c : cases) {
        UserDefaults::standard().set("norvelle.sync.enabled", c.stored);
        test::FakeNotesSyncService service;
        service.syncNowIfEnabled();
        EXPECT_EQ(service.syncs, c.runs ? 1 : 0) << c.stored.toString().toStdString();
    }
}
