#include "core/CrashTelemetryService.h"

#include "core/OSLogAnalyticsTracker.h"
#include "platform/AppPaths.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QFile>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace norvelle {

namespace {

std::atomic<int> crashRecordDescriptor {-1};

// Our own file, but read as untrusted: only a signal name is accepted.
std::optional<QString> readCrashRecord(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QString name = QString::fromLatin1(file.read(64)).trimmed();
    static const QRegularExpression signalName("^SIG[A-Z0-9]{1,12}$");
    if (!signalName.match(name).hasMatch()) {
        return std::nullopt;
    }
    return name;
}

template <int SignalNumber>
void onFatalSignal(int)
{
    recordCrashSignal(SignalNumber == SIGABRT ? "SIGABRT" : "SIGSEGV");
    // Re-raised with the default action once this handler returns (the signal is blocked while
    // it runs), so the process still ends, and dumps core, as the signal would have made it.
    ::signal(SignalNumber, SIG_DFL);
    ::raise(SignalNumber);
}

} // namespace

void recordCrashSignal(const char* signalName)
{
    const int fd = crashRecordDescriptor.load();
    if (fd < 0) {
        return;
    }
    const int savedErrno = errno;
    const size_t length = std::strlen(signalName);
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written = ::pwrite(fd, signalName, length, 0);
    }
    errno = savedErrno;
}

CrashTelemetryService::CrashTelemetryService(AnalyticsTracking& tracker)
    : tracker(tracker)
{
}

CrashTelemetryService& CrashTelemetryService::shared()
{
    static CrashTelemetryService instance(OSLogAnalyticsTracker::shared());
    return instance;
}

QString CrashTelemetryService::crashRecordPath()
{
    return AppPaths::configDirectory() + "/last-crash-signal";
}

void CrashTelemetryService::reportPreviousRunCrash()
{
    UserDefaults& defaults = UserDefaults::standard();
    const QString recordPath = crashRecordPath();
    std::optional<QString> signal = readCrashRecord(recordPath);
    if (!signal) {
        signal = defaults.string(storedSettings::lastCrashSignal.key);
    }
    QFile::remove(recordPath);
    if (!signal) {
        return;
    }
    tracker.track("previous_run_crash_detected", {{"signal", *signal}});
    defaults.remove(storedSettings::lastCrashSignal.key);
}

void CrashTelemetryService::installSignalHandlers()
{
    AppPaths::ensureDirectory(AppPaths::configDirectory());
    const QByteArray path = QFile::encodeName(crashRecordPath());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const int previous = crashRecordDescriptor.exchange(fd);
    if (previous >= 0) {
        ::close(previous);
    }
    ::signal(SIGABRT, onFatalSignal<SIGABRT>);
    ::signal(SIGSEGV, onFatalSignal<SIGSEGV>);
}

} // namespace norvelle
