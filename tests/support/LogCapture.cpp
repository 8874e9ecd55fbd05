#include "support/LogCapture.h"

namespace norvelle::test {

LogCapture::LogCapture()
{
    SystemLog::setSink([this](const SystemLog::Line& line) {
        std::lock_guard lock(m_mutex);
        m_lines.append(line);
    });
}

LogCapture::~LogCapture()
{
    SystemLog::setSink([](const SystemLog::Line&) {});
}

QStringList LogCapture::messages() const
{
    std::lock_guard lock(m_mutex);
    QStringList out;
    for (const auto& line : m_lines) {
        out.append(line.message);
    }
    return out;
}

QList<SystemLog::Line> LogCapture::lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

} // namespace norvelle::test
