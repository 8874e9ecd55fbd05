#pragma once

#include <QString>

class QMessageBox;

namespace norvelle {

class ObjectContext;

// The quit the user asks for from the tray. The notes and the settings are saved first; while
// the disk refuses them the program says so and stays, until the user has the save tried again
// and it goes through, or chooses to quit and lose what was not saved.
class QuitWithUnsavedNotes {
public:
    static void request(ObjectContext& context);
    // The question open about it, if any.
    static QMessageBox* asking();
};

} // namespace norvelle
