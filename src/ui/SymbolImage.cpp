#include "ui/SymbolImage.h"

#include "platform/Symbols.h"

#include <QHash>
#include <QPainter>

namespace norvelle {

QImage symbolImage(const QString& symbolName, int size, const QColor& color, qreal dpr)
{
    static QHash<QString, QImage> cache;
    const QString key = QStringLiteral("%1|%2|%3|%4").arg(symbolName).arg(size).arg(color.name(QColor::HexArgb)).arg(dpr);
    if (const auto found = cache.constFind(key); found != cache.constEnd())
        return *found;

    // Symbolic theme icons are one-colour shapes: keep their coverage, repaint it in `color`.
    QImage image = Symbols::icon(symbolName).pixmap(QSize(size, size), dpr).toImage();
    if (!image.isNull()) {
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRectF(QPointF(0, 0), image.deviceIndependentSize()), color);
    }
    cache.insert(key, image);
    return image;
}

} // namespace norvelle
