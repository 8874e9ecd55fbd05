#include "account/ProfileAvatarStore.h"

#include "account/AccountDisplayName.h"
#include "account/AccountFixture.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

using namespace norvelle;
using test::ScriptedReply;

namespace {

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(QColor(200, 40, 40, 128));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return data;
}

struct Avatars : test::AccountFixture {
    int changes = 0;
    QObject observing;
    Avatars()
    {
        NotificationCenter::defaultCenter().addObserver(ProfileAvatarStore::didChangeNotification, &observing,
            [this](const Notification&) { ++changes; });
    }

    void apply(const std::optional<QString>& name, const std::optional<QString>& url)
    {
        bool done = false;
        avatars.applyAccountProfile(name, url, [&] { done = true; });
        EXPECT_TRUE(test::waitUntil([&] { return done; }, 5000));
    }

    QString url(const QString& path) const { return server.baseURL().toString() + path; }

    void storeOne()
    {
        server.replyAlways("/a.png", ScriptedReply::raw(200, png(512, 256)));
        apply(QString("Ann"), url("/a.png"));
        ASSERT_TRUE(QFile::exists(avatars.pictureFilePath()));
        changes = 0;
    }
};

} // namespace

TEST(ProfileAvatarStore, StoresThePictureAsJpegAndAnnouncesIt)
{
    Avatars a;
    a.server.reply("/a.png", ScriptedReply::raw(200, png(512, 256)));
    a.apply(QString(" Ann Lee \n"), "  " + a.url("/a.png") + " ");
    EXPECT_EQ(storedAccountDisplayName(), "Ann Lee");
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::profileAvatarPath.key), a.avatars.pictureFilePath());
    EXPECT_TRUE(a.avatars.pictureFilePath().endsWith("/Norvelle/profile-avatar-login.jpg"));
    EXPECT_EQ(QImageReader(a.avatars.pictureFilePath()).format(), "jpeg");
    EXPECT_EQ(a.changes, 1);
    EXPECT_EQ(a.avatars.cachedSidebarAvatar().size(), QSize(56, 28));
}

TEST(ProfileAvatarStore, AnyFailureRemovesTheEarlierPicture)
{
    ScriptedReply hugeImage = ScriptedReply::raw(200, QByteArray(ProfileAvatarStore::maximumDownloadBytes + 1, 'x'));
    const std::pair<std::optional<QString>, std::optional<ScriptedReply>> cases[] = {
        {std::nullopt, std::nullopt},
        {QString("ftp://127.0.0.1/a.png"), std::nullopt},
        {QString("HTTP://SERVER/b.png"), ScriptedReply::raw(200, png(4, 4))},
        {QString("http://192.0.2.1/b.png"), std::nullopt},
        {QString("not a url"), std::nullopt},
        {QString("/b.png"), ScriptedReply::raw(404, png(4, 4))},
        {QString("/b.png"), ScriptedReply::raw(200, "<html>not an image</html>")},
        {QString("/b.png"), hugeImage},
    };
    for (const auto& [address, reply] : cases) {
        Avatars a;
        a.storeOne();
        std::optional<QString> url = address;
        if (reply) {
            a.server.replyAlways("/b.png", *reply);
            url = address->startsWith(u'/') ? a.url(*address) : QString(*address).replace("SERVER", a.server.baseURL().authority());
        }
        a.apply(QString("Ann"), url);
        EXPECT_FALSE(QFile::exists(a.avatars.pictureFilePath())) << address.value_or("none").toStdString();
        EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::profileAvatarPath.key));
        EXPECT_TRUE(a.avatars.cachedSidebarAvatar().isNull());
        EXPECT_EQ(a.changes, 1);
        EXPECT_EQ(storedAccountDisplayName(), "Ann");
    }
}

TEST(ProfileAvatarStore, APlainHttpPictureComesOnlyFromTheConfiguredServer)
{
    Avatars a;
    a.storeOne();
    test::LoopbackApiServer otherService;
    otherService.replyAlways("/admin/export", ScriptedReply::raw(200, png(8, 8)));
    a.apply(QString("Ann"), otherService.baseURL().toString() + "/admin/export");
    EXPECT_TRUE(otherService.requests().isEmpty());
    EXPECT_FALSE(QFile::exists(a.avatars.pictureFilePath()));
    EXPECT_EQ(a.changes, 1);
}

TEST(ProfileAvatarStore, RemovingNeverDeletesOutsideTheDataFolder)
{
    Avatars a;
    a.storeOne();
    const QString outside = test::TestHomeListener::home() + "/precious.txt";
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    UserDefaults::standard().set(storedSettings::profileAvatarPath.key, outside);
    a.avatars.removeStoredAvatar();
    EXPECT_TRUE(QFile::exists(outside));
    EXPECT_FALSE(QFile::exists(a.avatars.pictureFilePath()));
    UserDefaults::standard().set(storedSettings::profileAvatarPath.key, a.folder + "/../../precious.txt");
    a.avatars.removeStoredAvatar();
    EXPECT_TRUE(QFile::exists(outside));
}

TEST(ProfileAvatarStore, TheSidebarImageIsScaledDownOnlyAndFollowsANewPicture)
{
    EXPECT_EQ(ProfileAvatarStore::scaledToFit(QImage(40, 40, QImage::Format_RGB32), 56).size(), QSize(40, 40));
    EXPECT_EQ(ProfileAvatarStore::scaledToFit(QImage(10, 3000, QImage::Format_RGB32), 56).size(), QSize(1, 56));
    Avatars a;
    a.storeOne();
    EXPECT_EQ(a.avatars.cachedSidebarAvatar().size(), QSize(56, 28));
    a.server.replyAlways("/c.png", ScriptedReply::raw(200, png(30, 50)));
    a.apply(QString("Ann"), a.url("/c.png"));
    EXPECT_EQ(a.avatars.cachedSidebarAvatar().size(), QSize(30, 50));
}
