#pragma once

#include "clipboard/ClipEntry.h"

#include "platform/SerialQueue.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUuid>

#include <atomic>
#include <memory>

namespace norvelle {

// Thumbnails of clip images, shared by the clip views. Each clip's image is decoded once, on a
// worker thread (a big image takes most of a second), and kept reduced; until it arrives the
// views draw a placeholder. The images drawn are made once per size, mode and device-pixel
// ratio, so a paint never decodes. Main thread only.
class ClipThumbnailCache : public QObject {
    Q_OBJECT
public:
    static ClipThumbnailCache& shared();
    ~ClipThumbnailCache() override;

    // Starts decoding the images of clips not seen before and forgets clips no longer listed.
    void update(const QList<ClipEntry>& items);

    // Null when the clip has no image, its bytes do not decode or it is still being decoded
    // (which this starts if nothing had). `mode` is how the image fills the square: stretched
    // (Qt::IgnoreAspectRatio) or cropped (Qt::KeepAspectRatioByExpanding).
    QImage thumbnail(const ClipEntry& entry, int side, Qt::AspectRatioMode mode, qreal dpr);

    // Whether the clip's image is still being decoded: its views show a placeholder meanwhile.
    bool isPending(const QUuid& id) const;
    bool hasDecoded(const QUuid& id) const;

    struct Sources {
        QImage whole; // the whole picture, squeezed
        QImage centre; // its centred square
    };

signals:
    // The thumbnail of clip `id` arrived (null when the image did not decode).
    void thumbnailReady(const QUuid& id);

private:
    struct Cached {
        Sources sources; // reduced; null when there is no image or it does not decode
        QHash<quint64, QImage> images; // by pixel size and mode
        bool pending = false;
        // Set when the clip is forgotten before its decoding starts, which then is skipped.
        std::shared_ptr<std::atomic_bool> forgotten;
    };
    ClipThumbnailCache();
    Cached& cached(const ClipEntry& entry);
    void forget(Cached& clip);
    void stopDecoding();
    void decoded(const QUuid& id, const Sources& sources);

    QHash<QUuid, Cached> m_clips;
    SerialQueue m_decoder {QStringLiteral("clip-thumbnails")}; // last: drained first
};

} // namespace norvelle
