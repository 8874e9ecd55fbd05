#pragma once

#include "account/NotesSyncService.h"

namespace norvelle::test {

// Counts the exchanges the switch lets through.
class FakeNotesSyncService : public NotesSyncService {
public:
    void syncNow(Done done = {}) override
    {
        ++syncs;
        if (done) {
            done();
        }
    }
    int syncs = 0;
};

} // namespace norvelle::test
