#pragma once

#include "platform/HttpClient.h"
#include "platform/SerialQueue.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <mutex>
#include <optional>

namespace norvelle {

// The signed-in account's display name and profile picture. The picture is downloaded from
// the sign-in answer's address, kept as "profile-avatar-login.jpg" in the program's data
// folder and announced with "norvelle.profileAvatarDidChange". Main thread, apart from
// cachedSidebarAvatar().
class ProfileAvatarStore : public QObject {
    Q_OBJECT
public:
    explicit ProfileAvatarStore(HttpClient& http, QString folder = defaultFolder(), QObject* parent = nullptr);

    static ProfileAvatarStore& shared();
    static QString defaultFolder();

    // Stores the name, then downloads the picture (lower-case https, or from the configured server; at most
    // maximumDownloadBytes, any image format) and stores it as JPEG. Any failure removes the
    // stored picture, so an earlier account's never stays. `done` runs once everything is
    // stored or removed; it never fails.
    void applyAccountProfile(const std::optional<QString>& displayName, const std::optional<QString>& avatarURL,
        std::function<void()> done);
    // Deletes the picture (only files inside the data folder), its path setting and the cached
    // image, and announces the change.
    void removeStoredAvatar();

    // The stored picture scaled down (never up) to fit 56 pixels, cached; null without one.
    // Any thread.
    QImage cachedSidebarAvatar();
    QImage loadStoredAvatar() const;
    std::optional<QString> storedAvatarPath() const;
    void setStoredAvatarPath(const QString& path);
    QString pictureFilePath() const;

    static QImage scaledToFit(const QImage& image, int maximumDimension);

    static constexpr qint64 maximumDownloadBytes = 10 * 1024 * 1024;
    static constexpr int sidebarDimension = 56;
    static inline const QString didChangeNotification = QStringLiteral("norvelle.profileAvatarDidChange");

private:
    void storePicture(const QByteArray& data, std::function<void()> done);
    bool isInsideFolder(const QString& path) const;
    void forgetCachedImage();

    HttpClient& m_http;
    QString m_folder;
    std::mutex m_lock; // guards m_cached only
    QImage m_cached;
    SerialQueue m_imageQueue {QStringLiteral("com.norvelle.avatar")}; // last: drains before the rest goes
};

} // namespace norvelle
