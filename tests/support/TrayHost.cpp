#include "support/TrayHost.h"

#include "support/TestHome.h"

#include <QSystemTrayIcon>

namespace norvelle::test {

TrayHost::TrayHost()
{
    m_process.start(QStringLiteral("trayer"), {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120", "--height", "24"});
    m_running = m_process.waitForStarted(5000)
        && waitUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
}

TrayHost::~TrayHost()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

} // namespace norvelle::test
