#pragma once

#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;
class QTextTable;

namespace norvelle {

// A range of flat positions: [start, start + length).
struct TextRange {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    bool operator==(const TextRange&) const = default;
};

// The editor's text in flat positions over a QTextDocument: one UTF-16 string in which every
// paragraph, table cells included, ends in "\n". The document's block separators (paragraph
// ends and the frame marks around table cells) read as "\n", so positions are the document's
// own and nothing is copied to translate them.
class TextStorage {
public:
    explicit TextStorage(QTextDocument& document)
        : m_document(document)
    {
    }

    QTextDocument& document() const { return m_document; }
    int length() const;
    bool isEmpty() const { return length() == 0; }
    QString string() const;
    QString text(TextRange range) const;
    QChar characterAt(int position) const;

    // The paragraph holding `position` with its line break (none after the last one).
    TextRange lineRange(int position) const;
    // Every paragraph the range touches, whole.
    TextRange lineRange(TextRange range) const;
    // The same without the line break.
    static TextRange withoutLineBreak(TextRange line, const QString& lineText);

    // The attributes of the character at `position`.
    QTextCharFormat charFormat(int position) const;
    QTextBlockFormat blockFormat(int position) const;
    // The table a position's paragraph is a cell of, if any.
    QTextTable* tableAt(int position) const;

    QTextCursor cursor(TextRange range) const;
    void replace(TextRange range, const QString& text, const QTextCharFormat& format);
    void setCharFormat(TextRange range, const QTextCharFormat& format);
    void mergeCharFormat(TextRange range, const QTextCharFormat& format);

    static bool isSeparator(QChar c);

private:
    QTextDocument& m_document;
};

} // namespace norvelle
