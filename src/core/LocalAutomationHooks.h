#pragma once

#include "core/AutomationHooking.h"

namespace norvelle {

// Records that a hook fired; the payload itself is neither logged nor kept.
class LocalAutomationHooks : public AutomationHooking {
public:
    static AutomationHooking& shared();

    void trigger(const QString& event, const AutomationPayload& payload) override;
};

} // namespace norvelle
