#pragma once

#include "core/AnalyticsTracking.h"

#include <QString>

namespace norvelle {

// Remembers the fatal signal that ended a run and reports it at the next launch.
//
// A signal handler may only make async-signal-safe calls, so the handler does not touch the
// settings store: it writes the signal's name into a record file opened when the handlers are
// installed. The settings key is still read (and cleared) at launch for a name stored there.
class CrashTelemetryService {
public:
    explicit CrashTelemetryService(AnalyticsTracking& tracker);

    // Holds the shared analytics tracker.
    static CrashTelemetryService& shared();

    // Launch calls this first: records "previous_run_crash_detected" once for a stored signal
    // name and clears it, whether or not telemetry lets the event through.
    void reportPreviousRunCrash();

    // Then this: handlers for SIGABRT and SIGSEGV that record the name and let the signal end
    // the process as it would have without them. Replaces earlier handlers.
    void installSignalHandlers();

    // Where the handlers write the signal's name.
    static QString crashRecordPath();

    AnalyticsTracking& tracker;
};

// The body of the signal handlers: writes `signalName` (a NUL-terminated literal) to the record
// file. Async-signal-safe; does nothing before installSignalHandlers() has run.
void recordCrashSignal(const char* signalName);

} // namespace norvelle
