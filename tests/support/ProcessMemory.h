#pragma once

// The process's own memory, as the kernel counts it (benchmarks and tests that bound it).
#include <QFile>

#include <cstring>

namespace norvelle::test {

// A field of /proc/self/status in kilobytes ("VmRSS:" resident now, "VmHWM:" its peak).
inline long kilobytes(const char* field)
{
    QFile status("/proc/self/status");
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field)) {
            return line.mid(int(std::strlen(field))).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

// Starts the peak ("VmHWM:") again from the resident size now.
inline void resetPeak()
{
    QFile refs("/proc/self/clear_refs");
    if (refs.open(QIODevice::WriteOnly)) {
        refs.write("5");
    }
}

} // namespace norvelle::test
