#pragma once

#include <QString>

class QTextDocument;

namespace norvelle {

// Brings a note's rich text to read `text` (its plain text as changed elsewhere: a sync, the
// workspace) by rewriting only the lines that differ, so the lines the change left alone keep
// their formatting. Lines added after a table cell's line go into that cell; a table whose lines
// are removed across its cells becomes its paragraphs. False where the lines cannot be matched
// to paragraphs (a paragraph shown in pieces, a frame that is not a table in the way): the
// caller then builds the rich text from the plain text anew.
bool mergePlainText(QTextDocument& document, const QString& text);

} // namespace norvelle
