#include "core/CrashTelemetryService.h"
#include "core/LocalAutomationHooks.h"
#include "core/OSLogAnalyticsTracker.h"
#include "core/ReliabilityService.h"
#include "platform/UserDefaults.h"
#include "support/LogCapture.h"
#include "support/QtPrinters.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

using namespace norvelle;
using Event = test::RecordingTracker::Event;

TEST(ReliabilityService, ReportsOnlyNotesAbove8000Characters)
{
    test::RecordingTracker tracker;
    ReliabilityService service(tracker);
    service.reportLargeNote(0);
    service.reportLargeNote(8000);
    EXPECT_TRUE(tracker.events().isEmpty());

    service.reportLargeNote(8001);
    service.reportLargeNote(8001);
    const QList<Event> expected(2, Event {"large_note_detected", {{"characters", "8001"}}});
    EXPECT_EQ(tracker.events(), expected);
}

TEST(ReliabilityService, SharedInstanceLogsThroughTheSharedTracker)
{
    test::LogCapture log;
    ReliabilityService::shared().reportLargeNote(123456);
    EXPECT_EQ(log.messages(),
        QStringList {R"(event=large_note_detected metadata=["characters": "123456"])"});
    EXPECT_EQ(&ReliabilityService::shared().tracker, &OSLogAnalyticsTracker::shared());
    EXPECT_EQ(&CrashTelemetryService::shared().tracker, &OSLogAnalyticsTracker::shared());
}

TEST(LocalAutomationHooks, LogsTheEventAndThePayloadSizeButNotThePayload)
{
    test::LogCapture log;
    LocalAutomationHooks::shared().trigger("note_created", {{"title", "secret title"}, {"id", "ABC"}});
    const QStringList lines = log.messages();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0],
        R"(event=automation_hook_triggered metadata=["event": "note_created", "payloadCount": "2"])");
    EXPECT_FALSE(lines[0].contains("secret"));
}

TEST(LocalAutomationHooks, ObeysTheTelemetrySwitch)
{
    UserDefaults::standard().set("norvelle.telemetryEnabled", false);
    test::LogCapture log;
    LocalAutomationHooks::shared().trigger("note_created", {});
    EXPECT_TRUE(log.messages().isEmpty());
}
