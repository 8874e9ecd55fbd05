#include "core/LocalAutomationHooks.h"

#include "core/OSLogAnalyticsTracker.h"

namespace norvelle {

AutomationHooking& LocalAutomationHooks::shared()
{
    static LocalAutomationHooks instance;
    return instance;
}

void LocalAutomationHooks::trigger(const QString& event, const AutomationPayload& payload)
{
    OSLogAnalyticsTracker::shared().track("automation_hook_triggered",
        {{"event", event}, {"payloadCount", QString::number(payload.size())}});
}

} // namespace norvelle
