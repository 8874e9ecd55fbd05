#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QtGlobal>

#include <optional>

class QTextDocument;

namespace norvelle {

// Reads a QTextDocument into the RTF document model for the writer: paragraphs with their
// runs, and tables with their column widths, cell borders, backgrounds and padding. Frames
// that are not tables, and tables inside cells, give their paragraphs to what holds them.
class RtfDocumentCapture {
public:
    // Characters with no size of their own are written at `unsizedPointSize` when given: the
    // size a view that draws them in its own default font shows them at.
    static RtfDocumentModel capture(const QTextDocument& document, std::optional<qreal> unsizedPointSize = std::nullopt);
};

} // namespace norvelle
