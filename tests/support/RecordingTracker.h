#pragma once

#include "core/AnalyticsTracking.h"

#include <QList>
#include <QPair>

#include <mutex>

namespace norvelle::test {

// Keeps every recorded event, from any thread.
class RecordingTracker : public AnalyticsTracking {
public:
    using Event = QPair<QString, AnalyticsMetadata>;

    void track(const QString& event, const AnalyticsMetadata& metadata = {}) override
    {
        std::lock_guard guard(m_mutex);
        m_events.append({event, metadata});
    }

    QList<Event> events() const
    {
        std::lock_guard guard(m_mutex);
        return m_events;
    }

private:
    mutable std::mutex m_mutex;
    QList<Event> m_events;
};

} // namespace norvelle::test
