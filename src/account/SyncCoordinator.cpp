#include "account/SyncCoordinator.h"

#include "account/NotesSyncService.h"
#include "core/OSLogAnalyticsTracker.h"
#include "platform/MainQueue.h"

namespace norvelle {

SyncCoordinator::SyncCoordinator(AnalyticsTracking& tracker, std::function<void()> startSync)
    : m_tracker(tracker)
    , m_startSync(startSync ? std::move(startSync) : std::function<void()>(&NotesSyncService::syncSharedIfEnabled))
{
}

SyncCoordinator& SyncCoordinator::shared()
{
    static SyncCoordinator coordinator(OSLogAnalyticsTracker::shared());
    return coordinator;
}

void SyncCoordinator::enqueue(const QString& noteID)
{
    m_queue.async([this, noteID] {
        if (!m_pendingIDs.isEmpty() && m_pendingIDs.last() == noteID) {
            return;
        }
        m_pendingIDs.append(noteID);
        m_tracker.track("sync_enqueued", {{"count", QString::number(m_pendingIDs.size())}});
    });
}

void SyncCoordinator::flush()
{
    m_queue.async([this] {
        if (m_pendingIDs.isEmpty()) {
            return;
        }
        const qsizetype count = m_pendingIDs.size();
        m_pendingIDs.clear();
        m_tracker.track("sync_flushed", {{"count", QString::number(count)}});
        MainQueue::async(m_startSync);
    });
}

} // namespace norvelle
