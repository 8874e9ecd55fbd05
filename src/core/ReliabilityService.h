#pragma once

#include "core/AnalyticsTracking.h"

namespace norvelle {

// Notices notes large enough to matter for saving and syncing.
class ReliabilityService {
public:
    explicit ReliabilityService(AnalyticsTracking& tracker);

    // Holds the shared analytics tracker.
    static ReliabilityService& shared();

    // Records "large_note_detected" for more than 8000 characters, on every call.
    void reportLargeNote(qsizetype characterCount);

    AnalyticsTracking& tracker;
};

} // namespace norvelle
