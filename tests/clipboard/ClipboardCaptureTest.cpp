#include "ClipboardMonitorFixture.h"
#include "ClipboardTestImages.h"

#include "platform/Crypto.h"

using namespace norvelle;
using namespace norvelle::test;

TEST_F(ClipboardMonitorTest, WhatThePasteboardHeldAtLaunchIsNeverCaptured)
{
    FakePasteboard launched;
    launched.setText("from before");
    ClipboardMonitor fresh(launched, {});
    fresh.poll();
    EXPECT_TRUE(fresh.items().isEmpty());

    launched.setText("after launch");
    fresh.poll();
    ASSERT_EQ(fresh.items().size(), 1);
    EXPECT_EQ(fresh.items().first().text, "after launch");
    EXPECT_EQ(fresh.items().first().sourceApp, "Unknown");
}

TEST_F(ClipboardMonitorTest, SameTextAgainReplacesTheOlderEntryAtTheTop)
{
    copyText("alpha");
    const ClipEntry first = monitor.items().first();
    copyText("beta");
    frontmost = "Terminal";
    copyText("alpha");

    EXPECT_EQ(texts(), (QStringList {"alpha", "beta"}));
    const ClipEntry again = monitor.items().first();
    EXPECT_NE(again.id, first.id);
    EXPECT_EQ(again.sourceApp, "Terminal");
    EXPECT_GE(again.createdAt, first.createdAt);
    EXPECT_EQ(notifications, 3);
}

TEST_F(ClipboardMonitorTest, TextIsTrimmedAndTrimmedTextIsTheIdentity)
{
    copyText("  hello\n\t");
    copyText("hello");
    copyText("\u2028hello\u00a0");
    ASSERT_EQ(monitor.items().size(), 1);
    EXPECT_EQ(monitor.items().first().text, "hello");
}

TEST_F(ClipboardMonitorTest, BlankTextAddsNothingButItsChangeIsSeen)
{
    pasteboard.setText(" \n\t \r\n");
    monitor.poll();
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty());
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(pasteboard.dataReads(), 0);
}

TEST_F(ClipboardMonitorTest, NothingChangedMeansNothingRead)
{
    copyText("once");
    const int reads = pasteboard.dataReads();
    for (int i = 0; i < 5; ++i) {
        monitor.poll();
    }
    EXPECT_EQ(monitor.items().size(), 1);
    EXPECT_EQ(pasteboard.dataReads(), reads);
    EXPECT_EQ(notifications, 1);
}

TEST_F(ClipboardMonitorTest, InvalidUtf8TextIsCapturedWithReplacementCharacters)
{
    pasteboard.setContents({{PasteboardType::plainText, QByteArray("ok \xff\xfe\xc3 end")}});
    tick();
    ASSERT_EQ(monitor.items().size(), 1);
    EXPECT_TRUE(monitor.items().first().text.startsWith("ok "));
    EXPECT_TRUE(monitor.items().first().text.endsWith(" end"));
}

TEST_F(ClipboardMonitorTest, TextAndImageMakeOneEntryKeyedByDigestAndText)
{
    const QByteArray png = encodedImage("png");
    pasteboard.setContents({{PasteboardType::png, png}, {PasteboardType::plainText, "caption"}});
    tick();

    ASSERT_EQ(monitor.items().size(), 1);
    const ClipEntry entry = monitor.items().first();
    EXPECT_EQ(entry.text, "caption");
    EXPECT_EQ(entry.displayTitle(), "caption");
    ASSERT_TRUE(entry.hasImage());
    EXPECT_EQ(entry.imagePasteboardType, PasteboardType::png);
    EXPECT_EQ(decodedImage(*entry.imageData, "png").size(), QSize(8, 6));
    EXPECT_EQ(ClipboardMonitor::contentKey(entry),
        "img:" + Crypto::sha256Hex(*entry.imageData) + "|txt:caption");
    EXPECT_EQ(notifications, 1);
}

TEST_F(ClipboardMonitorTest, AnImageClipIsTheSameClipOnlyWithTheSameImageAndTheSameText)
{
    const QByteArray blue = encodedImage("png", Qt::blue);
    const QByteArray green = encodedImage("png", Qt::green);
    pasteboard.setContents({{PasteboardType::png, blue}, {PasteboardType::plainText, "one"}});
    tick();
    pasteboard.setContents({{PasteboardType::png, blue}, {PasteboardType::plainText, "two"}});
    tick();
    pasteboard.setContents({{PasteboardType::png, green}, {PasteboardType::plainText, "two"}});
    tick();
    pasteboard.setContents({{PasteboardType::png, blue}, {PasteboardType::plainText, " one "}});
    tick();
    pasteboard.setText("one");
    tick();
    const auto colourOf = [&](int index) {
        const auto& image = monitor.items()[index].imageData;
        return image ? decodedImage(*image, "png").pixelColor(0, 0) : QColor();
    };
    ASSERT_EQ(texts().join(" | ").toStdString(), "one | one | two | two");
    EXPECT_FALSE(monitor.items()[0].hasImage()) << "a text clip never equals an image clip";
    EXPECT_EQ(colourOf(1), QColor(Qt::blue));
    EXPECT_EQ(colourOf(2), QColor(Qt::green)) << "another picture with the same text is another clip";
    EXPECT_EQ(colourOf(3), QColor(Qt::blue));

    // Two pictures copied with no text at all.
    const QByteArray red = encodedImage("png", Qt::red);
    pasteboard.setContents({{PasteboardType::png, red}});
    tick();
    pasteboard.setContents({{PasteboardType::png, green}});
    tick();
    ASSERT_EQ(monitor.items().size(), 6);
    EXPECT_EQ(colourOf(0), QColor(Qt::green));
    EXPECT_EQ(colourOf(1), QColor(Qt::red));
}

