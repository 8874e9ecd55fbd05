#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTextBoundaryFinder>

#include <optional>

namespace norvelle {

// Walks a text one user-perceived character (grapheme cluster) at a time: where the program
// counts or cuts "characters", a base letter and its combining marks, or an emoji sequence,
// stay one.
class GraphemeWalker {
public:
    explicit GraphemeWalker(QStringView text);

    // Moves past the next character; false once the text is used up.
    bool advance();
    // Where the characters walked so far end, in UTF-16 code units.
    qsizetype position() const { return m_end; }
    // The character `advance` moved past last.
    QStringView current() const { return m_text.sliced(m_start, m_end - m_start); }

    static qsizetype count(QStringView text);
    // Where the first `count` characters end, or nothing when the text has fewer. A long text
    // is looked at through a prefix first, since boundary analysis covers all it is given.
    static std::optional<qsizetype> endOfFirst(QStringView text, qsizetype count);
    static bool hasAtMost(QStringView text, qsizetype limit);
    // The first `count` characters (all of a shorter text).
    static QStringView leading(QStringView text, qsizetype count);
    static QStringList split(QStringView text);

private:
    QStringView m_text;
    QTextBoundaryFinder m_finder;
    qsizetype m_start = 0;
    qsizetype m_end = 0;
};

} // namespace norvelle
