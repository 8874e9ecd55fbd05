#pragma once

#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardMonitor.h"
#include "platform/NotificationCenter.h"
#include "support/FakePasteboard.h"
#include "support/QtPrinters.h"
#include "support/TestHome.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>

namespace norvelle::test {

// A clip made directly, as the monitor would have captured it `secondsAgo` seconds ago.
inline ClipEntry makeClip(const QString& text, const QString& source = QStringLiteral("Editor"),
    qint64 secondsAgo = 60, std::optional<QByteArray> png = std::nullopt)
{
    ClipEntry entry;
    entry.id = QUuid::createUuid();
    entry.text = text;
    entry.imageData = std::move(png);
    if (entry.imageData)
        entry.imagePasteboardType = QStringLiteral("image/png");
    entry.sourceApp = source;
    entry.createdAt = QDateTime::currentDateTime().addSecs(-secondsAgo);
    return entry;
}

// PNG bytes of a picture with some structure, so thumbnails can be told apart when looked at.
inline QByteArray makePng(QSize size, QColor from, QColor to)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QPen(Qt::white, std::max(2, size.width() / 40)));
    painter.drawEllipse(QRect(QPoint(0, 0), size).adjusted(size.width() / 4, size.height() / 4, -size.width() / 4, -size.height() / 4));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Waits until the thumbnails of `items` have been made in the background.
inline bool thumbnailsArrive(const QList<ClipEntry>& items)
{
    return waitUntil([&] {
        return std::none_of(items.begin(), items.end(),
            [](const ClipEntry& entry) { return ClipThumbnailCache::shared().isPending(entry.id); });
    },
        20000);
}

// A dark desktop palette, as a dark theme would give.
inline QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x24, 0x24, 0x27));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(0x1c, 0x1c, 0x1e));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(255, 255, 255, 100));
    palette.setColor(QPalette::Button, QColor(0x3a, 0x3a, 0x3c));
    palette.setColor(QPalette::ButtonText, Qt::white);
    palette.setColor(QPalette::Highlight, QColor(0x0a, 0x84, 0xff));
    return palette;
}

// The views' tests: a monitor over a fake pasteboard whose history a test sets directly, and a
// count of the history notifications.
class ClipViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        NotificationCenter::defaultCenter().addObserver(ClipboardMonitor::historyChangedNotification, nullptr,
            [this](const Notification&) { ++notifications; });
    }

    // Shows `widget` as the active window, so its keyboard shortcuts are live.
    static void showActive(QWidget& widget)
    {
        widget.show();
        QApplication::setActiveWindow(&widget);
        ASSERT_TRUE(waitUntil([&] { return widget.isActiveWindow(); }, 5000));
    }

    FakePasteboard pasteboard;
    ClipboardMonitor monitor {pasteboard, [] { return QStringLiteral("Editor"); }};
    int notifications = 0;
};

} // namespace norvelle::test
