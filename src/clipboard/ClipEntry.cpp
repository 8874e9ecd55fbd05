#include "clipboard/ClipEntry.h"

#include <QHashFunctions>
#include <QTextBoundaryFinder>

#include <optional>

namespace norvelle {

namespace {

constexpr int titleLength = 200;
// Grapheme analysis runs over the whole string it is given, so a huge clip is looked at
// through a prefix that ordinary text never exceeds.
constexpr qsizetype titleWindow = titleLength * 16;

// Where the `count`-th user-perceived character of `text` ends, if the text has that many.
std::optional<qsizetype> characterBoundary(QStringView text, int count)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (int characters = 0; characters < count; ++characters) {
        if (finder.toNextBoundary() == -1) {
            return std::nullopt;
        }
    }
    return finder.position();
}

// The first `count` user-perceived characters of `text`.
QString leadingCharacters(QStringView text, int count)
{
    if (text.size() > titleWindow) {
        // The window's last boundary may split a cluster; any boundary before it is exact.
        const auto end = characterBoundary(text.left(titleWindow), count);
        if (end && *end < titleWindow) {
            return text.left(*end).toString();
        }
    }
    return text.left(characterBoundary(text, count).value_or(text.size())).toString();
}

} // namespace

QString ClipEntry::displayTitle() const
{
    // A view: views draw titles on every paint, and a clip can be megabytes long.
    const QStringView trimmed = QStringView(text).trimmed();
    if (!trimmed.isEmpty()) {
        return leadingCharacters(trimmed, titleLength);
    }
    return hasImage() ? QStringLiteral("Image") : QStringLiteral("(empty)");
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
