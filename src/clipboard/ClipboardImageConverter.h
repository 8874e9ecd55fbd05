#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace norvelle {

// Image conversions for the clipboard history, with Qt's image codecs. Pure functions, safe on
// any thread: big images are converted off the main thread.
class ClipboardImageConverter {
public:
    // PNG bytes for image bytes found under the pasteboard type `type`: decoded by their
    // content, else by the codec the type names. None when they do not decode or encode.
    static std::optional<QByteArray> toPng(const QByteArray& bytes, const QString& type);
    // TIFF bytes for PNG bytes; none when they do not convert.
    static std::optional<QByteArray> pngToTiff(const QByteArray& png);
};

} // namespace norvelle
