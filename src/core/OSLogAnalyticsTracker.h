#pragma once

#include "core/AnalyticsTracking.h"
#include "platform/SystemLog.h"

namespace norvelle {

// Writes one system-log line per event while telemetry is on.
class OSLogAnalyticsTracker : public AnalyticsTracking {
public:
    OSLogAnalyticsTracker();

    // The one tracker every service holds.
    static AnalyticsTracking& shared();

    void track(const QString& event, const AnalyticsMetadata& metadata = {}) override;

    // The dictionary's text form: ["key": "value", ...], or [:] when empty.
    static QString metadataText(const AnalyticsMetadata& metadata);

private:
    SystemLog m_logger;
};

} // namespace norvelle
