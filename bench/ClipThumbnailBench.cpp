// What an image clip's thumbnail costs, whatever the picture's proportions: another program
// (xclip) puts a PNG on the real X clipboard, the monitor captures it, and the Clipboard history
// view is opened and drawn with its thumbnail. For each picture it prints the median of five
// runs of the time from opening the view until the thumbnail is drawn and the rise of the peak
// resident size (VmHWM) over that time (target: 50 ms and 50 MB), and that rise over the
// capture. Memory the process already held and freed is used again without a rise. Needs an X
// server (DISPLAY); QT_SCALE_FACTOR=2 gives the figures at a device-pixel ratio of 2.
#include "BenchFigures.h"
#include "support/ProcessMemory.h"
#include "support/ProgramRun.h"

#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardHistoryPane.h"
#include "clipboard/ClipboardMonitor.h"
#include "platform/Pasteboard.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>
#include <vector>

using namespace norvelle;

namespace {

constexpr int runCount = 5;

// Bands of colour along the long side; `run` shifts them so no two copies are the same clip.
QByteArray bandedPng(QSize size, int run)
{
    QImage image(size, QImage::Format_RGB32);
    const bool tall = size.height() >= size.width();
    const int length = tall ? size.height() : size.width();
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int along = tall ? y : x;
            line[x] = qRgb((along * 255 / length + run) & 0xff, (x * 7 + run * 30) & 0xff, (y * 5) & 0xff);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

void runEvents()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("Needs an X server: run it under xvfb-run.\n");
        return 1;
    }
    QApplication app(argc, argv);
    ClipboardMonitor monitor(Pasteboard::general(), [] { return QStringLiteral("Bench"); });
    monitor.start();

    for (const QSize size : {QSize(1, 120000), QSize(120000, 1), QSize(1, 60000), QSize(2000, 1500)}) {
        std::vector<double> times, peaks, capturePeaks;
        int pngBytes = 0;
        for (int run = 0; run < runCount; ++run) {
            const QByteArray png = bandedPng(size, run);
            pngBytes = int(png.size());
            const int before = int(monitor.items().size());
            test::resetPeak();
            const long residentBeforeCopy = test::kilobytes("VmRSS:");
            test::runProgram("xclip", {"-selection", "clipboard", "-t", "image/png", "-i"}, png);
            while (monitor.items().size() == before || monitor.hasPendingCapture())
                runEvents();
            capturePeaks.push_back((test::kilobytes("VmHWM:") - residentBeforeCopy) / 1024.0);
            const ClipEntry clip = monitor.items().first();

            test::resetPeak();
            const long residentBefore = test::kilobytes("VmRSS:");
            QElapsedTimer timer;
            timer.start();
            ClipboardHistoryPane pane(monitor, {}, {});
            pane.resize(720, 560);
            pane.show();
            while (!ClipThumbnailCache::shared().hasDecoded(clip.id))
                runEvents();
            pane.grab();
            times.push_back(timer.nsecsElapsed() / 1e6);
            peaks.push_back((test::kilobytes("VmHWM:") - residentBefore) / 1024.0);
        }
        std::printf("%6d x %-6d PNG of %7d bytes: view opened to thumbnail drawn %.1f ms, peak memory %+.1f MB "
                    "(target 50 ms, 50 MB); its capture: peak memory %+.1f MB (medians of %d)\n",
            size.width(), size.height(), pngBytes, bench::percentile(times, 0.5), bench::percentile(peaks, 0.5),
            bench::percentile(capturePeaks, 0.5), runCount);
    }
    return 0;
}
