#pragma once

#include <QString>

namespace norvelle {

// The plain-text prefixes that make a line a list item or a quote: "• ", "- ", "N. " and
// "│ " (after optional spaces or tabs). They are text, not attributes.
namespace LinePrefixes {

inline const QString bullet = QStringLiteral("\u2022 ");
inline const QString dash = QStringLiteral("- ");
inline const QString quote = QStringLiteral("\u2502 ");

struct Split {
    QString prefix;
    QString body;
};

// Quote prefix = leading spaces/tabs and "│ ", or nothing.
Split splitQuotePrefix(const QString& line);
Split splitLeadingWhitespace(const QString& line);
// "number", "dash", any other style: bullet.
bool lineHasListPrefix(const QString& line, const QString& style);
// Drops one bullet, dash, checklist token or number of at most three digits.
QString stripListPrefix(const QString& line);
// The prefix of the item at `index` (zero-based).
QString listPrefix(int index, const QString& style);
// What the formatting state reports for a line: "bullet", "dash", "number" or "none".
QString caretListStyle(const QString& line);
// The line, trimmed, starts with "│ " (or is the bar alone).
bool isQuotedLine(const QString& line);

} // namespace LinePrefixes

} // namespace norvelle
