#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QTextDocument;

namespace norvelle {

class RtfItemWriter;
size_t qHash(const RtfCharacterStyle& style, size_t seed);

// A note's rich body and plain text, as a save stores them.
struct EncodedNote {
    std::optional<QByteArray> body;
    QString plainText;
};

// Encodes an editor's text for every save of a note, writing again only the paragraphs and
// tables of the top level that changed since its last encoding (as told by `textChanged`) and
// copying the rest from that encoding; a long paragraph shown in pieces is written a piece at a
// time, so a key typed into megabytes on one line writes one piece again. What it gives is
// always what a new encoder gives.
//
//     NoteEncoder encoder;
//     connect(document, &QTextDocument::contentsChange, [&](int at, int removed, int added) {
//         encoder.textChanged(*document, at, removed, added);
//     });
//     EncodedNote note = encoder.encode(*document, defaultTextColor);
class NoteEncoder {
public:
    NoteEncoder();
    ~NoteEncoder();
    NoteEncoder(const NoteEncoder&) = delete;
    NoteEncoder& operator=(const NoteEncoder&) = delete;

    // A change as QTextDocument::contentsChange reports it, told as it happens.
    void textChanged(const QTextDocument& document, int position, int removed, int added);
    EncodedNote encode(const QTextDocument& document, const std::optional<QColor>& defaultTextColor);

    // The plain text alone, from the whole text.
    static QString plainText(const QTextDocument& document);

private:
    // A paragraph, a part of one or a table of the top level as last encoded, or a stretch
    // changed since.
    struct Piece {
        int length = 0; // in the document's positions
        bool changed = true;
        // What the last encoding wrote for it (for a changed stretch, for all it replaced).
        qsizetype bytes = 0;
        qsizetype characters = 0;
        // What writing it left: the style (an index in m_styles, none before any encoding),
        // whether its bytes end in a control word, and how many fonts and colours were numbered.
        int style = -1;
        bool afterWord = false;
        qsizetype fonts = 0;
        qsizetype colors = 0;
    };
    class Pass;

    void forget(int length);
    int styleIndex(const RtfCharacterStyle& style);
    // Kept for a text whose paragraphs and frames do not tile it as expected.
    EncodedNote encodeWhole(const QTextDocument& document, std::optional<qreal> unsizedPointSize,
        const std::optional<QColor>& defaultTextColor);

    std::vector<Piece> m_pieces;
    std::unique_ptr<RtfItemWriter> m_writer;
    QString m_plainText;
    std::vector<RtfCharacterStyle> m_styles;
    QHash<RtfCharacterStyle, int> m_styleIndexes;
    bool m_retrying = false;
    std::optional<std::optional<qreal>> m_unsizedPointSize;
    std::optional<QColor> m_defaultTextColor;
};

} // namespace norvelle
