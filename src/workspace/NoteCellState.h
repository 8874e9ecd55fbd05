#pragma once

#include <QPalette>

namespace norvelle {

// How one note cell of the detail column is drawn and behaves at this moment.
struct NoteCellState {
    // The list shown is the Trash.
    bool showsTrash = false;
    // Bulk selection is on: a click toggles the note's selection.
    bool bulkMode = false;
    bool selected = false;
    bool hovered = false;
    QPalette palette {};
};

} // namespace norvelle
