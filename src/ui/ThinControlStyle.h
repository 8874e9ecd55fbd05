#pragma once

class QAbstractButton;
class QScrollBar;

namespace norvelle {

// Controls drawn from the widget's own palette, so they read in the light and the dark scheme
// alike where the desktop's look would keep one of its own.

// A round radio mark: a ring on a faint fill when off, the accent with a white dot when on.
void useSchemeRadioMark(QAbstractButton& radioButton);

// A thin rounded handle in the text colour at low opacity, on no track and without arrow
// buttons; a pointer over it or a drag makes it stronger.
void useThinScrollBar(QScrollBar& scrollBar);

} // namespace norvelle
