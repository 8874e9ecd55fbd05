#include "account/SyncPOSTBody.h"
#include "account/SyncPOSTResponse.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(SyncWireRecords, VersionsBeyond32BitsTravelUnchangedUpTo2To53)
{
    const qint64 big = 9007199254740993; // 2^53 + 1: not even a double holds it
    const QByteArray body = SyncPOSTBody {"dev", big, {{"id", big, "t", "b", "2030-01-01T00:00:00.000Z"}}}.toJson();
    EXPECT_TRUE(body.contains("\"sinceVersion\":9007199254740993"));
    EXPECT_TRUE(body.contains("\"notes\":[{"));
    EXPECT_TRUE((SyncPOSTBody {"dev", 0, {}}.toJson().contains("\"notes\":[]")));

    const auto reply = SyncPOSTResponse::fromJson(R"({"applied":{"applied":[],"conflicts":null},"outgoing":
        [{"id":"a","version":9007199254740992,"title":"t","body":"b","updatedAt":"not a date"}]})");
    ASSERT_TRUE(std::holds_alternative<SyncPOSTResponse>(reply));
    EXPECT_EQ(std::get<SyncPOSTResponse>(reply).outgoing.first().version, SyncPOSTResponse::maximumVersion);
    EXPECT_EQ(std::get<SyncPOSTResponse>(reply).outgoing.first().updatedAt, "not a date");
    EXPECT_TRUE(std::get<SyncPOSTResponse>(reply).applied.conflicts.isEmpty());
}
