#include "platform/DesktopLauncher.h"

#include <QDesktopServices>
#include <QProcess>

namespace norvelle {

namespace {

class SystemDesktopLauncher final : public DesktopLauncher {
public:
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        return QProcess::startDetached(program, arguments);
    }
};

} // namespace

DesktopLauncher& DesktopLauncher::system()
{
    static SystemDesktopLauncher launcher;
    return launcher;
}

} // namespace norvelle
