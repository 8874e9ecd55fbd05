// Clipboard monitor costs: a tick with no change, and capturing a 1 MB text and a 4-megapixel
// PNG copied by "another program" (QClipboard written directly, offscreen unless
// QT_QPA_PLATFORM says otherwise). Prints medians.
#include "clipboard/ClipboardMonitor.h"
#include "platform/Pasteboard.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QMimeData>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace norvelle;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void copyAsAnotherProgram(QMimeData* mime)
{
    QGuiApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
}

// Runs the event loop until the monitor has taken in the pending capture.
void settle(ClipboardMonitor& monitor)
{
    while (monitor.hasPendingCapture()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(200);
    }
}

QByteArray photoLikePng(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            // Smooth gradients with a little noise compress like a screenshot or photo.
            const quint32 noise = random.bounded(8u);
            line[x] = qRgb((x / 8 + noise) & 0xff, (y / 8 + noise) & 0xff, ((x + y) / 16) & 0xff);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ClipboardMonitor monitor(Pasteboard::general(), [] { return QStringLiteral("Bench"); });

    // Fill the history so every tick filters a full list.
    for (int i = 0; i < ClipboardMonitor::maxHistoryItems; ++i) {
        auto* mime = new QMimeData;
        mime->setText(QStringLiteral("clip %1").arg(i));
        copyAsAnotherProgram(mime);
        monitor.poll();
    }

    std::vector<double> idle;
    for (int round = 0; round < 21; ++round) {
        constexpr int ticks = 10000;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < ticks; ++i) {
            monitor.poll();
        }
        idle.push_back(double(timer.nsecsElapsed()) / ticks / 1000.0);
    }
    std::printf("idle poll (50 clips in the history): median %.2f us\n", median(idle));

    const QString megabyte(1 << 20, QLatin1Char('t'));
    std::vector<double> text;
    for (int round = 0; round < 21; ++round) {
        auto* mime = new QMimeData;
        mime->setText(QString::number(round) + megabyte);
        copyAsAnotherProgram(mime);
        QElapsedTimer timer;
        timer.start();
        monitor.poll();
        settle(monitor);
        text.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("1 MB text capture: median %.2f ms\n", median(text));

    const QByteArray png = photoLikePng(2400, 1700);
    std::vector<double> tick, total;
    for (int round = 0; round < 9; ++round) {
        auto* mime = new QMimeData;
        mime->setData(PasteboardType::png, png);
        mime->setText(QStringLiteral("shot %1").arg(round));
        copyAsAnotherProgram(mime);
        QElapsedTimer timer;
        timer.start();
        monitor.poll();
        tick.push_back(double(timer.nsecsElapsed()) / 1e6);
        settle(monitor);
        total.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("4-megapixel PNG capture (%.1f MB): median %.2f ms on the main thread, %.1f ms until in the history\n",
        png.size() / 1e6, median(tick), median(total));
    return 0;
}
