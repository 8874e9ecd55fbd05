#pragma once

#include "core/AnalyticsTracking.h"
#include "platform/SerialQueue.h"

#include <QStringList>

#include <functional>

namespace norvelle {

// Collects the notes changed since the last flush; a flush turns them into one sync.
class SyncCoordinator {
public:
    // `startSync` runs on the main thread after a flush that had work (the shared sync by
    // default).
    explicit SyncCoordinator(AnalyticsTracking& tracker, std::function<void()> startSync = {});

    static SyncCoordinator& shared();

    // Both return at once; the work runs in order on the coordinator's queue.
    void enqueue(const QString& noteID);
    void flush();

private:
    AnalyticsTracking& m_tracker;
    std::function<void()> m_startSync;
    QStringList m_pendingIDs; // only touched on m_queue
    SerialQueue m_queue {"com.norvelle.sync.queue"}; // last: finishes its work before the rest goes
};

} // namespace norvelle
