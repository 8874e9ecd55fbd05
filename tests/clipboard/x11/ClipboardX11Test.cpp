// The monitor over the real X11 clipboard, with xclip as the other program.
#include "clipboard/ClipCardList.h"
#include "clipboard/ClipStripList.h"
#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardHistoryPane.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/ClipboardStripView.h"
#include "platform/Pasteboard.h"
#include "support/ProcessMemory.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include "../ClipboardTestImages.h"

#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace norvelle;
using namespace norvelle::test;

namespace {

constexpr int generous = 20000;
const char* const silentOwnerVariable = "NORVELLE_SILENT_CLIPBOARD_OWNER";

// The other program: this same executable started with silentOwnerVariable set takes the
// clipboard, says so, and then never answers anyone again, as a hung program would.
const bool runsAsSilentOwner = [] {
    if (qEnvironmentVariableIsEmpty(silentOwnerVariable)) {
        return false;
    }
    static int argc = 1;
    static char name[] = "silent-owner";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    // Setting the text waits for the server to name this program the owner; no event is handled after it.
    QGuiApplication::clipboard()->setText("never handed over");
    std::printf("owning\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::seconds(60));
    std::exit(0);
}();

// Another program takes the clipboard with `bytes` under `type`.
void xclipCopy(const QByteArray& bytes, const QString& type = "UTF8_STRING")
{
    runProgram("xclip", {"-selection", "clipboard", "-t", type, "-i"}, bytes);
}

QByteArray xclipPaste(const QString& selection = "clipboard", const QString& type = "UTF8_STRING")
{
    return runProgram("xclip", {"-selection", selection, "-t", type, "-o"});
}

// Runs ticks until the monitor holds `count` clips and no capture is pending.
bool tickUntil(ClipboardMonitor& monitor, int count)
{
    return waitUntil([&] {
        monitor.poll();
        return monitor.items().size() == count && !monitor.hasPendingCapture();
    },
        generous);
}

// Lets the change notification of another program's copy reach us.
bool changeArrives(qint64 before)
{
    return waitUntil([&] { return Pasteboard::general().changeCount() != before; }, generous);
}

ClipEntry textClip(const QString& text)
{
    return {QUuid::createUuid(), text, std::nullopt, std::nullopt, "App", QDateTime::currentDateTimeUtc()};
}

} // namespace

TEST(ClipboardX11, TextCopiedByAnotherProgramIsCaptured)
{
    ClipboardMonitor monitor;
    xclipCopy("  copied by xclip \n");
    ASSERT_TRUE(tickUntil(monitor, 1));
    const ClipEntry entry = monitor.items().first();
    EXPECT_EQ(entry.text, "copied by xclip");
    EXPECT_FALSE(entry.hasImage());
    EXPECT_FALSE(entry.sourceApp.isEmpty());
}

// The running program asks the X server nothing on a timer: the change notice brings the copy.
TEST(ClipboardX11, AStartedMonitorTakesCopiesAsTheyHappenAndNeverItsOwnWrites)
{
    ClipboardMonitor monitor;
    monitor.start();
    QElapsedTimer sinceCopy;
    sinceCopy.start();
    xclipCopy("seen without a poll");
    ASSERT_TRUE(waitUntil([&] { return monitor.items().size() == 1; }, generous));
    EXPECT_EQ(monitor.items().first().text, "seen without a poll");
    std::printf("captured %lld ms after xclip started\n", static_cast<long long>(sinceCopy.elapsed()));

    monitor.copyToPasteboard(textClip("pasted back"), 0.22);
    EXPECT_EQ(xclipPaste(), "pasted back");
    ASSERT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, generous));
    waitUntil([] { return false; }, 300);
    EXPECT_EQ(monitor.items().size(), 1) << "our own write is not taken back";

    xclipCopy("second copy");
    ASSERT_TRUE(waitUntil([&] { return monitor.items().size() == 2; }, generous));
    EXPECT_EQ(monitor.items().first().text, "second copy");
}

TEST(ClipboardX11, PngAndTiffCopiedByAnotherProgramAreCapturedAsPng)
{
    ClipboardMonitor monitor;
    xclipCopy(encodedImage("png", Qt::red, {40, 30}), PasteboardType::png);
    ASSERT_TRUE(tickUntil(monitor, 1));
    xclipCopy(encodedImage("tiff", Qt::blue, {20, 10}), PasteboardType::tiff);
    ASSERT_TRUE(tickUntil(monitor, 2));

    const ClipEntry tiff = monitor.items()[0];
    const ClipEntry png = monitor.items()[1];
    EXPECT_EQ(png.imagePasteboardType, PasteboardType::png);
    EXPECT_EQ(tiff.imagePasteboardType, PasteboardType::tiff);
    const QImage fromPng = decodedImage(*png.imageData, "png");
    const QImage fromTiff = decodedImage(*tiff.imageData, "png");
    EXPECT_EQ(fromPng.size(), QSize(40, 30));
    EXPECT_EQ(fromTiff.size(), QSize(20, 10));
    EXPECT_EQ(fromTiff.pixelColor(3, 3), QColor(Qt::blue));
    EXPECT_EQ(tiff.displayTitle(), "Image");
}

