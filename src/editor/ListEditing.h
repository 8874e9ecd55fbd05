#pragma once

#include "editor/TextStorage.h"

#include <QString>

namespace norvelle {

// Bullet, dash and numbered lists and quotes over the selected lines. Only the prefixes are
// edited, line by line, so each line keeps its own formatting; a checklist box stays first on
// its line (prefixes go after it) and table cells are left alone.
class ListEditing {
public:
    explicit ListEditing(TextStorage& storage)
        : m_storage(storage)
    {
    }

    // Removes the style when every non-empty selected line has it, else gives it to every
    // non-blank line (numbers count those from 1). Returns the caret: the end of the lines.
    int setListStyle(TextRange selection, const QString& style);
    // Quotes every selected line ("│ " and a 16-point indent), or unquotes them when all are.
    int toggleQuote(TextRange selection);

    bool selectionHasListStyle(TextRange selection, const QString& style) const;
    bool selectionIsAllQuoted(TextRange selection) const;

    // How long the checklist box at a line start is (0 or 2): prefixes go after it.
    int headLength(int lineStart) const;
    // A line's text after its box, without the line break.
    QString lineBody(TextRange line) const;

    static constexpr qreal quoteIndent = 16;

private:
    struct Line {
        int start; // where the prefixes begin (after a box)
        QString text;
    };
    std::vector<Line> selectedLines(TextRange selection) const;
    QTextCharFormat prefixFormat(int position) const;
    void insert(int position, const QString& text);
    int blockEnd(TextRange selection) const;

    TextStorage& m_storage;
};

} // namespace norvelle
