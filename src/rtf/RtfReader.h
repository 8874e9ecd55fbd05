#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QByteArrayView>

#include <optional>

namespace norvelle {

// Reads RTF bytes, ours or another program's, into the document model. Nothing when the data
// does not start with "{\rtf". Any byte string is safe: nesting depth, numbers, tables and
// the font and colour tables are bounded, and malformed data gives what was read up to the
// fault.
class RtfReader {
public:
    static std::optional<RtfDocumentModel> read(QByteArrayView data);
};

} // namespace norvelle
