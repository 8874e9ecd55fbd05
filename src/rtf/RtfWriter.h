#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace norvelle {

// Prints the document model as RTF. The same model always gives the same bytes: no time
// stamps, fonts and colours numbered in order of first use, only ASCII in the output.
class RtfWriter {
public:
    static QByteArray write(const RtfDocumentModel& model);
};

// Writes a document's items one at a time, for a caller that keeps the bytes of items that did
// not change: an item's bytes depend only on the item, the character style the items before it
// left and the fonts and colours they numbered. A document written this way has the bytes
// RtfWriter gives its model.
class RtfItemWriter {
public:
    RtfItemWriter();
    ~RtfItemWriter();

    // Every paragraph ends in \par here; the document's last loses it in `document`.
    void write(const RtfDocumentModel::Item& item);
    // A part of a paragraph, for a paragraph written a part at a time: the part that `opens` it
    // writes its style, the one that `closes` it its end, and a part that is not the first
    // brings its text only. A paragraph written in parts that each hold text, but for a last one
    // that closes it, gives the bytes `write` gives the whole.
    void writePart(const RtfParagraph& part, bool opens, bool closes);
    // Bytes written earlier for items that started from the state this writer is in now: they
    // left `style`, ended in a control word when `afterWord`, and numbered `fonts` and `colors`
    // after the ones known so far.
    void append(std::string_view bytes, const RtfCharacterStyle& style, bool afterWord, std::span<const QString> fonts,
        std::span<const QRgb> colors);

    void reserve(size_t bytes);
    const std::string& body() const;
    const RtfCharacterStyle& style() const;
    // Whether the bytes so far end in a control word, which text written next is set apart from.
    bool afterWord() const;
    const QStringList& fonts() const;
    const QList<QRgb>& colors() const;
    // The whole document: header, body and end.
    QByteArray document() const;

private:
    class Writer;
    std::unique_ptr<Writer> m_writer;
};

} // namespace norvelle
