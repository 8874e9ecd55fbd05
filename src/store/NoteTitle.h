#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// The title rules of notes.
class NoteTitle {
public:
    // For new, imported and migrated notes: the first non-empty line of the text (lines end at
    // a line feed or CR LF), kept as it is, spaces included, without the zero-width spaces of
    // tables at either end. None when there is no such line.
    static std::optional<QString> firstLine(const QString& text);

    // For edited notes: the first line (at any line break) holding more than spaces, tabs and
    // zero-width spaces, trimmed of them; "" when there is none.
    static QString firstNonBlankLine(const QString& text);
    // A line for display: without white space, line breaks and the zero-width spaces of empty
    // table cells at either end.
    static QStringView trimmed(QStringView line);

    // The lines after that one (each line break read as "\n"), trimmed of white space and
    // line breaks; "" when there is no title line.
    static QString bodyAfterTitle(const QString& text);

    // A name as window titles, lists and dialogs show it: at most `shownCharacters`
    // user-perceived characters, then "…". A note's first line can be megabytes long, past what
    // the X server takes in one request and what a label lays out in time.
    static constexpr int shownCharacters = 300;
    static QString shown(QStringView name);
};

} // namespace norvelle
