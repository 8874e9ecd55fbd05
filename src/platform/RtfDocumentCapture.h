#pragma once

#include "platform/RtfDocumentModel.h"

class QTextDocument;

namespace norvelle {

// Reads a QTextDocument into the RTF document model for the writer: paragraphs with their
// runs, and tables with their column widths, cell borders, backgrounds and padding. Frames
// that are not tables, and tables inside cells, give their paragraphs to what holds them.
class RtfDocumentCapture {
public:
    static RtfDocumentModel capture(const QTextDocument& document);
};

} // namespace norvelle
