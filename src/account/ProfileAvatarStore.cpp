#include "account/ProfileAvatarStore.h"

#include "account/APIConfig.h"
#include "account/AccountDisplayName.h"
#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

namespace norvelle {

namespace {

// JPEG has no transparency: what was see-through shows white, not black.
QImage opaque(const QImage& image)
{
    if (!image.hasAlphaChannel()) {
        return image;
    }
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

std::optional<QByteArray> jpegOf(const QByteArray& data)
{
    QBuffer input;
    input.setData(data);
    QImageReader reader(&input);
    const QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    QByteArray jpeg;
    QBuffer output(&jpeg);
    output.open(QIODevice::WriteOnly);
    if (!opaque(image).save(&output, "JPEG", 85)) {
        return std::nullopt;
    }
    return jpeg;
}

// https anywhere; plain http only from the configured server itself, never from another
// service on this computer.
bool isPictureSource(const QUrl& url)
{
    if (url.scheme() == QLatin1String("https") && !url.host().isEmpty()) {
        return true;
    }
    const ServiceResult<APIConfig> config = APIConfig::current();
    const APIConfig* server = std::get_if<APIConfig>(&config);
    return server && url.scheme() == server->baseURL.scheme() && url.host() == server->baseURL.host()
        && url.port() == server->baseURL.port() && url.userInfo().isEmpty();
}

} // namespace

ProfileAvatarStore::ProfileAvatarStore(HttpClient& http, QString folder, QObject* parent)
    : QObject(parent)
    , m_http(http)
    , m_folder(std::move(folder))
{
}

ProfileAvatarStore& ProfileAvatarStore::shared()
{
    static ProfileAvatarStore* store = new ProfileAvatarStore(HttpClient::shared());
    return *store;
}

QString ProfileAvatarStore::defaultFolder()
{
    return AppPaths::applicationSupportDirectory() + QStringLiteral("/Norvelle");
}

QString ProfileAvatarStore::pictureFilePath() const
{
    return m_folder + QStringLiteral("/profile-avatar-login.jpg");
}

void ProfileAvatarStore::applyAccountProfile(const std::optional<QString>& displayName,
    const std::optional<QString>& avatarURL, std::function<void()> done)
{
    setStoredAccountDisplayName(displayName);
    const QString text = avatarURL.value_or(QString()).trimmed();
    const QUrl url(text, QUrl::StrictMode);
    // QUrl lower-cases the scheme: the address must already be written that way.
    if (!text.startsWith(url.scheme() + u':') || !url.isValid() || !isPictureSource(url)) {
        removeStoredAvatar();
        done();
        return;
    }
    HttpRequest request;
    request.url = url;
    request.maximumReplyBytes = maximumDownloadBytes;
    m_http.send(request, [this, done = std::move(done)](HttpResult result) mutable {
        const HttpResponse* response = std::get_if<HttpResponse>(&result);
        if (!response || response->status < 200 || response->status > 299) {
            removeStoredAvatar();
            done();
            return;
        }
        storePicture(response->body, std::move(done));
    });
}

void ProfileAvatarStore::storePicture(const QByteArray& data, std::function<void()> done)
{
    // Decoding and writing a picture of megabytes would stall the windows.
    m_imageQueue.async([this, data, done = std::move(done)] {
        const std::optional<QByteArray> jpeg = jpegOf(data);
        const bool stored = jpeg && AppPaths::ensureDirectory(m_folder)
            && QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)
            && !AtomicFile::write(pictureFilePath(), *jpeg);
        if (stored) {
            forgetCachedImage();
        }
        MainQueue::async(
            [this, stored, done] {
                if (stored) {
                    setStoredAvatarPath(pictureFilePath());
                } else {
                    removeStoredAvatar();
                }
                done();
            },
            this);
    });
}

bool ProfileAvatarStore::isInsideFolder(const QString& path) const
{
    const QString folder = QFileInfo(m_folder).canonicalFilePath();
    const QString file = QFileInfo(path).canonicalFilePath();
    return !folder.isEmpty() && file.startsWith(folder + u'/');
}

void ProfileAvatarStore::removeStoredAvatar()
{
    // The stored path is a setting anyone could have edited: never delete outside our folder.
    if (const std::optional<QString> path = storedAvatarPath(); path && isInsideFolder(*path)) {
        QFile::remove(*path);
    }
    QFile::remove(pictureFilePath());
    UserDefaults::standard().remove(storedSettings::profileAvatarPath.key);
    forgetCachedImage();
    NotificationCenter::defaultCenter().post(didChangeNotification);
}

void ProfileAvatarStore::forgetCachedImage()
{
    std::lock_guard guard(m_lock);
    m_cached = QImage();
}

std::optional<QString> ProfileAvatarStore::storedAvatarPath() const
{
    const std::optional<QString> path = UserDefaults::standard().string(storedSettings::profileAvatarPath.key);
    if (!path || path->isEmpty()) {
        return std::nullopt;
    }
    return path;
}

void ProfileAvatarStore::setStoredAvatarPath(const QString& path)
{
    UserDefaults::standard().set(storedSettings::profileAvatarPath.key, path);
    NotificationCenter::defaultCenter().post(didChangeNotification);
}

QImage ProfileAvatarStore::loadStoredAvatar() const
{
    const std::optional<QString> stored = storedAvatarPath();
    const QString path = stored && QFileInfo(*stored).isFile() ? *stored : pictureFilePath();
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    return QImage(path);
}

QImage ProfileAvatarStore::cachedSidebarAvatar()
{
    {
        std::lock_guard guard(m_lock);
        if (!m_cached.isNull()) {
            return m_cached;
        }
    }
    const QImage image = loadStoredAvatar();
    if (image.isNull()) {
        return {};
    }
    const QImage scaled = scaledToFit(image, sidebarDimension);
    std::lock_guard guard(m_lock);
    m_cached = scaled;
    return scaled;
}

QImage ProfileAvatarStore::scaledToFit(const QImage& image, int maximumDimension)
{
    const int longer = std::max(image.width(), image.height());
    if (longer <= maximumDimension) {
        return image;
    }
    const double ratio = double(maximumDimension) / longer;
    const QSize size(std::max(1, int(std::lround(image.width() * ratio))), std::max(1, int(std::lround(image.height() * ratio))));
    return image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace norvelle
