#pragma once

class QMessageBox;

namespace norvelle {

// A message box at least `width` wide, so its title and its message read on a few full lines
// instead of a narrow column (the box measures itself by its short first line). Call after
// setting the texts, which lay the box out anew.
void giveMessageRoom(QMessageBox& box, int width = 340);

} // namespace norvelle