TEST_F(ClipboardMonitorTest, ImagesAreStoredAsPngWithTheTypeTheyCameUnder)
{
    struct Case {
        QString type;
        const char* format;
    };
    const QList<Case> cases {{PasteboardType::tiff, "tiff"}, {"image/jpeg", "jpeg"}, {"image/bmp", "bmp"}};
    for (const Case& c : cases) {
        pasteboard.setContents({{"text/uri-list", "file:///x"}, {c.type, encodedImage(c.format, Qt::green)}});
        tick();
        ASSERT_FALSE(monitor.items().isEmpty()) << c.format;
        const ClipEntry entry = monitor.items().first();
        EXPECT_EQ(entry.imagePasteboardType, c.type);
        EXPECT_FALSE(decodedImage(*entry.imageData, "png").isNull()) << c.format << " kept as PNG bytes";
        EXPECT_EQ(entry.displayTitle(), "Image");
    }
}

TEST_F(ClipboardMonitorTest, PngIsPreferredThenTiffThenTheListOrder)
{
    pasteboard.setContents({{"image/bmp", encodedImage("bmp", Qt::red)},
        {PasteboardType::tiff, encodedImage("tiff", Qt::green)}, {PasteboardType::png, "not a png"}});
    tick();
    ASSERT_EQ(monitor.items().size(), 1);
    EXPECT_EQ(monitor.items().first().imagePasteboardType, PasteboardType::tiff)
        << "an undecodable PNG falls through to the TIFF";
    EXPECT_EQ(decodedImage(*monitor.items().first().imageData).pixelColor(0, 0), QColor(Qt::green));
}

TEST_F(ClipboardMonitorTest, UndecodableOrEmptyImagesAreSkipped)
{
    pasteboard.setContents({{PasteboardType::png, QByteArrayLiteral("\x89PNG\r\n\x1a\n garbage")}});
    tick();
    pasteboard.setContents({{PasteboardType::png, {}}, {"image/gif", {}}});
    tick();
    EXPECT_TRUE(monitor.items().isEmpty());
    EXPECT_EQ(notifications, 0);

    pasteboard.setContents({{PasteboardType::png, "junk"}, {PasteboardType::plainText, "kept"}});
    tick();
    ASSERT_EQ(monitor.items().size(), 1);
    EXPECT_FALSE(monitor.items().first().hasImage());
    EXPECT_EQ(monitor.items().first().text, "kept");
}

TEST_F(ClipboardMonitorTest, AHugeTypeListCostsABoundedNumberOfReads)
{
    QList<QPair<QString, QByteArray>> items;
    for (int i = 0; i < 500; ++i) {
        items.append({QStringLiteral("image/x-made-up-%1").arg(i), "junk"});
        items.append({QStringLiteral("application/x-other-%1").arg(i), "junk"});
    }
    items.append({PasteboardType::plainText, "text survives"});
    pasteboard.setContents(items);
    tick();
    ASSERT_EQ(monitor.items().size(), 1);
    EXPECT_EQ(monitor.items().first().text, "text survives");
    EXPECT_LE(pasteboard.dataReads(), 10);
}

TEST_F(ClipboardMonitorTest, AnOwnerThatStopsAnsweringIsNotAskedForEveryType)
{
    QList<QPair<QString, QByteArray>> items {{PasteboardType::plainText, "words"}};
    for (int i = 0; i < 20; ++i) {
        items.append({QStringLiteral("image/x-slow-%1").arg(i), {}});
    }
    pasteboard.setContents(items);
    pasteboard.setReadDelay(1100);
    tick();
    EXPECT_EQ(pasteboard.dataReads(), 1);
    EXPECT_EQ(texts(), (QStringList {"words"}));
}

TEST_F(ClipboardMonitorTest, CapturesKeepTheirOrderWhileAnImageConverts)
{
    pasteboard.setContents({{PasteboardType::png, encodedImage("png", Qt::red, {1200, 900})}});
    monitor.poll();
    EXPECT_TRUE(monitor.hasPendingCapture()) << "the conversion runs off the main thread";
    pasteboard.setText("copied right after");
    monitor.poll();
    ASSERT_TRUE(waitUntil([&] { return !monitor.hasPendingCapture(); }, 20000));
    ASSERT_EQ(monitor.items().size(), 2);
    EXPECT_EQ(monitor.items()[0].text, "copied right after");
    EXPECT_TRUE(monitor.items()[1].hasImage());
    EXPECT_EQ(notifications, 2);
}

TEST_F(ClipboardMonitorTest, AnImageGoneBeforeItCouldBeReadIsNotGuessed)
{
    pasteboard.setContents({{PasteboardType::png, "junk"}, {PasteboardType::tiff, encodedImage("tiff")},
        {PasteboardType::plainText, "first"}});
    monitor.poll();
    pasteboard.setText("second");
    monitor.poll();
    ASSERT_TRUE(waitUntil([&] { return !monitor.hasPendingCapture(); }, 20000));
    EXPECT_EQ(texts(), (QStringList {"second", "first"}));
    EXPECT_FALSE(monitor.items()[1].hasImage()) << "the TIFF was no longer on the pasteboard";
}
