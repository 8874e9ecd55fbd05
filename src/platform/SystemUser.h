#pragma once

#include <QString>

namespace norvelle {

// The desktop user running the program.
class SystemUser {
public:
    // The full name from the user database (the first field of its comment), trimmed; empty
    // when the account has none.
    static QString fullName();
};

} // namespace norvelle
