#pragma once

#include <QStringView>

#include <climits>
#include <optional>
#include <vector>

class QTextDocument;

namespace norvelle {

// Qt lays a paragraph out as one unit, in a time that grows faster than its length (seconds
// for megabytes on one line), when it is shown and again after every key typed into it, and
// holds the program meanwhile. A paragraph longer than `splitAbove` is therefore shown as blocks
// of about `pieceLength` characters, each after the first marked as continuing the one before
// (ParagraphContinuation): those are laid out a block at a time, in the background, and a key
// lays out its block alone. The note's text and body join them again, so nothing a user keeps,
// copies or shares holds a break there.
class LongParagraphSplit {
public:
    static constexpr int splitAbove = 256 * 1024;
    static constexpr int pieceLength = 32 * 1024;

    // Cuts each paragraph of the document's main text touching [from, to] that is longer than
    // `splitAbove`: an edit in the caller's edit block.
    static void split(QTextDocument& document, int from = 0, int to = INT_MAX);
    // Where a piece of `text` ending near `target` ends (the index the next piece starts at):
    // between graphemes, before a letter after a space where there is one, and never where
    // the next piece would start with what makes a line a list item, a quote or a checklist.
    static qsizetype cutNear(QStringView text, qsizetype target);

    // Blocks that start in (from, to] stop continuing the one before: the breaks an edit put
    // there (a typed Return, pasted lines) are the user's own.
    static void keepBreaksOf(QTextDocument& document, int from, int to);

    // Where Backspace or Left (backward), Delete or Right at `position` act when a display
    // break is next to it: beyond the break, by the character the user sees there. None where
    // no break is.
    static std::optional<int> acrossBreak(const QTextDocument& document, int position, bool backward);
    // Takes the display breaks out of the document: each long paragraph becomes one block.
    static void join(QTextDocument& document);

    static bool hasContinuations(const QTextDocument& document);
    // The positions of the breaks that only cut a paragraph for display, in order.
    static std::vector<int> displayBreaks(const QTextDocument& document);
};

} // namespace norvelle
