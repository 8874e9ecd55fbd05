#include "editor/RichTextBody.h"

#include "editor/NoteEncoder.h"
#include "rtf/RichTextCodec.h"

#include <QTextDocument>

namespace norvelle {

std::optional<QByteArray> encodeRichTextData(const QTextDocument& text, const std::optional<QColor>& defaultTextColor)
{
    return NoteEncoder().encode(text, defaultTextColor).body;
}

QString plainTextOf(const QTextDocument& text)
{
    return NoteEncoder::plainText(text);
}

std::unique_ptr<QTextDocument> decodeRichTextData(QByteArrayView data)
{
    if (data.isEmpty())
        return nullptr;
    return RichTextCodec::readRtf(data);
}

} // namespace norvelle
