#pragma once

#include "account/NotesSyncService.h"

namespace norvelle::test {

// Counts the exchanges the switch lets through.
class FakeNotesSyncService : public NotesSyncService {
public:
    void syncNow(PullDone done = {}) override
    {
        ++syncs;
        if (done) {
            done(std::nullopt);
        }
    }
    int syncs = 0;
};

} // namespace norvelle::test
