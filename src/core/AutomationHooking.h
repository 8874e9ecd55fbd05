#pragma once

#include <QMap>
#include <QString>

namespace norvelle {

using AutomationPayload = QMap<QString, QString>;

// A local hook other tools can follow when something happens in the program.
class AutomationHooking {
public:
    virtual ~AutomationHooking() = default;
    virtual void trigger(const QString& event, const AutomationPayload& payload) = 0;
};

} // namespace norvelle
