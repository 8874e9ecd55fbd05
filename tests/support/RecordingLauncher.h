#pragma once

#include "platform/DesktopLauncher.h"

#include <QList>
#include <QPair>

namespace norvelle::test {

// Records what would have been handed to the desktop; `succeeds` is what each hand-off reports.
class RecordingLauncher final : public DesktopLauncher {
public:
    bool openUrl(const QUrl& url) override
    {
        opened << url;
        return succeeds;
    }
    bool startDetached(const QString& program, const QStringList& arguments) override
    {
        started << QPair(program, arguments);
        return succeeds;
    }

    bool succeeds = true;
    QList<QUrl> opened;
    QList<QPair<QString, QStringList>> started;
};

} // namespace norvelle::test
