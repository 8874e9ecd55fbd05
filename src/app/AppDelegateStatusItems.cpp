#include "app/AppDelegate.h"

#include "clipboard/ClipboardMonitor.h"
#include "platform/KeystrokeSynthesizer.h"
#include "platform/MainQueue.h"
#include "platform/Popover.h"
#include "platform/StatusItem.h"
#include "platform/Symbols.h"

#include <QMenu>

namespace norvelle {

namespace {

constexpr QSize popoverSize(320, 520);
// Lets the popover close and the target window take the keyboard before the keystroke.
constexpr double pasteDelay = 0.15;
constexpr double copyBackIgnoreWindow = 0.22;

} // namespace

void AppDelegate::installStatusItems()
{
    removeStatusItems();
    m_clipStatusItem = std::make_unique<StatusItem>(Symbols::icon("doc.on.clipboard"), QStringLiteral("Clipboard"),
        QStringLiteral("Clipboard history — click to open"));
    m_clipStatusItem->setContextMenu(m_trayMenu.get());
    connect(m_clipStatusItem.get(), &StatusItem::clicked, this, &AppDelegate::toggleClipboardStrip);

    m_stickyStatusItem = std::make_unique<StatusItem>(Symbols::icon("note.text"), QStringLiteral("New Sticky Note"),
        QStringLiteral("New sticky note — click to create near the pointer"));
    m_stickyStatusItem->setContextMenu(m_trayMenu.get());
    connect(m_stickyStatusItem.get(), &StatusItem::clicked, this, &AppDelegate::handleStickyStatusClick);
}

void AppDelegate::removeStatusItems()
{
    m_clipStatusItem.reset();
    m_stickyStatusItem.reset();
}

void AppDelegate::toggleClipboardStrip()
{
    if (!m_clipStatusItem) {
        return;
    }
    if (m_clipboardPopover && m_clipboardPopover->isShown()) {
        closeClipboardPopover();
        return;
    }
    rememberPasteTarget();
    // Built on first use, then kept: until then the resident program needs no fonts or widgets.
    if (!m_clipboardPopover) {
        m_clipboardPopover = std::make_unique<Popover>(popoverSize);
        m_clipboardPopover->setContentWidget(makeClipboardStrip().release());
    }
    m_clipboardPopover->showRelativeTo(m_clipStatusItem->geometry());
}

void AppDelegate::closeClipboardPopover()
{
    if (m_clipboardPopover) {
        m_clipboardPopover->performClose();
    }
}

void AppDelegate::handleStickyStatusClick()
{
    createNewSticky(QString());
}

// Our own windows count too: a clip picked over a note goes into that note, never into the
// program used before it.
void AppDelegate::rememberPasteTarget()
{
    if (std::optional<RunningApplication> frontmost = m_services.frontmostApplication()) {
        m_pasteTargetApp = std::move(frontmost);
    }
}

void AppDelegate::pasteClip(const ClipEntry& entry)
{
    m_clipboardMonitor->copyToPasteboard(entry, copyBackIgnoreWindow);
    closeClipboardPopover();
    if (m_pasteTargetApp) {
        m_services.activateApplication(*m_pasteTargetApp);
    }
    if (m_services.keystrokes->isTrusted()) {
        MainQueue::asyncAfter(
            pasteDelay, [this] { postCommandV(); }, this);
        return;
    }
    if (!m_didPromptAccessibilityPaste) {
        m_didPromptAccessibilityPaste = true;
        m_services.keystrokes->prompt();
    }
}

void AppDelegate::postCommandV()
{
    m_services.keystrokes->postPaste();
}

} // namespace norvelle
