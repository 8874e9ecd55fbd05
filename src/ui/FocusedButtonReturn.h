#pragma once

namespace norvelle {

// Return and Enter press the button (or the link drawn as one) that the keyboard moved the
// focus to, its ring showing, in every window of the program, ahead of the window's default
// action and of any shortcut bound to Return. From a field, or where no button is so chosen,
// Return goes on to the default action.
void pressFocusedButtonOnReturn();

} // namespace norvelle
