#include "core/ReliabilityService.h"

#include "core/OSLogAnalyticsTracker.h"

namespace norvelle {

namespace {
constexpr qsizetype largeNoteCharacterLimit = 8000;
}

ReliabilityService::ReliabilityService(AnalyticsTracking& tracker)
    : tracker(tracker)
{
}

ReliabilityService& ReliabilityService::shared()
{
    static ReliabilityService instance(OSLogAnalyticsTracker::shared());
    return instance;
}

void ReliabilityService::reportLargeNote(qsizetype characterCount)
{
    if (characterCount > largeNoteCharacterLimit) {
        tracker.track("large_note_detected", {{"characters", QString::number(characterCount)}});
    }
}

} // namespace norvelle
