#include "app/AppDelegate.h"

#include "clipboard/ClipboardStripView.h"
#include "platform/Popover.h"

namespace norvelle {

std::unique_ptr<QWidget> AppDelegate::makeClipboardStrip()
{
    const QPointer<AppDelegate> delegate(this);
    return std::make_unique<ClipboardStripView>(*m_clipboardMonitor, ClipboardStripView::Callbacks {
                                                                         .onCreateSticky = [delegate](const QString& text) {
            // The popover goes first: open, it would keep the keyboard the new note needs.
            if (delegate) {
                delegate->closeClipboardPopover();
                delegate->createNewSticky(text);
            } },
                                                                         .onPasteClip = [delegate](const ClipEntry& entry) {
            if (delegate) {
                delegate->pasteClip(entry);
            } },
                                                                         .onDismiss = [delegate] {
            if (delegate) {
                delegate->closeClipboardPopover();
            } },
                                                                         .onOpenMain = [delegate] {
            if (delegate) {
                delegate->openMainWindow();
            } },
                                                                     });
}

} // namespace norvelle
