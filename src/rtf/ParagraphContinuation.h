#pragma once

#include <QTextBlock>
#include <QTextFormat>

namespace norvelle {

// A paragraph too long for the text layout to take in one piece is shown as several blocks:
// each block after the first carries this mark and continues the paragraph of the block before
// it, with no break between them. Whatever reads the note's text joins them.
struct ParagraphContinuation {
    static constexpr int property = QTextFormat::UserProperty + 0x200;

    static bool continues(const QTextBlock& block) { return block.blockFormat().boolProperty(property); }
};

} // namespace norvelle
