#pragma once

#include <QString>

class QTextDocument;

namespace norvelle {

// Brings a note's rich text to read `text` (its plain text as changed elsewhere: a sync, the
// workspace) by rewriting only the lines that differ, so the lines the change left alone keep
// their formatting. False, with the text untouched, where the lines cannot be matched to
// paragraphs (a paragraph shown in pieces, a change reaching into a table): the caller then
// builds the rich text from the plain text anew.
bool mergePlainText(QTextDocument& document, const QString& text);

} // namespace norvelle
