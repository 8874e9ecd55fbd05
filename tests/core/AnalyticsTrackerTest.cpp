#include "core/OSLogAnalyticsTracker.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/LogCapture.h"
#include "support/QtPrinters.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QStringList trackAndCapture(const QString& event, const AnalyticsMetadata& metadata)
{
    test::LogCapture log;
    OSLogAnalyticsTracker::shared().track(event, metadata);
    return log.messages();
}

} // namespace

TEST(AnalyticsLogLine, EventWithMetadata)
{
    EXPECT_EQ(trackAndCapture("note_created", {{"source", "menu_or_shortcut"}}),
        QStringList {R"(event=note_created metadata=["source": "menu_or_shortcut"])"});
}

TEST(AnalyticsLogLine, EmptyMetadataIsWrittenAsTheEmptyDictionary)
{
    EXPECT_EQ(trackAndCapture("app_launched", {}), QStringList {"event=app_launched metadata=[:]"});
}

TEST(AnalyticsLogLine, SeveralEntriesAreSeparatedByCommaAndBlank)
{
    const QStringList lines = trackAndCapture("automation_hook_triggered",
        {{"event", "note_created"}, {"payloadCount", "2"}});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0],
        R"(event=automation_hook_triggered metadata=["event": "note_created", "payloadCount": "2"])");
}

TEST(AnalyticsLogLine, QuotesBackslashesAndControlCharactersAreEscaped)
{
    const QString value = QString("say \"hi\"\\ ") + QChar(0) + "\n\r\t" + QChar(0x1B) + QChar(0x7F)
        + QChar(0x85) + " é 日本 '";
    const QStringList lines = trackAndCapture("e", {{"k\"ey", value}});
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0],
        R"(event=e metadata=["k\"ey": "say \"hi\"\\ \0\n\r\t\u{1B}\u{7F}\u{85} é 日本 '"])");
}

TEST(AnalyticsLogLine, LinesAreWrittenAtTheDefaultLevelInTheAnalyticsCategory)
{
    test::LogCapture log;
    OSLogAnalyticsTracker::shared().track("x", {});
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_EQ(log.lines()[0].level, SystemLog::Level::Notice);
    EXPECT_TRUE(log.lines()[0].category.endsWith("analytics"));
}

TEST(TelemetrySwitch, OnlyAStoredFalseSilencesTheTracker)
{
    struct Case {
        const char* name;
        QVariant stored;
        bool logged;
    };
    const QList<Case> cases {
        {"absent", QVariant(), true},
        {"true", true, true},
        {"false", false, false},
        {"string", QString("false"), true},
        {"integer zero", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UserDefaults::standard().set("norvelle.telemetryEnabled", c.stored);
        EXPECT_EQ(storedSettings::telemetryEnabled.value(), c.logged);
        EXPECT_EQ(trackAndCapture("probe", {}).size(), c.logged ? 1 : 0);
    }
}

TEST(TelemetrySwitch, IsReadAfreshOnEveryEvent)
{
    test::LogCapture log;
    OSLogAnalyticsTracker::shared().track("first", {});
    UserDefaults::standard().set("norvelle.telemetryEnabled", false);
    OSLogAnalyticsTracker::shared().track("second", {});
    UserDefaults::standard().set("norvelle.telemetryEnabled", true);
    OSLogAnalyticsTracker::shared().track("third", {});
    EXPECT_EQ(log.messages(), (QStringList {"event=first metadata=[:]", "event=third metadata=[:]"}));
}

TEST(TelemetrySwitch, AStoredFalseSurvivesARestart)
{
    UserDefaults::standard().set("norvelle.telemetryEnabled", false);
    UserDefaults::resetStandard();
    EXPECT_FALSE(storedSettings::telemetryEnabled.value());
    EXPECT_TRUE(trackAndCapture("after_restart", {}).isEmpty());
}
