#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace norvelle {

// Reading the text of a file the user imports as a note: RTF through the rich-text codec's
// plain text (by a case-insensitive ".rtf" extension), anything else or RTF that does not parse
// as UTF-8, then as UTF-16.
class NoteFileText {
public:
    // Larger files are not read: their text would not fit a note's window or memory.
    static constexpr qint64 maximumFileBytes = 256 * 1024 * 1024;

    struct Reading {
        std::optional<QString> text;
        // Why there is no text, in words for the user (empty when read).
        QString failure;
    };
    // The file's text; none, with the reason, when it cannot be read (a folder, a device, a
    // pipe, a file that is gone or larger than the maximum) or its bytes are neither RTF, UTF-8
    // nor UTF-16 text. Blocks on the disk: for a worker thread.
    static Reading read(const QString& path);

    // UTF-8 holding no NUL character (a leading byte-order mark is dropped), else UTF-16.
    static std::optional<QString> decodeText(const QByteArray& bytes);

    // UTF-16 with a byte-order mark; without one, only when the bytes read as text in the byte
    // order their zero bytes suggest (big-endian when they suggest none) and hold no control
    // characters other than tab, line and page breaks, no unpaired surrogates and no unassigned
    // or non-characters, so that a binary file is not taken for text.
    static std::optional<QString> decodeUtf16(const QByteArray& bytes);

    // The extension after the last dot of the file name, as written ("" for ".profile" or
    // "README"), and the file name without it.
    static QString pathExtension(const QString& path);
    static QString nameWithoutExtension(const QString& path);
};

} // namespace norvelle
