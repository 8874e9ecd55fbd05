#include "ClipboardMonitorFixture.h"

#include "clipboard/ClipboardRetentionMode.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

using namespace norvelle;
using namespace norvelle::test;

namespace {

ClipEntry entryAged(const QString& text, qint64 ageSeconds)
{
    return {QUuid::createUuid(), text, std::nullopt, std::nullopt, "App",
        QDateTime::currentDateTimeUtc().addSecs(-ageSeconds)};
}

void setRetention(const QString& raw)
{
    UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, raw);
}

} // namespace

TEST_F(ClipboardMonitorTest, TheFiftyFirstClipPushesOutTheOldest)
{
    for (int i = 1; i <= 51; ++i) {
        copyText(QString::number(i));
    }
    ASSERT_EQ(monitor.items().size(), ClipboardMonitor::maxHistoryItems);
    EXPECT_EQ(monitor.items().first().text, "51");
    EXPECT_EQ(monitor.items().last().text, "2");
    EXPECT_EQ(notifications, 51);
}

TEST_F(ClipboardMonitorTest, NarrowingTheRetentionPrunesOnTheNextTickAndNotifiesOnce)
{
    setRetention("days30");
    monitor.setItems({entryAged("hour", 3600), entryAged("two days", 2 * 86400), entryAged("ten days", 10 * 86400)});
    monitor.poll();
    EXPECT_EQ(monitor.items().size(), 3);
    EXPECT_EQ(notifications, 0) << "setItems and a tick that removes nothing post nothing";

    setRetention("hours24");
    int itemsSignals = 0;
    QObject::connect(&monitor, &ClipboardMonitor::itemsChanged, [&] { ++itemsSignals; });
    monitor.poll();
    EXPECT_EQ(texts(), (QStringList {"hour"}));
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(itemsSignals, 1);
    monitor.poll();
    EXPECT_EQ(notifications, 1);
}

TEST_F(ClipboardMonitorTest, OnceStartedAClipLeavesAsItExpiresAndARetentionChangePrunesAtOnce)
{
    setRetention("hours24");
    monitor.start();
    ClipEntry expiring = entryAged("expiring", 86400);
    expiring.createdAt = expiring.createdAt.addMSecs(300);
    monitor.setItems({entryAged("fresh", 60), expiring, entryAged("two hours", 7200)});
    EXPECT_EQ(monitor.items().size(), 3);
    ASSERT_TRUE(waitUntil([&] { return monitor.items().size() == 2; }, 5000)) << "no tick, no pasteboard change";
    EXPECT_EQ(texts(), (QStringList {"fresh", "two hours"}));
    EXPECT_EQ(notifications, 1);

    setRetention("session");
    setRetention("hours1");
    EXPECT_EQ(monitor.items().size(), 2) << "an unknown value means seven days";
    setRetention("hours24");
    EXPECT_EQ(notifications, 1);
    monitor.setItems({entryAged("fresh", 60), entryAged("two days", 2 * 86400)});
    setRetention("days30");
    EXPECT_EQ(monitor.items().size(), 2);
    setRetention("hours24");
    EXPECT_EQ(texts(), (QStringList {"fresh"})) << "pruned as the setting is written";
    EXPECT_EQ(notifications, 2);
}

TEST_F(ClipboardMonitorTest, SessionRetentionKeepsEverythingAndUnknownValuesMeanSevenDays)
{
    const QList<ClipEntry> aged {entryAged("six days", 6 * 86400), entryAged("eight days", 8 * 86400),
        entryAged("a year", 365 * 86400)};
    setRetention("session");
    monitor.setItems(aged);
    monitor.poll();
    EXPECT_EQ(monitor.items().size(), 3);

    for (const QVariant& stored : {QVariant("forever"), QVariant(42), QVariant()}) {
        UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, stored);
        monitor.setItems(aged);
        monitor.poll();
        EXPECT_EQ(texts(), (QStringList {"six days"})) << stored.toString().toStdString();
    }
}

TEST_F(ClipboardMonitorTest, RetentionAlsoAppliesWhenAdding)
{
    setRetention("hours24");
    monitor.setItems({entryAged("old", 2 * 86400)});
    pasteboard.setText("new");
    monitor.poll();
    EXPECT_EQ(texts(), (QStringList {"new"}));
    EXPECT_EQ(notifications, 2) << "the prune and the add each post";
}

TEST_F(ClipboardMonitorTest, RemovingPostsEvenWhenNothingMatched)
{
    copyText("a");
    copyText("b");
    const QUuid idOfA = monitor.items().last().id;
    notifications = 0;
    monitor.removeEntry(QUuid::createUuid());
    EXPECT_EQ(texts(), (QStringList {"b", "a"}));
    EXPECT_EQ(notifications, 1);
    monitor.removeEntry(idOfA);
    EXPECT_EQ(texts(), (QStringList {"b"}));
    EXPECT_EQ(notifications, 2);
}

TEST_F(ClipboardMonitorTest, ClearingByTheCallerEmptiesTheListAndLaterCopiesStillCome)
{
    copyText("a");
    int itemsSignals = 0;
    QObject::connect(&monitor, &ClipboardMonitor::itemsChanged, [&] { ++itemsSignals; });
    monitor.setItems({});
    EXPECT_TRUE(monitor.items().isEmpty());
    EXPECT_EQ(itemsSignals, 1);
    copyText("a");
    EXPECT_EQ(texts(), (QStringList {"a"}));
}

TEST_F(ClipboardMonitorTest, EntriesSetFromOutsideAreDeduplicatedByContent)
{
    const QByteArray bytes("not even an image");
    ClipEntry outside {QUuid::createUuid(), "shot", bytes, QString("image/png"), "App",
        QDateTime::currentDateTimeUtc()};
    monitor.setItems({outside});
    EXPECT_EQ(ClipboardMonitor::contentKey(outside).left(4), "img:");
    copyText("shot");
    EXPECT_EQ(monitor.items().size(), 2) << "text never equals image";
}
