#include "support/TestHome.h"

#include "platform/NotificationCenter.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace norvelle::test {

namespace {
QString currentHome;
}

void TestHomeListener::OnTestStart(const testing::TestInfo&)
{
    m_dir = std::make_unique<QTemporaryDir>();
    currentHome = m_dir->path();
    qputenv("NORVELLE_HOME", currentHome.toLocal8Bit());
    UserDefaults::resetStandard();
    NotificationCenter::resetDefault();
    SystemLog::setSink([](const SystemLog::Line&) {});
}

void TestHomeListener::OnTestEnd(const testing::TestInfo&)
{
    SystemLog::setSink({});
    NotificationCenter::resetDefault();
    UserDefaults::resetStandard();
    m_dir.reset();
    currentHome.clear();
}

QString TestHomeListener::home()
{
    return currentHome;
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

} // namespace norvelle::test
