#pragma once

#include <QTextDocumentFragment>

class QTextBlock;

namespace norvelle {

// The paragraphs from `first` to `last` of a text, in order and with their formats, table cells
// included, as a piece of text that holds no table: one paragraph for each line they read as.
QTextDocumentFragment flatParagraphs(const QTextBlock& first, const QTextBlock& last);

} // namespace norvelle
