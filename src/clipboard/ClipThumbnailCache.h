#pragma once

#include "clipboard/ClipEntry.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QUuid>

namespace norvelle {

// Thumbnails of clip images, shared by the clip views. Each clip's image is decoded once and
// kept reduced; the images drawn are made once per size, mode and device-pixel ratio, so a
// paint never decodes.
class ClipThumbnailCache {
public:
    static ClipThumbnailCache& shared();

    // Decodes the images of clips not seen before and forgets clips no longer listed.
    void update(const QList<ClipEntry>& items);

    // Null when the clip has no image or its bytes do not decode. `mode` is how the image fills
    // the square: stretched (Qt::IgnoreAspectRatio) or cropped (Qt::KeepAspectRatioByExpanding).
    QImage thumbnail(const ClipEntry& entry, int side, Qt::AspectRatioMode mode, qreal dpr);

    bool hasDecoded(const QUuid& id) const { return m_clips.contains(id); }

private:
    struct Cached {
        QImage source; // reduced; null when there is no image or it does not decode
        QHash<quint64, QImage> images; // by pixel size and mode
    };
    Cached& cached(const ClipEntry& entry);

    QHash<QUuid, Cached> m_clips;
};

} // namespace norvelle
