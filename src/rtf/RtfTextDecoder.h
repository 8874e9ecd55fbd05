#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>

namespace norvelle {

// Turns the 8-bit text of an RTF document into Unicode, in the document's or the current
// font's code page (Windows numbering). Code page 1252 is built in; the others come from Qt's
// converters, and a page Qt does not know reads as 1252.
class RtfTextDecoder {
public:
    static constexpr int westernCodePage = 1252;
    static constexpr int utf8CodePage = 65001;

    // The code page of a font's \fcharset, or the document's for the ANSI and default sets.
    static int codePageForCharset(int charset, int documentCodePage);

    // `unescaped` says the bytes stood in the text as they are: such bytes that form valid
    // UTF-8 are read as UTF-8 whatever the code page, as some producers write them so.
    QString decode(QByteArrayView bytes, int codePage, bool unescaped);

private:
    static QString decodeWestern(QByteArrayView bytes);
    QStringDecoder* converter(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_converters;
};

} // namespace norvelle
