#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QByteArray>

namespace norvelle {

// Prints the document model as RTF. The same model always gives the same bytes: no time
// stamps, fonts and colours numbered in order of first use, only ASCII in the output.
class RtfWriter {
public:
    static QByteArray write(const RtfDocumentModel& model);
};

} // namespace norvelle
