// Feeds any bytes to the RTF reader: it must neither crash nor hang, and what it reads must
// write, read and write again to the same bytes.
#include "FuzzInput.h"

#include "rtf/RichTextCodec.h"

#include <QGuiApplication>
#include <QTextDocument>

#include <cstdint>
#include <cstdlib>
#include <memory>

using namespace norvelle;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::makeApplication<QGuiApplication>();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QString> text = RichTextCodec::plainText(bytes);
    const std::unique_ptr<QTextDocument> document = RichTextCodec::readRtf(bytes);
    if (text.has_value() != bool(document))
        std::abort();
    if (!document)
        return 0;
    const QByteArray written = RichTextCodec::writeRtf(*document);
    const std::unique_ptr<QTextDocument> again = RichTextCodec::readRtf(written);
    if (!again || RichTextCodec::writeRtf(*again) != written)
        std::abort();
    return 0;
}
