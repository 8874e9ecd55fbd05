#include "platform/SystemLog.h"

#include <mutex>

#include <syslog.h>

namespace norvelle {

namespace {

std::mutex sinkMutex;
SystemLog::Sink& sink()
{
    static SystemLog::Sink instance;
    return instance;
}

int syslogPriority(SystemLog::Level level)
{
    switch (level) {
    case SystemLog::Level::Info: return LOG_INFO;
    case SystemLog::Level::Notice: return LOG_NOTICE;
    case SystemLog::Level::Error: return LOG_ERR;
    case SystemLog::Level::Fault: return LOG_CRIT;
    }
    return LOG_INFO;
}

void openSyslogOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { openlog("norvelle", LOG_PID, LOG_USER); });
}

} // namespace

SystemLog::SystemLog(QString category)
    : m_category(std::move(category))
{
}

void SystemLog::write(Level level, const QString& message) const
{
    {
        std::lock_guard lock(sinkMutex);
        if (sink()) {
            sink()(Line {level, m_category, message});
            return;
        }
    }
    openSyslogOnce();
    // The text alone: readers of the log match lines such as the analytics ones exactly.
    syslog(syslogPriority(level), "%s", message.toUtf8().constData());
}

void SystemLog::setSink(Sink newSink)
{
    std::lock_guard lock(sinkMutex);
    sink() = std::move(newSink);
}

} // namespace norvelle
