#include "clipboard/ClipEntry.h"

#include "platform/GraphemeWalker.h"

#include <QHashFunctions>

namespace norvelle {

namespace {

constexpr int titleLength = 200;

} // namespace

QString ClipEntry::displayTitle() const
{
    // A view: views draw titles on every paint, and a clip can be megabytes long.
    const QStringView trimmed = QStringView(text).trimmed();
    if (!trimmed.isEmpty()) {
        return GraphemeWalker::leading(trimmed, titleLength).toString();
    }
    return hasImage() ? QStringLiteral("Image") : QStringLiteral("(empty)");
}

bool ClipEntry::offersSticky() const
{
    return !QStringView(text).trimmed().isEmpty();
}

size_t qHash(const ClipEntry& entry, size_t seed)
{
    QtPrivate::QHashCombine combine;
    seed = combine(seed, entry.id);
    seed = combine(seed, entry.text);
    seed = combine(seed, entry.imageData.has_value());
    seed = combine(seed, entry.imageData.value_or(QByteArray {}));
    seed = combine(seed, entry.imagePasteboardType.value_or(QString {}));
    seed = combine(seed, entry.sourceApp);
    return combine(seed, entry.createdAt);
}

} // namespace norvelle
