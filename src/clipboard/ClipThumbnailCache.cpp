#include "clipboard/ClipThumbnailCache.h"

#include "platform/MainQueue.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace norvelle {

namespace {

// Large enough for a 44-pixel square at a device-pixel ratio of 4.
constexpr int sourceSide = 192;

// `part` of `image` as an image of its own over the same pixels, not a copy: the centre of a
// large picture would otherwise cost as much again.
QImage viewOf(const QImage& image, const QRect& part)
{
    if (image.depth() % 8 != 0)
        return image.copy(part);
    const uchar* first = image.constScanLine(part.y()) + qsizetype(part.x()) * (image.depth() / 8);
    QImage view(first, part.width(), part.height(), image.bytesPerLine(), image.format());
    view.setColorTable(image.colorTable());
    return view;
}

QImage reduced(const QImage& image, int width, int height)
{
    const QImage scaled = image.size() == QSize(width, height) ? image.copy() : image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The two images thumbnails are made from, each at most sourceSide square whatever the
// picture's proportions: the whole picture squeezed, and its centred square.
ClipThumbnailCache::Sources decodeReduced(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    const int width = image.width();
    const int height = image.height();
    const int side = std::min(width, height);
    const QRect centre((width - side) / 2, (height - side) / 2, side, side);
    const int centreSide = std::min(side, sourceSide);
    return {reduced(image, std::min(width, sourceSide), std::min(height, sourceSide)),
        reduced(viewOf(image, centre), centreSide, centreSide)};
}

} // namespace

ClipThumbnailCache& ClipThumbnailCache::shared()
{
    static ClipThumbnailCache cache;
    return cache;
}

ClipThumbnailCache::ClipThumbnailCache()
{
    // Scaling runs on Qt's own threads, which end with the application, long before this
    // cache does: the decoding under way has to finish first.
    qAddPostRoutine([] { shared().stopDecoding(); });
}

ClipThumbnailCache::~ClipThumbnailCache()
{
    stopDecoding();
}

// Decoding not yet started is skipped; the one under way finishes before this returns.
void ClipThumbnailCache::stopDecoding()
{
    for (Cached& clip : m_clips)
        forget(clip);
    m_decoder.sync([] {});
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
            Sources sources = decodeReduced(bytes);
            MainQueue::async([this, id, sources = std::move(sources)] { decoded(id, sources); }, this);
        });
    }
    return *found;
}

void ClipThumbnailCache::forget(Cached& clip)
{
    if (clip.forgotten)
        *clip.forgotten = true;
}

void ClipThumbnailCache::decoded(const QUuid& id, const Sources& sources)
{
    const auto found = m_clips.find(id);
    if (found == m_clips.end())
        return;
    found->sources = sources;
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
    // Cropped, the thumbnail shows the centred square; stretched, the whole picture. Either is
    // made from a source of its own size, never from the picture scaled up along its long side.
    const QImage& source = mode == Qt::IgnoreAspectRatio ? clip.sources.whole : clip.sources.centre;
    if (source.isNull())
        return {};
    const int pixels = int(std::ceil(side * dpr));
    const quint64 key = (quint64(pixels) << 8) | quint64(mode);
    if (const auto found = clip.images.constFind(key); found != clip.images.constEnd())
        return *found;

    QImage scaled = source.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(qreal(pixels) / side);
    clip.images.insert(key, scaled);
    return scaled;
}

} // namespace norvelle
