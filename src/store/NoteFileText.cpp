#include "store/NoteFileText.h"

#include "platform/RegularFile.h"
#include "rtf/RichTextCodec.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace norvelle {

namespace {

bool isStrayControl(char32_t c)
{
    const bool lineOrTab = c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    return (c < 0x20 && !lineOrTab) || (c >= 0x7F && c <= 0x9F);
}

bool isNonCharacter(char32_t c)
{
    return (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

// The code units of `bytes` (an even count) in the given byte order.
std::u16string codeUnits(const QByteArray& bytes, qsizetype from, bool bigEndian)
{
    std::u16string units;
    units.reserve(size_t((bytes.size() - from) / 2));
    for (qsizetype i = from; i + 1 < bytes.size(); i += 2) {
        const auto high = uchar(bytes[bigEndian ? i : i + 1]);
        const auto low = uchar(bytes[bigEndian ? i + 1 : i]);
        units.push_back(char16_t((high << 8) | low));
    }
    return units;
}

// Whether the units pair their surrogates, and, when `strict`, also read as plain text.
bool isText(const std::u16string& units, bool strict)
{
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 == units.size() || !QChar::isLowSurrogate(units[i + 1])) {
                return false;
            }
            c = QChar::surrogateToUcs4(units[i], units[i + 1]);
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return false;
        }
        if (strict && (isStrayControl(c) || isNonCharacter(c) || QChar::category(c) == QChar::Other_NotAssigned)) {
            return false;
        }
    }
    return true;
}

// Text in the Latin range has its zero bytes first in big-endian order and second in
// little-endian order.
bool zeroBytesSuggestBigEndian(const QByteArray& bytes)
{
    qsizetype zeroFirst = 0;
    qsizetype zeroSecond = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        zeroFirst += bytes[i] == '\0';
        zeroSecond += bytes[i + 1] == '\0';
    }
    return zeroFirst >= zeroSecond;
}

} // namespace

NoteFileText::Reading NoteFileText::read(const QString& path)
{
    const RegularFile::Result file = RegularFile::read(path, maximumFileBytes);
    switch (file.outcome) {
    case RegularFile::Outcome::read:
        break;
    case RegularFile::Outcome::missing:
        return {std::nullopt, QStringLiteral("The file is no longer there.")};
    case RegularFile::Outcome::notRegularFile:
        return {std::nullopt, QStringLiteral("It is a folder, a device or a pipe, not a file.")};
    case RegularFile::Outcome::tooLarge:
        return {std::nullopt, QStringLiteral("It is larger than %1 MB.").arg(maximumFileBytes / (1024 * 1024))};
    case RegularFile::Outcome::unreadable:
        return {std::nullopt, QStringLiteral("It cannot be read: %1.").arg(file.reason)};
    }
    if (pathExtension(path).toLower() == QStringLiteral("rtf")) {
        if (std::optional<QString> text = RichTextCodec::plainText(file.bytes)) {
            return {std::move(text), {}};
        }
    }
    if (std::optional<QString> text = decodeText(file.bytes)) {
        return {std::move(text), {}};
    }
    return {std::nullopt, QStringLiteral("It holds no plain text or RTF: it may be a picture, a document of another "
                                         "program or another kind of file.")};
}

std::optional<QString> NoteFileText::decodeText(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    // UTF-16 of Latin text without a mark is valid UTF-8 too, one NUL after every letter:
    // text has no NUL characters.
    if (!utf8.hasError() && !text.contains(QChar(u'\0'))) {
        return text;
    }
    return decodeUtf16(bytes);
}

std::optional<QString> NoteFileText::decodeUtf16(const QByteArray& bytes)
{
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    const bool littleEndianMark = bytes.startsWith("\xFF\xFE");
    const bool bigEndianMark = bytes.startsWith("\xFE\xFF");
    const bool hasMark = littleEndianMark || bigEndianMark;
    const bool bigEndian = hasMark ? bigEndianMark : zeroBytesSuggestBigEndian(bytes);
    const std::u16string units = codeUnits(bytes, hasMark ? 2 : 0, bigEndian);
    if (!isText(units, !hasMark)) {
        return std::nullopt;
    }
    return QString::fromStdU16String(units);
}

QString NoteFileText::pathExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot > 0 ? name.mid(dot + 1) : QString();
}

QString NoteFileText::nameWithoutExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const QString extension = pathExtension(path);
    return extension.isEmpty() ? name : name.left(name.size() - extension.size() - 1);
}

} // namespace norvelle
