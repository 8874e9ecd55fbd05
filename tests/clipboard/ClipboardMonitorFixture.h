#pragma once

#include "clipboard/ClipboardMonitor.h"
#include "platform/NotificationCenter.h"
#include "support/FakePasteboard.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

namespace norvelle::test {

// A monitor over a fake pasteboard, counting the history notifications it posts.
class ClipboardMonitorTest : public testing::Test {
protected:
    void SetUp() override
    {
        NotificationCenter::defaultCenter().addObserver(ClipboardMonitor::historyChangedNotification,
            nullptr, [this](const Notification&) { ++notifications; });
    }

    // One tick, waiting for any image conversion it started.
    void tick()
    {
        monitor.poll();
        ASSERT_TRUE(waitUntil([&] { return !monitor.hasPendingCapture(); }, 20000));
    }

    void copyText(const QString& text)
    {
        pasteboard.setText(text);
        tick();
    }

    QStringList texts() const
    {
        QStringList out;
        for (const ClipEntry& entry : monitor.items()) {
            out << entry.text;
        }
        return out;
    }

    FakePasteboard pasteboard;
    QString frontmost = QStringLiteral("Editor");
    ClipboardMonitor monitor {pasteboard, [this] { return frontmost; }};
    int notifications = 0;
};

} // namespace norvelle::test
