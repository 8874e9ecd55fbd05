#pragma once

#include "rtf/RtfDocumentModel.h"

#include <memory>

class QTextDocument;

namespace norvelle {

// Makes a QTextDocument of the RTF document model: one block per paragraph, one QTextTable
// per table (Qt keeps a block before and after each table, which the writer maps back to the
// same paragraphs).
class RtfDocumentBuilder {
public:
    static std::unique_ptr<QTextDocument> build(const RtfDocumentModel& model);
};

} // namespace norvelle
