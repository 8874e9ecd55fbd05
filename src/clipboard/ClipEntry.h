#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <optional>

namespace norvelle {

// One clip of the clipboard history. A value: every field is fixed once the entry is made.
struct ClipEntry {
    QUuid id;
    // The pasteboard's plain text, trimmed; empty for an image-only clip.
    QString text;
    // PNG bytes, whatever format the image came in.
    std::optional<QByteArray> imageData;
    // The pasteboard type the image was found under (a MIME type).
    std::optional<QString> imagePasteboardType;
    // Name of the frontmost application at capture, or "Unknown".
    QString sourceApp;
    QDateTime createdAt;

    // The trimmed text cut to 200 characters; "Image" or "(empty)" when there is no text.
    QString displayTitle() const;
    bool hasImage() const { return imageData.has_value(); }
    // Whether the clip offers "→ Sticky": only text that is more than blanks makes a note.
    bool offersSticky() const;

    bool operator==(const ClipEntry&) const = default;
};

size_t qHash(const ClipEntry& entry, size_t seed = 0);

} // namespace norvelle

Q_DECLARE_METATYPE(norvelle::ClipEntry)
