#include "rtf/RtfTextDecoder.h"

#include <QByteArray>

namespace norvelle {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F.
constexpr char16_t western80to9F[32] = {
    0x20AC,
    0xFFFD,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0xFFFD,
    0x017D,
    0xFFFD,
    0xFFFD,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0xFFFD,
    0x017E,
    0x0178,
};

const char* converterName(int codePage)
{
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 866: return "IBM866";
    case 874: return "windows-874";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 1250: return "windows-1250";
    case 1251: return "windows-1251";
    case 1253: return "windows-1253";
    case 1254: return "windows-1254";
    case 1255: return "windows-1255";
    case 1256: return "windows-1256";
    case 1257: return "windows-1257";
    case 1258: return "windows-1258";
    case 10000: return "macintosh";
    case RtfTextDecoder::utf8CodePage: return "UTF-8";
    default: return nullptr;
    }
}

bool isValidUtf8(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto lead = uchar(bytes[i]);
        int continuation = 0;
        if (lead < 0x80)
            continuation = 0;
        else if (lead >= 0xC2 && lead <= 0xDF)
            continuation = 1;
        else if (lead >= 0xE0 && lead <= 0xEF)
            continuation = 2;
        else if (lead >= 0xF0 && lead <= 0xF4)
            continuation = 3;
        else
            return false;
        if (i + continuation >= bytes.size() && continuation > 0)
            return false;
        for (int k = 1; k <= continuation; ++k) {
            if ((uchar(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += continuation + 1;
    }
    return true;
}

} // namespace

int RtfTextDecoder::codePageForCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return documentCodePage;
    }
}

QString RtfTextDecoder::decode(QByteArrayView bytes, int codePage, bool unescaped)
{
    bool ascii = true;
    for (char c : bytes) {
        if (uchar(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    if (codePage == utf8CodePage || (unescaped && isValidUtf8(bytes)))
        return QString::fromUtf8(bytes);
    if (codePage != westernCodePage) {
        if (QStringDecoder* decoder = converter(codePage))
            return decoder->decode(bytes);
    }
    return decodeWestern(bytes);
}

QString RtfTextDecoder::decodeWestern(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto byte = uchar(c);
        out.append(byte >= 0x80 && byte <= 0x9F ? QChar(western80to9F[byte - 0x80]) : QChar(byte));
    }
    return out;
}

QStringDecoder* RtfTextDecoder::converter(int codePage)
{
    auto found = m_converters.find(codePage);
    if (found == m_converters.end()) {
        std::unique_ptr<QStringDecoder> made;
        if (const char* name = converterName(codePage)) {
            made = std::make_unique<QStringDecoder>(name, QStringConverter::Flag::Stateless);
            if (!made->isValid())
                made.reset();
        }
        found = m_converters.emplace(codePage, std::move(made)).first;
    }
    return found->second.get();
}

} // namespace norvelle
