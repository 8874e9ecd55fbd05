// What the analytics tracker hands to syslog(3), taken at that call: this executable's own
// syslog stands in front of the C library's.
#include "core/OSLogAnalyticsTracker.h"
#include "platform/SystemLog.h"

#include <QByteArrayList>
#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>

#include <syslog.h>

namespace {

std::mutex recordedMutex;
QByteArrayList recorded;
QList<int> recordedPriorities;

} // namespace

extern "C" void syslog(int priority, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    char text[4096];
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    std::lock_guard lock(recordedMutex);
    recorded.append(text);
    recordedPriorities.append(priority);
}

namespace norvelle {
namespace {

TEST(AnalyticsSyslog, TheSystemLogGetsExactlyTheEventAndMetadataText)
{
    SystemLog::setSink({});
    {
        std::lock_guard lock(recordedMutex);
        recorded.clear();
        recordedPriorities.clear();
    }
    OSLogAnalyticsTracker::shared().track("note_created", {{"source", "menu_or_shortcut"}});
    OSLogAnalyticsTracker::shared().track("app_launched", {});

    std::lock_guard lock(recordedMutex);
    EXPECT_EQ(recorded, (QByteArrayList {R"(event=note_created metadata=["source": "menu_or_shortcut"])", "event=app_launched metadata=[:]"}));
    EXPECT_EQ(recordedPriorities, (QList<int> {LOG_NOTICE, LOG_NOTICE}));
}

} // namespace
} // namespace norvelle
