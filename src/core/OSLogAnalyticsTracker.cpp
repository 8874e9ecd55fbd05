#include "core/OSLogAnalyticsTracker.h"

#include "platform/StoredSettings.h"

#include <QStringList>

namespace norvelle {

namespace {

// Quoted, with backslash escapes for quotes, backslashes and control characters.
QString quoted(const QString& text)
{
    QString out = "\"";
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case 0: out += "\\0"; break;
        default:
            if (c.category() == QChar::Other_Control) {
                out += "\\u{" + QString::number(c.unicode(), 16).toUpper() + "}";
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

} // namespace

OSLogAnalyticsTracker::OSLogAnalyticsTracker()
    : m_logger("com.norvelle.app.analytics")
{
}

AnalyticsTracking& OSLogAnalyticsTracker::shared()
{
    static OSLogAnalyticsTracker instance;
    return instance;
}

QString OSLogAnalyticsTracker::metadataText(const AnalyticsMetadata& metadata)
{
    if (metadata.isEmpty()) {
        return "[:]";
    }
    QStringList entries;
    for (auto it = metadata.begin(); it != metadata.end(); ++it) {
        entries.append(quoted(it.key()) + ": " + quoted(it.value()));
    }
    return "[" + entries.join(", ") + "]";
}

void OSLogAnalyticsTracker::track(const QString& event, const AnalyticsMetadata& metadata)
{
    if (!storedSettings::telemetryEnabled.value()) {
        return;
    }
    m_logger.notice("event=" + event + " metadata=" + metadataText(metadata));
}

} // namespace norvelle
