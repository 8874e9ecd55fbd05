#include "editor/TextStorage.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <algorithm>

namespace norvelle {

bool TextStorage::isSeparator(QChar c)
{
    const char16_t unit = c.unicode();
    return unit == QChar::ParagraphSeparator || unit == 0xFDD0 || unit == 0xFDD1;
}

int TextStorage::length() const
{
    return std::max(0, m_document.characterCount() - 1);
}

QString TextStorage::string() const
{
    QString text = m_document.toRawText();
    text.truncate(length());
    for (QChar& c : text) {
        if (isSeparator(c))
            c = u'\n';
    }
    return text;
}

QString TextStorage::text(TextRange range) const
{
    const int start = std::clamp(range.start, 0, length());
    const int end = std::clamp(range.end(), start, length());
    QString text;
    text.reserve(end - start);
    for (QTextBlock block = m_document.findBlock(start); block.isValid() && block.position() < end; block = block.next()) {
        const int from = std::max(start, block.position()) - block.position();
        const int to = std::min(end, block.position() + block.length()) - block.position();
        const QString blockText = block.text();
        text += QStringView(blockText).mid(from, std::min(to, int(blockText.size())) - from);
        if (to > blockText.size())
            text += u'\n';
    }
    return text;
}

QChar TextStorage::characterAt(int position) const
{
    if (position < 0 || position >= length())
        return {};
    const QChar c = m_document.characterAt(position);
    return isSeparator(c) ? QChar(u'\n') : c;
}

TextRange TextStorage::lineRange(int position) const
{
    const int total = length();
    const QTextBlock block = m_document.findBlock(std::clamp(position, 0, total));
    if (!block.isValid())
        return {total, 0};
    const int start = block.position();
    return {start, std::min(start + block.length(), total) - start};
}

TextRange TextStorage::lineRange(TextRange range) const
{
    const TextRange first = lineRange(range.start);
    if (range.length <= 0)
        return first;
    const TextRange last = lineRange(std::max(range.start, range.end() - 1));
    return {first.start, last.end() - first.start};
}

TextRange TextStorage::withoutLineBreak(TextRange line, const QString& lineText)
{
    if (!lineText.isEmpty() && lineText.back() == u'\n')
        return {line.start, line.length - 1};
    return line;
}

QTextCharFormat TextStorage::charFormat(int position) const
{
    if (position < 0 || position >= length())
        return {};
    const QTextBlock block = m_document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat();
    }
    return block.charFormat();
}

QTextBlockFormat TextStorage::blockFormat(int position) const
{
    return m_document.findBlock(std::clamp(position, 0, length())).blockFormat();
}

QTextTable* TextStorage::tableAt(int position) const
{
    if (position < 0 || position >= length())
        return nullptr;
    return QTextCursor(m_document.findBlock(position)).currentTable();
}

QTextCursor TextStorage::cursor(TextRange range) const
{
    QTextCursor cursor(&m_document);
    cursor.setPosition(std::clamp(range.start, 0, length()));
    cursor.setPosition(std::clamp(range.end(), 0, length()), QTextCursor::KeepAnchor);
    return cursor;
}

void TextStorage::replace(TextRange range, const QString& text, const QTextCharFormat& format)
{
    QTextCursor editing = cursor(range);
    editing.insertText(text, format);
}

void TextStorage::setCharFormat(TextRange range, const QTextCharFormat& format)
{
    if (range.length > 0)
        cursor(range).setCharFormat(format);
}

void TextStorage::mergeCharFormat(TextRange range, const QTextCharFormat& format)
{
    if (range.length > 0)
        cursor(range).mergeCharFormat(format);
}

} // namespace norvelle
