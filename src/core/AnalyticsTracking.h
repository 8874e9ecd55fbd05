#pragma once

#include <QMap>
#include <QString>

namespace norvelle {

// String keys to string values; numbers travel as their decimal text.
using AnalyticsMetadata = QMap<QString, QString>;

// Where every part of the program records what happens. Recording never fails.
class AnalyticsTracking {
public:
    virtual ~AnalyticsTracking() = default;
    virtual void track(const QString& event, const AnalyticsMetadata& metadata = {}) = 0;
};

} // namespace norvelle
