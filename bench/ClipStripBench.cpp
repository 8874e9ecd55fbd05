// Opens the clip strip's popover over a history of 50 clips, 10 of them 4-megapixel images, and
// prints the time the history takes to arrive, the time until every thumbnail has been made in
// the background, the median time from the toggle to the popover's first paint (20 runs) and
// the median time of a search keystroke.
#include "clipboard/ClipStripList.h"
#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/ClipboardStripView.h"
#include "platform/Pasteboard.h"
#include "platform/Popover.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace norvelle;

namespace {

constexpr int clipCount = 50;
constexpr int imageCount = 10;
constexpr int runCount = 20;

QByteArray fourMegapixelPng(int seed)
{
    QImage image(2000, 2000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 2000, 2000);
    gradient.setColorAt(0, QColor::fromHsv(seed * 36 % 360, 200, 230));
    gradient.setColorAt(1, QColor::fromHsv((seed * 36 + 140) % 360, 220, 120));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator random(seed);
    for (int i = 0; i < 400; ++i) {
        painter.setPen(QColor::fromRgb(random.generate()));
        painter.drawLine(random.bounded(2000), random.bounded(2000), random.bounded(2000), random.bounded(2000));
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QList<ClipEntry> history()
{
    QList<ClipEntry> items;
    for (int i = 0; i < clipCount; ++i) {
        ClipEntry entry;
        entry.id = QUuid::createUuid();
        entry.sourceApp = i % 2 ? QStringLiteral("Firefox") : QStringLiteral("Terminal");
        entry.createdAt = QDateTime::currentDateTime().addSecs(-60 * i);
        if (i % (clipCount / imageCount) == 1) {
            entry.imageData = fourMegapixelPng(i);
            entry.imagePasteboardType = PasteboardType::png;
        } else {
            entry.text = QStringLiteral("Clip %1: lorem ipsum dolor sit amet, consectetur adipiscing elit %2").arg(i).arg(QString(i * 40, u'x'));
        }
        items << entry;
    }
    return items;
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("Preparing %d clips (%d of them 2000 x 2000 PNG images)...\n", clipCount, imageCount);
    const QList<ClipEntry> items = history();

    ClipboardMonitor monitor(Pasteboard::general(), [] { return QStringLiteral("Bench"); });
    Popover popover(QSize(320, 520));
    auto* strip = new ClipboardStripView(monitor, {.onCreateSticky = {}, .onPasteClip = {}, .onDismiss = [&] { popover.performClose(); }, .onOpenMain = {}});
    popover.setContentWidget(strip);

    QElapsedTimer timer;
    timer.start();
    monitor.setItems(items);
    const double arrival = timer.nsecsElapsed() / 1e6;
    const auto pending = [&] {
        return std::any_of(items.begin(), items.end(),
            [](const ClipEntry& entry) { return ClipThumbnailCache::shared().isPending(entry.id); });
    };
    while (pending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    const double thumbnails = timer.nsecsElapsed() / 1e6;

    // The rows are drawn last in a frame: their first paint ends it.
    PaintCounter counter;
    strip->list()->installEventFilter(&counter);
    std::vector<double> opens;
    for (int run = 0; run < runCount; ++run) {
        counter.paints = 0;
        timer.restart();
        popover.showRelativeTo(QRect(600, 0, 24, 24));
        while (counter.paints == 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        opens.push_back(timer.nsecsElapsed() / 1e6);
        popover.performClose();
        QCoreApplication::processEvents();
    }

    popover.showRelativeTo(QRect(600, 0, 24, 24));
    std::vector<double> keystrokes;
    const QString query = QStringLiteral("lorem ipsum 4");
    for (int run = 0; run < runCount; ++run) {
        strip->searchField()->clear();
        QCoreApplication::processEvents();
        for (int length = 1; length <= query.size(); ++length) {
            timer.restart();
            strip->searchField()->setText(query.left(length));
            strip->repaint();
            keystrokes.push_back(timer.nsecsElapsed() / 1e6);
        }
    }

    std::printf("history arrives: %.1f ms; its thumbnails made in the background by %.0f ms\n", arrival, thumbnails);
    std::printf("toggle to first paint of the popover, median of %d: %.2f ms\n", runCount, median(opens));
    std::printf("search keystroke (filter and repaint), median of %zu: %.3f ms\n", keystrokes.size(), median(keystrokes));
    return 0;
}