TEST(ClipboardX11, OwnCopyBackIsNotCapturedAndOtherProgramsPasteIt)
{
    ClipboardMonitor monitor;
    monitor.copyToPasteboard(textClip("pasted back"), 0.22);
    for (int i = 0; i < 5; ++i) {
        monitor.poll();
    }
    EXPECT_EQ(xclipPaste(), "pasted back");
    EXPECT_EQ(xclipPaste("primary"), "pasted back") << "the primary selection carries it too";
    ASSERT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, generous));
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty());

    const QByteArray png = encodedImage("png", Qt::green, {12, 12});
    const ClipEntry image {QUuid::createUuid(), "with words", png, PasteboardType::png, "App",
        QDateTime::currentDateTimeUtc()};
    monitor.copyToPasteboard(image, 0.22);
    EXPECT_EQ(xclipPaste("clipboard", PasteboardType::png), png);
    EXPECT_EQ(xclipPaste(), "with words");
    ASSERT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, generous));
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty());
}

TEST(ClipboardX11, AChangeInsideTheCopyBackWindowIsDroppedTheNextOneCaptured)
{
    ClipboardMonitor monitor;
    // A window wide enough for xclip to start inside it on a loaded machine.
    monitor.copyToPasteboard(textClip("ours"), 3.0);
    QElapsedTimer sinceCopy;
    sinceCopy.start();
    waitUntil([] { return false; }, 50);

    const qint64 before = Pasteboard::general().changeCount();
    xclipCopy("racing");
    ASSERT_TRUE(changeArrives(before));
    ASSERT_TRUE(monitor.isInternalCopy()) << "xclip's copy came " << sinceCopy.elapsed() << " ms after ours, past the window";
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty());

    ASSERT_TRUE(waitUntil([&] { return !monitor.isInternalCopy(); }, generous));
    monitor.poll();
    EXPECT_TRUE(monitor.items().isEmpty());
    xclipCopy("after the window");
    ASSERT_TRUE(tickUntil(monitor, 1));
    EXPECT_EQ(monitor.items().first().text, "after the window");
}

