#pragma once

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFormat>
#include <QTextFrame>

namespace norvelle {

// A paragraph too long for the text layout to take in one piece is shown as several blocks:
// each block after the first carries this mark and continues the paragraph of the block before
// it, with no break between them. Whatever reads the note's text joins them.
struct ParagraphContinuation {
    static constexpr int property = QTextFormat::UserProperty + 0x200;

    // Only between two paragraphs of the main text: a mark copied into a table cell, or onto the
    // paragraph after a table, continues nothing.
    static bool continues(const QTextBlock& block)
    {
        if (!block.blockFormat().boolProperty(property) || !block.previous().isValid())
            return false;
        const QTextDocument* document = block.document();
        return document->frameAt(block.position()) == document->rootFrame()
            && document->frameAt(block.previous().position()) == document->rootFrame();
    }
};

} // namespace norvelle
