#include "support/FileSizeLimit.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>

#include <sys/resource.h>

namespace norvelle::test {

void FileSizeLimit::set(qint64 bytes)
{
    // Unhandled, the signal would end the process instead of failing the write.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    limit.rlim_cur = rlim_t(bytes);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
}

void FileSizeLimit::lift()
{
    rlimit limit {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    limit.rlim_cur = limit.rlim_max;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
}

bool FileSizeLimit::runChildTest(const QString& name, const QProcessEnvironment& variables)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(variables);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
        {QStringLiteral("--gtest_also_run_disabled_tests"), QStringLiteral("--gtest_filter=") + name});
    const bool finished = child.waitForFinished(120000);
    const QByteArray output = child.readAll();
    std::fwrite(output.constData(), 1, size_t(output.size()), stdout);
    // A filter that matches nothing passes too: the one test has to have run.
    return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0
        && output.contains("[  PASSED  ] 1 test.");
}

} // namespace norvelle::test
