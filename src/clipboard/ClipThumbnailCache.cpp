#include "clipboard/ClipThumbnailCache.h"

#include "platform/MainQueue.h"

#include <QBuffer>
#include <QImageReader>
#include <QSet>

#include <cmath>

namespace norvelle {

namespace {

// Large enough for a 44-pixel square at a device-pixel ratio of 4.
constexpr int sourceSide = 192;

QImage decodeReduced(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > sourceSide || size.height() > sourceSide))
        reader.setScaledSize(size.scaled(sourceSide, sourceSide, Qt::KeepAspectRatioByExpanding)
                                 .boundedTo(size));
    const QImage image = reader.read();
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

ClipThumbnailCache& ClipThumbnailCache::shared()
{
    static ClipThumbnailCache cache;
    return cache;
}

// Decoding not yet started is skipped; the one under way finishes before the queue stops.
ClipThumbnailCache::~ClipThumbnailCache()
{
    for (Cached& clip : m_clips)
        forget(clip);
}

void ClipThumbnailCache::update(const QList<ClipEntry>& items)
{
    QSet<QUuid> listed;
    for (const ClipEntry& entry : items) {
        listed.insert(entry.id);
        cached(entry);
    }
    m_clips.removeIf([&](auto clip) {
        if (listed.contains(clip.key()))
            return false;
        forget(clip.value());
        return true;
    });
}

ClipThumbnailCache::Cached& ClipThumbnailCache::cached(const ClipEntry& entry)
{
    auto found = m_clips.find(entry.id);
    if (found != m_clips.end())
        return *found;
    found = m_clips.insert(entry.id, {});
    if (entry.imageData) {
        found->pending = true;
        found->forgotten = std::make_shared<std::atomic_bool>(false);
        m_decoder.async([this, id = entry.id, bytes = *entry.imageData, forgotten = found->forgotten] {
            if (*forgotten)
                return;
            const QImage source = decodeReduced(bytes);
            MainQueue::async([this, id, source] { decoded(id, source); }, this);
        });
    }
    return *found;
}

void ClipThumbnailCache::forget(Cached& clip)
{
    if (clip.forgotten)
        *clip.forgotten = true;
}

void ClipThumbnailCache::decoded(const QUuid& id, const QImage& source)
{
    const auto found = m_clips.find(id);
    if (found == m_clips.end())
        return;
    found->source = source;
    found->pending = false;
    emit thumbnailReady(id);
}

bool ClipThumbnailCache::isPending(const QUuid& id) const
{
    const auto found = m_clips.constFind(id);
    return found != m_clips.constEnd() && found->pending;
}

bool ClipThumbnailCache::hasDecoded(const QUuid& id) const
{
    const auto found = m_clips.constFind(id);
    return found != m_clips.constEnd() && !found->pending;
}

QImage ClipThumbnailCache::thumbnail(const ClipEntry& entry, int side, Qt::AspectRatioMode mode, qreal dpr)
{
    Cached& clip = cached(entry);
    if (clip.source.isNull())
        return {};
    const int pixels = int(std::ceil(side * dpr));
    const quint64 key = (quint64(pixels) << 8) | quint64(mode);
    if (const auto found = clip.images.constFind(key); found != clip.images.constEnd())
        return *found;

    QImage scaled = clip.source.scaled(pixels, pixels, mode, Qt::SmoothTransformation);
    if (scaled.size() != QSize(pixels, pixels))
        scaled = scaled.copy((scaled.width() - pixels) / 2, (scaled.height() - pixels) / 2, pixels, pixels);
    scaled.setDevicePixelRatio(qreal(pixels) / side);
    clip.images.insert(key, scaled);
    return scaled;
}

} // namespace norvelle
