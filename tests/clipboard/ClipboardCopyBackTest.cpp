#include "ClipboardMonitorFixture.h"
#include "ClipboardTestImages.h"

#include <cmath>

using namespace norvelle;
using namespace norvelle::test;

namespace {

ClipEntry clip(const QString& text, std::optional<QByteArray> image = {}, std::optional<QString> type = {})
{
    return {QUuid::createUuid(), text, image, type, "App", QDateTime::currentDateTimeUtc()};
}

} // namespace

TEST_F(ClipboardMonitorTest, OwnCopyAndChangesInsideTheWindowAreNotCaptured)
{
    monitor.copyToPasteboard(clip("pasted"), 0.22);
    EXPECT_TRUE(monitor.isInternalCopy());
    EXPECT_EQ(pasteboard.string(), "pasted");
    monitor.poll();
    pasteboard.setText("racing in the window");
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty());

    ASSERT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, 5000));
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty()) << "the racing change was already seen";
    pasteboard.setText("after the window");
    monitor.poll();
    EXPECT_EQ(texts(), (QStringList {"after the window"}));
}

TEST_F(ClipboardMonitorTest, ResetDelayIsClampedToAFiniteRange)
{
    for (const double delay : {std::nan(""), double(INFINITY), -double(INFINITY), -3.0}) {
        monitor.copyText("x", delay);
        EXPECT_TRUE(monitor.isInternalCopy());
        EXPECT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, 2000)) << delay;
    }
    monitor.copyText("x", 1e12);
    EXPECT_FALSE(waitUntil([&] { return !monitor.isInternalCopy(); }, 300));
    EXPECT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, 20000)) << "at most ten seconds";
}

TEST_F(ClipboardMonitorTest, TheFirstResetToComeClearsTheGuard)
{
    monitor.copyText("long", 5);
    monitor.copyText("short", 0.05);
    EXPECT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, 3000));
}

TEST_F(ClipboardMonitorTest, CopyBackWritesImageThenTrimmedText)
{
    const QByteArray png = encodedImage("png");
    monitor.copyToPasteboard(clip("  words \n", png, PasteboardType::png), 0.22);
    EXPECT_EQ(pasteboard.types(), (QStringList {PasteboardType::png, PasteboardType::plainText}));
    EXPECT_EQ(pasteboard.data(PasteboardType::png), png);
    EXPECT_EQ(pasteboard.string(), "words");
}

TEST_F(ClipboardMonitorTest, TiffClipsGoBackAsTiffOtherImagesAsPng)
{
    const QByteArray png = encodedImage("png", Qt::yellow);
    monitor.copyToPasteboard(clip("", png, PasteboardType::tiff), 0);
    EXPECT_EQ(pasteboard.types(), (QStringList {PasteboardType::tiff}));
    EXPECT_EQ(decodedImage(pasteboard.data(PasteboardType::tiff), "tiff").pixelColor(1, 1), QColor(Qt::yellow));

    monitor.copyToPasteboard(clip("", png, QString("image/jpeg")), 0);
    EXPECT_EQ(pasteboard.types(), (QStringList {PasteboardType::png}));
    monitor.copyToPasteboard(clip("", png), 0);
    EXPECT_EQ(pasteboard.types(), (QStringList {PasteboardType::png}));

    monitor.copyToPasteboard(clip("", QByteArray("broken"), PasteboardType::tiff), 0);
    EXPECT_EQ(pasteboard.types(), (QStringList {PasteboardType::png})) << "a failed TIFF falls back to PNG";
    EXPECT_EQ(pasteboard.data(PasteboardType::png), "broken");
}

TEST_F(ClipboardMonitorTest, CopyingNothingJustClearsThePasteboard)
{
    pasteboard.setText("something");
    monitor.copyText(" \n ", 0);
    EXPECT_TRUE(pasteboard.types().isEmpty());
    monitor.copyToPasteboard(clip("", QByteArray()), 0);
    EXPECT_TRUE(pasteboard.types().isEmpty());
}

TEST_F(ClipboardMonitorTest, AMonitorGoneWithWorkPendingLeavesNoTrace)
{
    const auto copyImageThenPoll = [&](ClipboardMonitor& other) {
        pasteboard.setContents({{PasteboardType::png, encodedImage("png", Qt::red, {800, 600})}});
        other.poll();
        EXPECT_TRUE(other.hasPendingCapture());
    };
    // A monitor that stays gets the image and announces it in this time.
    ClipboardMonitor staying(pasteboard, ClipboardMonitor::SourceAppName {});
    copyImageThenPoll(staying);
    ASSERT_TRUE(waitUntil([&] { return notifications == 1; }, 20000));
    EXPECT_EQ(staying.items().size(), 1);

    // One that goes with its reset and a conversion pending: neither runs later.
    auto shortLived = std::make_unique<ClipboardMonitor>(pasteboard, ClipboardMonitor::SourceAppName {});
    shortLived->copyText("bye", 0.05);
    ASSERT_TRUE(waitUntil([&] { return !shortLived->isInternalCopy(); }, 5000));
    copyImageThenPoll(*shortLived);
    shortLived->copyText("again", 0.05);
    shortLived.reset();
    waitUntil([] { return false; }, 1000);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(pasteboard.string(), "again");
    EXPECT_TRUE(monitor.items().isEmpty());
}

TEST_F(ClipboardMonitorTest, OnceStartedEveryChangeIsTakenWithoutAskingIncludingOneBeforeTheStart)
{
    pasteboard.setText("before the start");
    monitor.start();
    EXPECT_TRUE(monitor.items().isEmpty()) << "taken on a later turn of the event loop";
    ASSERT_TRUE(waitUntil([&] { return monitor.items().size() == 1; }, 5000));
    monitor.start();
    pasteboard.setText("one");
    pasteboard.setText("two");
    ASSERT_TRUE(waitUntil([&] { return monitor.items().size() == 2; }, 5000));
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(texts(), (QStringList {"two", "before the start"})) << "a burst of changes is one tick";

    monitor.copyText("ours", 0.05);
    waitUntil([&] { return !monitor.isInternalCopy(); }, 5000);
    waitUntil([] { return false; }, 50);
    EXPECT_EQ(monitor.items().size(), 2) << "our own write is not taken back";
    EXPECT_EQ(notifications, 2);
}
