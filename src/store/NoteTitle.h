#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// The title rules of notes.
class NoteTitle {
public:
    // For new and imported notes: the first non-empty piece of the text between line feeds,
    // kept as it is (spaces included); a carriage return before a line feed belongs with it and
    // does not split. None when there is no such piece.
    static std::optional<QString> firstLine(const QString& text);

    // For edited notes: the first line (at any line break) holding more than spaces and tabs,
    // trimmed of them; "" when there is none.
    static QString firstNonBlankLine(const QString& text);
};

} // namespace norvelle
