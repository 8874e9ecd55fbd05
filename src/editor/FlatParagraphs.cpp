#include "editor/FlatParagraphs.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace norvelle {

QTextDocumentFragment flatParagraphs(const QTextBlock& first, const QTextBlock& last)
{
    QTextDocument flat;
    QTextCursor out(&flat);
    for (QTextBlock block = first; block.isValid() && block.position() <= last.position(); block = block.next()) {
        if (block == first) {
            out.setBlockFormat(block.blockFormat());
            out.setBlockCharFormat(block.charFormat());
        } else {
            out.insertBlock(block.blockFormat(), block.charFormat());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it)
            out.insertText(it.fragment().text(), it.fragment().charFormat());
    }
    return QTextDocumentFragment(&flat);
}

} // namespace norvelle
