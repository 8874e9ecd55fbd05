#include "rtf/RtfDocumentModel.h"

namespace norvelle {

namespace {

void appendParagraphText(const RtfParagraph& paragraph, QString& out)
{
    for (const RtfRun& run : paragraph.runs) {
        for (QChar c : run.text)
            out.append(c == QChar::LineSeparator ? QChar('\n') : c);
    }
}

} // namespace

bool RtfParagraph::hasText() const
{
    for (const RtfRun& run : runs) {
        if (!run.text.isEmpty())
            return true;
    }
    return false;
}

bool RtfDocumentModel::isEmpty() const
{
    if (items.size() != 1)
        return items.empty();
    const auto* paragraph = std::get_if<RtfParagraph>(&items.front());
    return paragraph && !paragraph->hasText();
}

QString RtfDocumentModel::plainText() const
{
    QString out;
    for (size_t i = 0; i < items.size(); ++i) {
        if (const auto* paragraph = std::get_if<RtfParagraph>(&items[i])) {
            appendParagraphText(*paragraph, out);
            // An empty paragraph before a table is a line too, as the editor shows it.
            if (i + 1 < items.size())
                out.append('\n');
            continue;
        }
        for (const auto& row : std::get<RtfTable>(items[i]).rows) {
            for (const RtfCell& cell : row) {
                for (const RtfParagraph& paragraph : cell.paragraphs) {
                    appendParagraphText(paragraph, out);
                    out.append('\n');
                }
            }
        }
    }
    return out;
}

} // namespace norvelle
