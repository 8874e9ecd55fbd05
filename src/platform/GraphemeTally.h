#pragma once

#include <QString>

namespace norvelle {

// Counts the user-perceived characters of a text that changes a little at a time, as a note
// being typed into does: only around what differs from the text counted last is counted again,
// even within one long line. Every count equals GraphemeWalker::count of the same text.
class GraphemeTally {
public:
    qsizetype count(const QString& text);

private:
    // The text counted last (none at first).
    QString m_text;
    qsizetype m_count = 0;
};

} // namespace norvelle
