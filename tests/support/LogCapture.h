#pragma once

#include "platform/SystemLog.h"

#include <QStringList>

#include <mutex>

namespace norvelle::test {

// Collects what is written to the system log while it lives.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();

    QStringList messages() const;
    QList<SystemLog::Line> lines() const;

private:
    mutable std::mutex m_mutex;
    QList<SystemLog::Line> m_lines;
};

} // namespace norvelle::test
