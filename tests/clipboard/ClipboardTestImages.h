#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>

namespace norvelle::test {

// A small image encoded in `format` ("png", "tiff", "jpeg", "bmp", ...).
inline QByteArray encodedImage(const char* format, QColor color = Qt::red, QSize size = {8, 6})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline QImage decodedImage(const QByteArray& bytes, const char* format = nullptr)
{
    return QImage::fromData(bytes, format);
}

} // namespace norvelle::test
