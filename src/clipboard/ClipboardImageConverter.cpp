#include "clipboard/ClipboardImageConverter.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>

namespace norvelle {

namespace {

QImage decode(const QByteArray& bytes, const QByteArray& format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(format.isEmpty());
    return reader.read();
}

// zlib's faster levels: a 4-megapixel screenshot encodes several times faster than at the
// default level, for some 10 % more bytes.
constexpr int fastPngCompression = 30;

std::optional<QByteArray> encode(const QImage& image, const char* format)
{
    if (image.isNull()) {
        return std::nullopt;
    }
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (qstrcmp(format, "png") == 0) {
        writer.setCompression(fastPngCompression);
    }
    if (!writer.write(image) || out.isEmpty()) {
        return std::nullopt;
    }
    return out;
}

} // namespace

std::optional<QByteArray> ClipboardImageConverter::toPng(const QByteArray& bytes, const QString& type)
{
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    QImage image = decode(bytes, {});
    if (image.isNull()) {
        const QList<QByteArray> formats = QImageReader::imageFormatsForMimeType(type.toLatin1());
        if (!formats.isEmpty()) {
            image = decode(bytes, formats.first());
        }
    }
    return encode(image, "png");
}

std::optional<QByteArray> ClipboardImageConverter::pngToTiff(const QByteArray& png)
{
    return encode(decode(png, "png"), "tiff");
}

} // namespace norvelle
