#pragma once

#include <QString>

class QMessageBox;

namespace norvelle {

// A plain message to the user about something that went wrong outside any window they act
// in. One box per topic: telling again while the box is open raises it with the new words
// instead of stacking a second one.
class UserNotice {
public:
    static void warn(const QString& topic, const QString& text, const QString& details);
    // The same box shown beside the window the user types in, hiding none of it and never
    // taking the keyboard from it: a key meant for a note does not land in the box, or dismiss it.
    static void tell(const QString& topic, const QString& text, const QString& details);
    // Closes the box of `topic` once what it told is over.
    static void withdraw(const QString& topic);
    // The box open for `topic`, if any.
    static QMessageBox* showing(const QString& topic);
};

} // namespace norvelle