TEST(ClipboardX11, ABigImageIsConvertedOffTheMainThread)
{
    QImage noise(2600, 2000, QImage::Format_RGB32);
    QRandomGenerator random(4);
    for (int y = 0; y < noise.height(); ++y) {
        random.fillRange(reinterpret_cast<quint32*>(noise.scanLine(y)), noise.width());
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    noise.save(&buffer, "png");
    ASSERT_GT(png.size(), 10'000'000);

    ClipboardMonitor monitor;
    const qint64 before = Pasteboard::general().changeCount();
    xclipCopy(png, PasteboardType::png);
    ASSERT_TRUE(changeArrives(before));
    monitor.poll();
    EXPECT_TRUE(monitor.hasPendingCapture()) << "the tick hands the conversion over and returns";
    ASSERT_TRUE(tickUntil(monitor, 1));
    EXPECT_EQ(decodedImage(*monitor.items().first().imageData, "png").size(), noise.size());
}

TEST(ClipboardX11, BrokenImagesAndBlankTextFromAnotherProgramAreSkippedAndBadBytesKept)
{
    ClipboardMonitor monitor;
    const QList<QPair<QByteArray, QString>> skipped {
        {"\x89PNG\r\n\x1a\n this is no image", PasteboardType::png},
        {{}, PasteboardType::png},
        {"GIF89a broken", "image/gif"},
        {" \n\t ", "UTF8_STRING"},
    };
    for (const auto& [bytes, type] : skipped) {
        const qint64 before = Pasteboard::general().changeCount();
        xclipCopy(bytes, type);
        ASSERT_TRUE(changeArrives(before)) << type.toStdString();
        monitor.poll();
        ASSERT_TRUE(waitUntil([&] { return !monitor.hasPendingCapture(); }, generous));
        EXPECT_TRUE(monitor.items().isEmpty()) << type.toStdString();
    }

    xclipCopy("bad \xff\xfe bytes");
    ASSERT_TRUE(tickUntil(monitor, 1));
    EXPECT_TRUE(monitor.items().first().text.startsWith("bad "));
}

// A program that took the clipboard and hangs costs nothing but its clip: the program goes on
// answering while it waits for it, and the next copy is taken.
TEST(ClipboardX11, AProgramThatTakesTheClipboardAndNeverAnswersDoesNotHoldTheProgram)
{
    ASSERT_FALSE(runsAsSilentOwner);
    ClipboardMonitor monitor;
    monitor.start();
    // The longest the event loop goes without turning from now on.
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    qint64 longestHold = 0;
    QTimer turns;
    QObject::connect(&turns, &QTimer::timeout, [&] { longestHold = std::max(longestHold, sinceTurn.restart()); });
    turns.start(20);

    QProcess owner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(silentOwnerVariable, "1");
    owner.setProcessEnvironment(environment);
    const qint64 before = Pasteboard::general().changeCount();
    owner.start(QCoreApplication::applicationFilePath(), {});
    ASSERT_TRUE(waitUntil([&] { return owner.canReadLine(); }, generous));
    ASSERT_TRUE(changeArrives(before));
    waitUntil([] { return false; }, 6000);
    longestHold = std::max(longestHold, sinceTurn.elapsed());
    EXPECT_LT(longestHold, 2000) << "the silent owner held the program " << longestHold << " ms";
    EXPECT_TRUE(monitor.items().isEmpty());

    xclipCopy("after the silent one");
    EXPECT_TRUE(waitUntil([&] { return monitor.items().size() == 1; }, generous));
    owner.kill();
    owner.waitForFinished();
}

// A program held up (here: stopped) while it is asked for its clip, and answering only after the
// next copy, finds the window it was asked from still there instead of failing on it.
TEST(ClipboardX11, AnOwnerThatAnswersAfterTheNextCopyIsNotHarmed)
{
    ClipboardMonitor monitor;
    QProcess late;
    const qint64 before = Pasteboard::general().changeCount();
    late.start("xclip", {"-quiet", "-selection", "clipboard", "-i"});
    ASSERT_TRUE(late.waitForStarted(generous));
    late.write("answered late");
    late.closeWriteChannel();
    ASSERT_TRUE(changeArrives(before));
    ::kill(pid_t(late.processId()), SIGSTOP);
    monitor.poll();

    xclipCopy("the next copy");
    ASSERT_TRUE(tickUntil(monitor, 1));
    EXPECT_EQ(monitor.items().first().text, "the next copy");
    ::kill(pid_t(late.processId()), SIGCONT);
    ASSERT_TRUE(late.waitForFinished(generous));
    EXPECT_EQ(late.exitCode(), 0) << late.readAllStandardError().toStdString();
}

// A picture one pixel wide and 120,000 tall (a few hundred bytes of PNG): opening the history
// draws its centre in the card and the whole of it squeezed in the strip, at a cost in memory
// that does not grow with its length.
TEST(ClipboardX11, AnImageOfExtremeProportionsGetsItsThumbnailsAtASmallCost)
{
    QImage stripe(1, 120000, QImage::Format_RGB32);
    for (int y = 0; y < stripe.height(); ++y)
        stripe.setPixel(0, y, y < 40000 ? qRgb(255, 0, 0) : y < 80000 ? qRgb(0, 255, 0)
                                                                      : qRgb(0, 0, 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    stripe.save(&buffer, "png");
    ASSERT_LT(png.size(), 4000);

    ClipboardMonitor monitor;
    xclipCopy(png, PasteboardType::png);
    ASSERT_TRUE(tickUntil(monitor, 1));

    resetPeak();
    const long residentBefore = kilobytes("VmRSS:");
    ClipboardHistoryPane pane(monitor, {}, {});
    pane.resize(720, 560);
    pane.show();
    ClipboardStripView strip(monitor, {});
    strip.resize(ClipboardStripView::stripWidth, 520);
    strip.show();
    ASSERT_TRUE(waitUntil([&] { return ClipThumbnailCache::shared().hasDecoded(monitor.items().first().id); }, generous));
    const QImage cards = pane.cards()->grab().toImage();
    const QImage rows = strip.list()->grab().toImage();
    EXPECT_LT(kilobytes("VmHWM:") - residentBefore, 50 * 1024) << "peak memory in kB above the resident size before";

    // The card shows the picture's centre, a square of green.
    const QRect card = pane.cards()->itemRect(0);
    const QPoint cardVisual(card.left() + 12 + 22, card.center().y());
    EXPECT_EQ(cards.pixelColor(cardVisual), QColor(0, 255, 0));
    EXPECT_EQ(cards.pixelColor(cardVisual + QPoint(-15, -15)), QColor(0, 255, 0));
    EXPECT_EQ(cards.pixelColor(cardVisual + QPoint(15, 15)), QColor(0, 255, 0));
    // The strip's row shows all of it: red, green and blue from top to bottom.
    const QRect row = strip.list()->itemRect(0);
    const QPoint rowThumbnail(row.left() + 10 + 20, row.center().y());
    EXPECT_EQ(rows.pixelColor(rowThumbnail + QPoint(0, -15)), QColor(255, 0, 0));
    EXPECT_EQ(rows.pixelColor(rowThumbnail), QColor(0, 255, 0));
    EXPECT_EQ(rows.pixelColor(rowThumbnail + QPoint(0, 15)), QColor(0, 0, 255));
}
