#include "clipboard/ClearClipHistory.h"

#include "clipboard/ClipboardMonitor.h"
#include "platform/NotificationCenter.h"

namespace norvelle {

void clearClipHistory(ClipboardMonitor& monitor)
{
    monitor.setItems({});
    NotificationCenter::defaultCenter().post(ClipboardMonitor::historyChangedNotification);
}

} // namespace norvelle
