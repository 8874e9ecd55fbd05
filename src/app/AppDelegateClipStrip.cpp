#include "app/AppDelegate.h"

#include "clipboard/ClipboardMonitor.h"
#include "platform/Popover.h"

#include <QKeyEvent>
#include <QListWidget>

namespace norvelle {

namespace {

// A plain list of the history until the clip strip arrives: click or Return pastes the clip,
// Escape closes the popover.
class PlaceholderClipList : public QListWidget {
public:
    PlaceholderClipList(ClipboardMonitor& monitor, std::function<void(const ClipEntry&)> onPasteClip,
        std::function<void()> onDismiss)
        : m_monitor(monitor)
        , m_onPasteClip(std::move(onPasteClip))
        , m_onDismiss(std::move(onDismiss))
    {
        setObjectName("clipList");
        reload();
        connect(&monitor, &ClipboardMonitor::itemsChanged, this, &PlaceholderClipList::reload);
        connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { paste(row(item)); });
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape) {
            m_onDismiss();
            return;
        }
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            paste(currentRow());
            return;
        }
        QListWidget::keyPressEvent(event);
    }

private:
    void paste(int row)
    {
        if (row >= 0 && row < m_monitor.items().size()) {
            m_onPasteClip(m_monitor.items().at(row));
        }
    }

    void reload()
    {
        clear();
        for (const ClipEntry& entry : m_monitor.items()) {
            addItem(entry.displayTitle());
        }
        setCurrentRow(0);
    }

    ClipboardMonitor& m_monitor;
    std::function<void(const ClipEntry&)> m_onPasteClip;
    std::function<void()> m_onDismiss;
};

} // namespace

std::unique_ptr<QWidget> AppDelegate::makeClipboardStrip()
{
    const QPointer<AppDelegate> delegate(this);
    return std::make_unique<PlaceholderClipList>(
        *m_clipboardMonitor,
        [delegate](const ClipEntry& entry) {
            if (delegate) {
                delegate->pasteClip(entry);
            }
        },
        [delegate] {
            if (delegate && delegate->m_clipboardPopover) {
                delegate->m_clipboardPopover->performClose();
            }
        });
}

} // namespace norvelle
