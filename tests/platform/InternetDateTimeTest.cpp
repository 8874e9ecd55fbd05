#include "platform/InternetDateTime.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

qint64 msecs(const QString& text)
{
    const std::optional<QDateTime> date = InternetDateTime::parse(text);
    return date ? date->toMSecsSinceEpoch() : -1;
}

} // namespace

TEST(InternetDateTime, ReadsBothFormsWithAnyZone)
{
    EXPECT_EQ(msecs("2026-03-01T09:30:00Z"), 1772357400000);
    EXPECT_EQ(msecs("2026-03-01T09:30:00.125Z"), 1772357400125);
    EXPECT_EQ(msecs("2026-03-01T11:30:00.125+02:00"), 1772357400125);
    EXPECT_EQ(msecs("2026-03-01T09:00:00-00:30"), 1772357400000);
    // Digits beyond the millisecond are cut, not rounded.
    EXPECT_EQ(msecs("2026-03-01T09:30:00.1239999Z"), 1772357400123);
    EXPECT_EQ(msecs("2024-02-29T00:00:00Z") > 0, true);
}

TEST(InternetDateTime, RefusesWhatIsNotAFullInternetDateTime)
{
    for (const char* text : {"2026-03-01", "2026-03-01 09:30:00Z", "2026-03-01T09:30:00", "2026-03-01T09:30Z",
             "2026-03-01t09:30:00Z", "2026-03-01T09:30:00z", "2026-03-01T09:30:00.Z", "2026-02-30T09:30:00Z",
             "2025-02-29T00:00:00Z", "2026-03-01T24:00:00Z", "2026-03-01T23:59:60Z", "2026-13-01T00:00:00Z",
             "2026-03-01T09:30:00+0200", "2026-03-01T09:30:00Z ", " 2026-03-01T09:30:00Z", "", "yesterday",
             "２０２６-03-01T09:30:00Z", "2026-03-01T09:30:00+24:00"}) {
        EXPECT_FALSE(InternetDateTime::parse(QString::fromUtf8(text))) << text;
    }
}

TEST(InternetDateTime, WritesUtcWithMillisecondsAndReadsItBack)
{
    const QDateTime date = QDateTime::fromMSecsSinceEpoch(1772357400007, Qt::UTC).toOffsetFromUtc(3600);
    EXPECT_EQ(InternetDateTime::format(date), "2026-03-01T09:30:00.007Z");
    EXPECT_EQ(InternetDateTime::parse(InternetDateTime::format(date)), date);
}

TEST(InternetDateTime, EveryDateItReadsWritesBackAsOneItReads)
{
    // After its offset each of these falls outside the years 1 to 9999, which no text of this
    // form can hold.
    for (const char* text : {"0001-01-01T00:00:00+11:59", "0001-01-01T00:00:00.000+00:01", "9999-12-31T23:59:59-00:01",
             "0000-01-01T00:00:00Z"}) {
        EXPECT_FALSE(InternetDateTime::parse(QString::fromUtf8(text))) << text;
    }
    for (const char* text : {"0001-01-01T00:00:00Z", "0001-01-01T11:59:00+11:59", "9999-12-31T23:59:59.999Z",
             "9999-12-31T23:59:59+01:00"}) {
        const std::optional<QDateTime> date = InternetDateTime::parse(QString::fromUtf8(text));
        ASSERT_TRUE(date) << text;
        EXPECT_EQ(InternetDateTime::parse(InternetDateTime::format(*date)), date) << text;
    }
}
