#include "platform/SystemUser.h"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace norvelle {

QString SystemUser::fullName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
    passwd entry {};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_gecos) {
        return QString();
    }
    // The comment field holds "Full Name,room,work phone,home phone".
    return QString::fromLocal8Bit(found->pw_gecos).section(u',', 0, 0).trimmed();
}

} // namespace norvelle
