#pragma once

#include "rtf/RtfDocumentModel.h"

#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

class QTextBlock;
class QTextDocument;
class QTextFrame;

namespace norvelle {

// Reads a QTextDocument into the RTF document model for the writer: paragraphs with their
// runs, and tables with their column widths, cell borders, backgrounds and padding. Frames
// that are not tables, and tables inside cells, give their paragraphs to what holds them.
class RtfDocumentCapture {
public:
    // Characters with no size of their own are written at `unsizedPointSize` when given: the
    // size a view that draws them in its own default font shows them at.
    static RtfDocumentModel capture(const QTextDocument& document, std::optional<qreal> unsizedPointSize = std::nullopt);

    // Reads a document a piece at a time, mapping each format once for all the pieces.
    explicit RtfDocumentCapture(std::optional<qreal> unsizedPointSize = std::nullopt);
    ~RtfDocumentCapture();
    // The items of a block or a frame of the document's top level: a paragraph, a table, or
    // the paragraphs of any other frame.
    void captureBlock(const QTextBlock& block, std::vector<RtfDocumentModel::Item>& items);
    void captureFrame(QTextFrame& frame, std::vector<RtfDocumentModel::Item>& items);

private:
    class Capture;
    std::unique_ptr<Capture> m_capture;
};

} // namespace norvelle
