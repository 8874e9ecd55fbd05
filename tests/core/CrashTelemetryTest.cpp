#include "core/CrashTelemetryService.h"
#include "platform/UserDefaults.h"
#include "support/LogCapture.h"
#include "support/QtPrinters.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <sys/prctl.h>

using namespace norvelle;

namespace {

const char* const lastCrashKey = "norvelle.lastCrashSignal";

// The death-test child runs the test body again from the start in a fresh process: it must
// crash into the home of the parent, which reads the record afterwards.
class SharedCrashHome {
public:
    SharedCrashHome()
    {
        if (!qEnvironmentVariableIsSet(variable)) {
            qputenv(variable, test::TestHomeListener::home().toLocal8Bit());
        }
        path = qEnvironmentVariable(variable);
    }
    ~SharedCrashHome() { qunsetenv(variable); }

    QString path;

private:
    static constexpr const char* variable = "NORVELLE_CRASH_TEST_HOME";
};

enum class Fault { segmentation,
    abort };

// Kept from UndefinedBehaviorSanitizer, which would end the child at the null store itself.
[[noreturn, gnu::no_sanitize("undefined")]] void launchAndCrash(const QString& home, Fault fault)
{
    qputenv("NORVELLE_HOME", home.toLocal8Bit());
    UserDefaults::resetStandard();
    prctl(PR_SET_DUMPABLE, 0); // no core file from the intended crash

    CrashTelemetryService::shared().reportPreviousRunCrash();
    CrashTelemetryService::shared().installSignalHandlers();
    if (fault == Fault::segmentation) {
        // Read at run time, so the compiler cannot turn the store into a trap instruction.
        volatile quintptr address = 0;
        *reinterpret_cast<volatile int*>(address) = 1;
    }
    std::abort();
}

// What the next launch records.
QStringList nextLaunch()
{
    UserDefaults::resetStandard();
    test::LogCapture log;
    CrashTelemetryService::shared().reportPreviousRunCrash();
    return log.messages();
}

// Under AddressSanitizer the child must die by the signal itself, through our handlers, not be
// caught and reported by the sanitizer's own.
class SanitizerSignalsLeftAlone {
public:
    SanitizerSignalsLeftAlone()
        : m_saved(qgetenv(variable))
    {
        const QByteArray own = "handle_segv=0:handle_abort=0:allow_user_segv_handler=1";
        qputenv(variable, m_saved.isEmpty() ? own : m_saved + ":" + own);
    }
    ~SanitizerSignalsLeftAlone()
    {
        if (m_saved.isEmpty()) {
            qunsetenv(variable);
        } else {
            qputenv(variable, m_saved);
        }
    }

private:
    static constexpr const char* variable = "ASAN_OPTIONS";
    QByteArray m_saved;
};

void crashChild(const QString& home, Fault fault, int expectedSignal)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SanitizerSignalsLeftAlone sanitizer;
    EXPECT_EXIT(launchAndCrash(home, fault), testing::KilledBySignal(expectedSignal), "");
}

} // namespace

TEST(CrashTelemetry, ARunEndedBySegmentationFaultIsReportedOnceAtTheNextLaunch)
{
    SharedCrashHome home;
    crashChild(home.path, Fault::segmentation, SIGSEGV);

    EXPECT_EQ(nextLaunch(),
        QStringList {R"(event=previous_run_crash_detected metadata=["signal": "SIGSEGV"])"});
    EXPECT_FALSE(QFile::exists(CrashTelemetryService::crashRecordPath()));
    EXPECT_TRUE(nextLaunch().isEmpty());
}

TEST(CrashTelemetry, ARunEndedByAbortIsReportedOnceAtTheNextLaunch)
{
    SharedCrashHome home;
    crashChild(home.path, Fault::abort, SIGABRT);

    EXPECT_EQ(nextLaunch(),
        QStringList {R"(event=previous_run_crash_detected metadata=["signal": "SIGABRT"])"});
    EXPECT_TRUE(nextLaunch().isEmpty());
}

TEST(CrashTelemetry, WithTelemetryOffTheRecordIsStillCleared)
{
    SharedCrashHome home;
    crashChild(home.path, Fault::segmentation, SIGSEGV);

    UserDefaults::standard().set("norvelle.telemetryEnabled", false);
    EXPECT_TRUE(nextLaunch().isEmpty());
    UserDefaults::standard().set("norvelle.telemetryEnabled", true);
    EXPECT_TRUE(nextLaunch().isEmpty());
}

TEST(CrashTelemetry, ANameStoredInTheSettingsIsReportedOnceAndRemoved)
{
    UserDefaults::standard().set(lastCrashKey, QString("SIGSEGV"));
    EXPECT_EQ(nextLaunch(),
        QStringList {R"(event=previous_run_crash_detected metadata=["signal": "SIGSEGV"])"});
    EXPECT_FALSE(UserDefaults::standard().contains(lastCrashKey));
    EXPECT_TRUE(nextLaunch().isEmpty());
}

TEST(CrashTelemetry, RecordAndSettingsTogetherGiveOneReport)
{
    SharedCrashHome home;
    crashChild(home.path, Fault::abort, SIGABRT);
    UserDefaults::standard().set(lastCrashKey, QString("SIGSEGV"));

    EXPECT_EQ(nextLaunch(),
        QStringList {R"(event=previous_run_crash_detected metadata=["signal": "SIGABRT"])"});
    EXPECT_FALSE(UserDefaults::standard().contains(lastCrashKey));
    EXPECT_TRUE(nextLaunch().isEmpty());
}

TEST(CrashTelemetry, AnUnreadableRecordIsDroppedWithoutAReport)
{
    QDir().mkpath(QFileInfo(CrashTelemetryService::crashRecordPath()).path());
    for (const QByteArray& bytes : {QByteArray("\xff\x00garbage", 9), QByteArray(), QByteArray(4096, 'S')}) {
        QFile file(CrashTelemetryService::crashRecordPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_TRUE(nextLaunch().isEmpty());
        EXPECT_FALSE(QFile::exists(CrashTelemetryService::crashRecordPath()));
    }
}

TEST(CrashTelemetry, NoStoredNameMeansNoReport)
{
    EXPECT_TRUE(nextLaunch().isEmpty());
    UserDefaults::standard().set(lastCrashKey, 11);
    EXPECT_TRUE(nextLaunch().isEmpty());
}
