#pragma once

#include <QtGlobal>

#include <sys/resource.h>

namespace norvelle {

// Descriptors no caller from outside may take: the display connection, the note store's files
// and the program's own pipes need some at any moment.
constexpr int reservedDescriptors = 16;

// Whether a descriptor just accepted leaves less than the reserve free under the process's
// limit. Descriptors are handed out lowest first, so every one below it is in use.
inline bool eatsIntoDescriptorReserve(int fd)
{
    rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return false;
    }
    return rlim_t(fd) + reservedDescriptors >= limit.rlim_cur;
}

// How many callers from outside a listener lets wait at once: at most `maximum`, and once the
// process runs short of descriptors no more than were waiting then, until all are gone. A
// newcomer takes the oldest one's place, so a real request still gets through. Inline: the
// network module, loaded on its own, uses it too.
class CallerRoom {
public:
    enum class Admission { Take,
        TakeInPlaceOfOldest,
        Refuse };

    explicit CallerRoom(qsizetype maximum)
        : m_maximum(maximum)
        , m_room(maximum)
    {
    }

    // For a caller just accepted on `fd` while `waiting` others wait.
    Admission admit(int fd, qsizetype waiting)
    {
        if (waiting == 0) {
            m_room = m_maximum;
        }
        if (eatsIntoDescriptorReserve(fd)) {
            if (waiting == 0) {
                return Admission::Refuse;
            }
            m_room = waiting;
        }
        return waiting >= m_room ? Admission::TakeInPlaceOfOldest : Admission::Take;
    }

private:
    qsizetype m_maximum;
    qsizetype m_room;
};

} // namespace norvelle
