#include "workspace/WorkspaceProfile.h"

#include "account/AccountDisplayName.h"
#include "platform/SystemUser.h"
#include "workspace/ProfileBadge.h"

#include <QImage>
#include <QPainter>
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

TEST(WorkspaceProfile, TheBadgeShowsTheFirstCharacterOfTheNameInCapitals)
{
    const auto badge = [](const QString& name) {
        QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paintProfileBadge(painter, QRectF(0, 0, 48, 48), name, QImage(), 20);
        return image;
    };
    EXPECT_EQ(badge("ada lovelace"), badge("A"));
    EXPECT_NE(badge("Ada"), badge("Bob"));
    // An accent written as its own code point stays with its letter.
    EXPECT_EQ(badge(QString::fromUtf8("e\u0301mile")), badge(QString::fromUtf8("E\u0301")));
    EXPECT_NE(badge(""), badge("A"));
}
