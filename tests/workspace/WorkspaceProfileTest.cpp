#include "workspace/WorkspaceProfile.h"

#include "account/AccountDisplayName.h"
#include "platform/SystemUser.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>

using namespace norvelle;

TEST(WorkspaceProfile, NameComesFromTheAccountThenTheDesktopUserThenAWord)
{
    EXPECT_EQ(WorkspaceProfile::profileName(true, QStringLiteral("Ada"), "Grace Hopper"), "Ada");
    // Signed out, a display name still stored is not shown.
    EXPECT_EQ(WorkspaceProfile::profileName(false, QStringLiteral("Ada"), " Grace Hopper "), "Grace Hopper");
    EXPECT_EQ(WorkspaceProfile::profileName(true, std::nullopt, "Grace Hopper"), "Grace Hopper");
    EXPECT_EQ(WorkspaceProfile::profileName(false, std::nullopt, "  "), "Profile");
}

TEST(WorkspaceProfile, LiveNameReadsTheUserDatabaseWithoutASession)
{
    setStoredAccountDisplayName(QStringLiteral("Ada"));
    const QString expected = SystemUser::fullName().isEmpty() ? QStringLiteral("Profile") : SystemUser::fullName();
    EXPECT_EQ(WorkspaceProfile::profileName(), expected);
    const passwd* user = getpwuid(getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(SystemUser::fullName(), QString::fromLocal8Bit(user->pw_gecos).section(u',', 0, 0).trimmed());
}
