#include "support/ProgramRun.h"

#include "support/TestHome.h"

#include <QProcess>

namespace norvelle::test {

QByteArray runProgram(const QString& program, const QStringList& arguments, const QByteArray& input, int timeoutMs)
{
    QProcess process;
    QByteArray output;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] { output += process.readAllStandardOutput(); });
    process.start(program, arguments);
    if (!process.waitForStarted(timeoutMs)) {
        return {};
    }
    process.write(input);
    process.closeWriteChannel();
    if (!waitUntil([&] { return process.state() == QProcess::NotRunning; }, timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return output + process.readAllStandardOutput();
}

} // namespace norvelle::test
