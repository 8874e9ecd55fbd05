#include "account/AccountDisplayName.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(AccountDisplayName, IsStoredTrimmedAndNeverBlank)
{
    setStoredAccountDisplayName(QStringLiteral(" \n Ada Lovelace \t\n"));
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::accountDisplayName.key), "Ada Lovelace");
    EXPECT_EQ(storedAccountDisplayName(), "Ada Lovelace");
    setStoredAccountDisplayName(QStringLiteral("   "));
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::accountDisplayName.key));
    setStoredAccountDisplayName(QStringLiteral("Ada"));
    setStoredAccountDisplayName(std::nullopt);
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::accountDisplayName.key));
    // Whatever else wrote it, a blank value reads as none.
    UserDefaults::standard().set(storedSettings::accountDisplayName.key, QStringLiteral(" \n"));
    EXPECT_EQ(storedAccountDisplayName(), std::nullopt);
    UserDefaults::standard().set(storedSettings::accountDisplayName.key, 42);
    EXPECT_EQ(storedAccountDisplayName(), std::nullopt);
}
