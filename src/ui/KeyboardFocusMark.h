#pragma once

class QWidget;

namespace norvelle {

// Rings the control that holds the keyboard focus in the accent colour, in every window of the
// program, from the moment the user moves the focus with the keyboard (Tab, Shift+Tab, a
// mnemonic) until a click moves it again, as the desktop's own controls do. Text editors, whose
// caret already shows where typing goes, are left unmarked.
void markKeyboardFocus();

// Whether `control` holds the focus the keyboard put there, so that its window marks it.
bool showsKeyboardFocus(const QWidget& control);

// The corner radius of `control`'s own shape, which its ring follows (negative: a capsule).
// Controls that say nothing get slightly rounded corners.
void setFocusMarkRadius(QWidget& control, double radius);

} // namespace norvelle
