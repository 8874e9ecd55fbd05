#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// The file name offered when a note is exported: its title and ".txt", "norvelle-note.txt" for
// a note without a title. The name stays one file name inside the chosen folder: "/" and NUL
// become "-", and a long title is cut between two characters so that the name fits the 255
// bytes a file name may take.
class ExportFileName {
public:
    static constexpr int maximumBytes = 255;

    static QString suggested(const std::optional<QString>& title);
};

} // namespace norvelle
